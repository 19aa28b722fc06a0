#pragma once
// The texture store: the named bitmaps of the scene, loaded once for the whole process and turned
// into textures each time a render device opens. A bitmap comes from the program's embedded
// resources or, failing that, from a file on disk: the bare name in the working directory, then
// the folder named by D3DPATH. Files are untrusted and checked before they are decoded.
//
// The flags of a name say which colour is transparent (1 white, 2 black); such texels get alpha 0
// and the device's alpha test discards them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "device/draw_device.h"

// An image as the device uploads it: rows from the top, four bytes a pixel (red, green, blue,
// alpha).
struct TextureImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;
    int32_t hasTransparentTexels = 0;  // some texel has alpha 0, so draws with it need the alpha test
};

struct TextureEntry {
    char name[80];
    int32_t stage;
    int32_t flags;       // TextureFlags of world/texture_registry.h
    TextureImage image;  // kept for the whole process
    uint32_t deviceTexture;  // the texture of the open device, 0 while none
};

struct TextureStore {
    std::vector<TextureEntry> entries;  // registration order
};

// The embedded bitmap of that name (any case), or false. Bound to FindBitmapResource in the game.
using BitmapResourceLookup = bool (*)(const char* name, const uint8_t*& bytes, size_t& size);

// Turns the bytes of a bitmap file into an image; false with a reason when it cannot. The game's
// decoder is DecodeBitmapFile (SDL2's reader behind CheckBitmapFile).
using BitmapDecoder = bool (*)(const uint8_t* bytes, size_t size, TextureImage& image, std::string& reason);

struct BitmapSource {
    BitmapResourceLookup findResource;
    BitmapDecoder decode;
};

// Registers and loads a bitmap. A name already registered succeeds without loading again. A
// bitmap that cannot be found or decoded leaves the name unregistered and returns a failure
// (DeviceNotImplemented without ".bmp", DeviceBitmapNotFound when nothing is found, DeviceFailed
// when it cannot be read); why goes to whyNot.
int32_t AddTexture(TextureStore& store, const char* name, int32_t stage, int32_t flags, const BitmapSource& source,
                   std::string& whyNot);

// The entry registered under the name (any case), or -1.
int FindTextureEntry(const TextureStore& store, const char* name);

// The handle the scene draws with: the entry's index + 1 while it has a texture on the open
// device, else NoTexture.
TextureHandle TextureHandleOf(const TextureStore& store, const char* name);

// Makes texels of the transparent colour (white for flag 1, black for flag 2; black when both
// are set) fully transparent and every other texel opaque.
void ApplyColourKey(TextureImage& image, int32_t flags);

// Whether a texture repeats where a face's texture coordinates run past 0..1. The colour-keyed
// pictures (the signs, the tree, the wheel) are cut-outs that each cover their board once; they
// end at their own edges, since repeated under linear filtering the top row of a board would
// take in its bottom row (the trunk's foot as a dash over the tree). Every other picture tiles.
bool TextureRepeats(int32_t flags);

// The files tried for a bitmap that is not a resource, in order: the bare name, then
// $D3DPATH/name when D3DPATH is set and not empty.
std::vector<std::string> BitmapFileCandidates(const char* name);

// Reads a bitmap file without trusting it: only a regular file, no larger than a bitmap can be,
// opened so that a named pipe or device cannot block. False with the reason otherwise.
bool ReadBitmapFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason);

// platform/sdl_bitmap_decode.cpp: checks the bytes with CheckBitmapFile, then decodes them with SDL2.
bool DecodeBitmapFile(const uint8_t* bytes, size_t size, TextureImage& image, std::string& reason);

struct TextureRegistry;

// The game's bitmaps: the embedded resources, and files on disk, decoded with SDL2.
BitmapSource GameBitmapSource();

// Loads every registered name the store does not hold yet. A name that cannot be loaded stays
// out of the store; where a file of that name was found but refused, one line saying why goes
// to whyNotLines. Returns the number of names that failed, found or not.
int LoadRegisteredTextures(TextureStore& store, const TextureRegistry& registry, const BitmapSource& source,
                           std::string& whyNotLines);
