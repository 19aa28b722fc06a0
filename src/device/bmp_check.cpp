#include "device/bmp_check.h"

namespace {

constexpr size_t FileHeaderBytes = 14;
constexpr uint32_t CompressionPlain = 0;
constexpr uint32_t CompressionBitFields = 3;

uint32_t ReadU16(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

bool IsKnownInfoSize(uint32_t infoSize)
{
    return infoSize == 12 || infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 ||
           infoSize == 124;
}

bool IsKnownDepth(uint32_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// A palette index past the end of the palette would make a decoder read beyond it.
bool PaletteIndicesFit(const uint8_t* pixels, const BitmapHeader& header)
{
    if (header.bitsPerPixel > 8 || header.paletteEntries >= (1u << header.bitsPerPixel))
        return true;
    uint32_t bits = static_cast<uint32_t>(header.bitsPerPixel);
    uint32_t mask = (1u << bits) - 1u;
    for (int32_t row = 0; row < header.height; ++row) {
        const uint8_t* line = pixels + static_cast<size_t>(row) * header.rowBytes;
        for (int32_t column = 0; column < header.width; ++column) {
            uint32_t bitOffset = static_cast<uint32_t>(column) * bits;
            uint32_t byte = line[bitOffset / 8];
            uint32_t index = (byte >> (8 - bits - bitOffset % 8)) & mask;
            if (index >= header.paletteEntries)
                return false;
        }
    }
    return true;
}

}  // namespace

bool CheckBitmapFile(const uint8_t* bytes, size_t size, BitmapHeader& header, const char*& reason)
{
    header = {};
    if (bytes == nullptr || size < FileHeaderBytes + 12) {
        reason = "too short for a bitmap header";
        return false;
    }
    if (bytes[0] != 'B' || bytes[1] != 'M') {
        reason = "not a bitmap (no BM signature)";
        return false;
    }
    if (size > BitmapMaxFileBytes) {
        reason = "file too large for a texture";
        return false;
    }
    header.pixelOffset = ReadU32(bytes + 10);
    header.infoSize = ReadU32(bytes + 14);
    if (!IsKnownInfoSize(header.infoSize)) {
        reason = "unknown bitmap header size";
        return false;
    }
    if (FileHeaderBytes + header.infoSize > size) {
        reason = "truncated bitmap header";
        return false;
    }

    const uint8_t* info = bytes + FileHeaderBytes;
    int64_t width = 0;
    int64_t height = 0;
    uint32_t planes = 0;
    uint32_t coloursUsed = 0;
    size_t paletteEntryBytes = 4;
    if (header.infoSize == 12) {
        width = ReadU16(info + 4);
        height = ReadU16(info + 6);
        planes = ReadU16(info + 8);
        header.bitsPerPixel = static_cast<int32_t>(ReadU16(info + 10));
        header.compression = CompressionPlain;
        paletteEntryBytes = 3;
    } else {
        width = static_cast<int32_t>(ReadU32(info + 4));
        height = static_cast<int32_t>(ReadU32(info + 8));
        planes = ReadU16(info + 12);
        header.bitsPerPixel = static_cast<int32_t>(ReadU16(info + 14));
        header.compression = ReadU32(info + 16);
        coloursUsed = ReadU32(info + 32);
    }
    if (height < 0) {
        header.topDown = 1;
        height = -height;
    }
    if (width < 1 || height < 1 || width > BitmapMaxSide || height > BitmapMaxSide) {
        reason = "bitmap size outside 1 to 4096 pixels a side";
        return false;
    }
    header.width = static_cast<int32_t>(width);
    header.height = static_cast<int32_t>(height);
    if (planes != 1) {
        reason = "bitmap with more than one plane";
        return false;
    }
    if (!IsKnownDepth(static_cast<uint32_t>(header.bitsPerPixel))) {
        reason = "unsupported bits per pixel";
        return false;
    }
    bool bitFields = header.compression == CompressionBitFields;
    if (header.compression != CompressionPlain &&
        !(bitFields && (header.bitsPerPixel == 16 || header.bitsPerPixel == 32))) {
        reason = "compressed bitmaps are not supported";
        return false;
    }

    // The colour masks of a bit-field bitmap follow a 40-byte header; longer headers hold them.
    size_t tablesStart = FileHeaderBytes + header.infoSize;
    if (bitFields && header.infoSize == 40)
        tablesStart += 12;
    if (header.bitsPerPixel <= 8) {
        uint32_t fullPalette = 1u << header.bitsPerPixel;
        if (coloursUsed > fullPalette) {
            reason = "palette larger than the bit depth allows";
            return false;
        }
        header.paletteEntries = coloursUsed == 0 ? fullPalette : coloursUsed;
    }
    size_t tablesEnd = tablesStart + header.paletteEntries * paletteEntryBytes;
    if (tablesEnd > size || header.pixelOffset < tablesEnd) {
        reason = "palette or colour masks overlap the pixels or the end of the file";
        return false;
    }

    uint64_t rowBits = static_cast<uint64_t>(header.width) * static_cast<uint64_t>(header.bitsPerPixel);
    header.rowBytes = static_cast<uint32_t>((rowBits + 31) / 32 * 4);
    uint64_t pixelBytes = static_cast<uint64_t>(header.rowBytes) * static_cast<uint64_t>(header.height);
    if (header.pixelOffset > size || pixelBytes > size - header.pixelOffset) {
        reason = "truncated pixel data";
        return false;
    }
    if (!PaletteIndicesFit(bytes + header.pixelOffset, header)) {
        reason = "pixel refers to a colour beyond the palette";
        return false;
    }
    reason = "";
    return true;
}
