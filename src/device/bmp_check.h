#pragma once
// Checks a Windows bitmap file before any decoder sees it. Bitmaps found on disk are untrusted:
// a truncated, oversized or hostile file must be refused with a reason, never crash or hang the
// game. Only what the game's own bitmaps use is accepted: uncompressed (or bit-field) pixels of
// 1, 4, 8, 16, 24 or 32 bits, at most 4096 pixels a side, every byte the header promises present,
// and palette indices inside the palette.

#include <cstddef>
#include <cstdint>

constexpr int32_t BitmapMaxSide = 4096;
// The largest file that can hold a bitmap of the largest size with every header there is.
constexpr size_t BitmapMaxFileBytes = 14 + 124 + 12 + 256 * 4 + static_cast<size_t>(BitmapMaxSide) * BitmapMaxSide * 4;

struct BitmapHeader {
    int32_t width;
    int32_t height;        // always positive; topDown says which way the rows run
    int32_t topDown;
    int32_t bitsPerPixel;
    uint32_t compression;  // 0 plain, 3 bit fields
    uint32_t infoSize;     // 12 for the old core header, 40 and up for the others
    uint32_t pixelOffset;
    uint32_t paletteEntries;
    uint32_t rowBytes;     // one row of pixels with its padding to 4 bytes
};

// True when bytes hold a bitmap that is safe to decode; otherwise false, and reason says why in a
// few words (a static text).
bool CheckBitmapFile(const uint8_t* bytes, size_t size, BitmapHeader& header, const char*& reason);
