#pragma once
// The bitmaps built into the program: the textures of the world and the window icon. They are
// painted by tools/paint_bitmaps.cpp into resources/ and compiled in as byte arrays, so the
// game never reads a bitmap file. Each is a whole BMP file, headers included.

#include <cstddef>
#include <span>

struct BitmapResource {
    const char* name;  // the file name in resources/, upper case, e.g. "GRAS.BMP"
    const unsigned char* bytes;
    size_t size;
};

// The resource with that name, compared without regard to case ("gras.bmp" finds
// "GRAS.BMP"), or nullptr when the program has no such bitmap.
const BitmapResource* FindBitmapResource(const char* name);

// Every bitmap the program holds, in order of name.
std::span<const BitmapResource> ListBitmapResources();
