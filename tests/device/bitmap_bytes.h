#pragma once
// Writes Windows bitmap files in memory for the loader tests: plain 24-bit and palettised 8-bit
// pictures, bottom-up as most writers store them, and a way to spoil any header field.

#include <cstdint>
#include <functional>
#include <vector>

struct Rgb {
    uint8_t red, green, blue;
};

inline void PutU16(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

inline void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Offsets of the header fields the tests spoil.
constexpr size_t BmpPixelOffsetField = 10;
constexpr size_t BmpInfoSizeField = 14;
constexpr size_t BmpWidthField = 18;
constexpr size_t BmpHeightField = 22;
constexpr size_t BmpPlanesField = 26;
constexpr size_t BmpBitsField = 28;
constexpr size_t BmpCompressionField = 30;
constexpr size_t BmpColoursUsedField = 46;

inline std::vector<uint8_t> MakeBitmapFile(int32_t width, int32_t height, int bits, const std::vector<Rgb>& palette,
                                           const std::function<uint32_t(int x, int y)>& pixelAt)
{
    size_t paletteBytes = palette.size() * 4;
    size_t rowBytes = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    size_t pixelOffset = 14 + 40 + paletteBytes;
    std::vector<uint8_t> bytes(pixelOffset + rowBytes * height, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutU32(bytes, 2, static_cast<uint32_t>(bytes.size()));
    PutU32(bytes, BmpPixelOffsetField, static_cast<uint32_t>(pixelOffset));
    PutU32(bytes, BmpInfoSizeField, 40);
    PutU32(bytes, BmpWidthField, static_cast<uint32_t>(width));
    PutU32(bytes, BmpHeightField, static_cast<uint32_t>(height));
    PutU16(bytes, BmpPlanesField, 1);
    PutU16(bytes, BmpBitsField, static_cast<uint32_t>(bits));
    PutU32(bytes, BmpColoursUsedField, static_cast<uint32_t>(palette.size()));
    for (size_t i = 0; i < palette.size(); ++i) {
        bytes[54 + i * 4] = palette[i].blue;
        bytes[54 + i * 4 + 1] = palette[i].green;
        bytes[54 + i * 4 + 2] = palette[i].red;
    }
    // Rows are stored from the bottom of the picture up.
    for (int y = 0; y < height; ++y) {
        uint8_t* row = &bytes[pixelOffset + rowBytes * static_cast<size_t>(height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            uint32_t value = pixelAt(x, y);
            if (bits == 24) {
                row[x * 3] = static_cast<uint8_t>(value);              // blue
                row[x * 3 + 1] = static_cast<uint8_t>(value >> 8);     // green
                row[x * 3 + 2] = static_cast<uint8_t>(value >> 16);    // red
            } else if (bits == 8) {
                row[x] = static_cast<uint8_t>(value);
            } else if (bits == 4) {
                row[x / 2] |= static_cast<uint8_t>((value & 15u) << (x % 2 == 0 ? 4 : 0));
            }
        }
    }
    return bytes;
}

// 24-bit picture; the function gives 0xRRGGBB.
inline std::vector<uint8_t> MakeBitmap24(int32_t width, int32_t height,
                                         const std::function<uint32_t(int x, int y)>& colourAt)
{
    return MakeBitmapFile(width, height, 24, {}, colourAt);
}

// 8-bit picture over a palette; the function gives the palette index.
inline std::vector<uint8_t> MakeBitmap8(int32_t width, int32_t height, const std::vector<Rgb>& palette,
                                        const std::function<uint32_t(int x, int y)>& indexAt)
{
    return MakeBitmapFile(width, height, 8, palette, indexAt);
}
