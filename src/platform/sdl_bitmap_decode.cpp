// Decodes the bytes of a bitmap file with SDL2's reader, after CheckBitmapFile has refused
// anything the reader should not be trusted with.

#include <SDL.h>

#include <cstring>

#include "device/bitmap_resources.h"
#include "device/bmp_check.h"
#include "device/texture_store.h"

bool DecodeBitmapFile(const uint8_t* bytes, size_t size, TextureImage& image, std::string& reason)
{
    image = TextureImage{};
    BitmapHeader header;
    const char* refusal = "";
    if (!CheckBitmapFile(bytes, size, header, refusal)) {
        reason = refusal;
        return false;
    }
    SDL_RWops* stream = SDL_RWFromConstMem(bytes, static_cast<int>(size));
    if (stream == nullptr) {
        reason = SDL_GetError();
        return false;
    }
    SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1);
    if (loaded == nullptr) {
        reason = std::string("bitmap reader: ") + SDL_GetError();
        return false;
    }
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (converted == nullptr) {
        reason = std::string("bitmap conversion: ") + SDL_GetError();
        return false;
    }
    // The reader must agree with the header that was checked; anything else is not trusted.
    if (converted->w != header.width || converted->h != header.height) {
        SDL_FreeSurface(converted);
        reason = "bitmap reader disagrees with the header about the size";
        return false;
    }
    image.width = converted->w;
    image.height = converted->h;
    size_t rowBytes = static_cast<size_t>(image.width) * 4;
    image.rgba.resize(rowBytes * static_cast<size_t>(image.height));
    bool locked = SDL_MUSTLOCK(converted) ? SDL_LockSurface(converted) == 0 : true;
    if (!locked) {
        SDL_FreeSurface(converted);
        reason = "bitmap surface cannot be read";
        return false;
    }
    const uint8_t* pixels = static_cast<const uint8_t*>(converted->pixels);
    for (int32_t row = 0; row < image.height; ++row)
        std::memcpy(&image.rgba[row * rowBytes], pixels + static_cast<size_t>(row) * converted->pitch, rowBytes);
    if (SDL_MUSTLOCK(converted))
        SDL_UnlockSurface(converted);
    SDL_FreeSurface(converted);
    return true;
}

namespace {

bool FindEmbeddedBitmap(const char* name, const uint8_t*& bytes, size_t& size)
{
    const BitmapResource* resource = FindBitmapResource(name);
    if (resource == nullptr)
        return false;
    bytes = resource->bytes;
    size = resource->size;
    return true;
}

}  // namespace

BitmapSource GameBitmapSource()
{
    return {FindEmbeddedBitmap, DecodeBitmapFile};
}
