#include "device/bmp_check.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "bitmap_bytes.h"

namespace {

std::vector<uint8_t> GoodPalettised()
{
    return MakeBitmap8(5, 3, {{0, 0, 0}, {255, 255, 255}, {10, 200, 30}},
                       [](int x, int y) { return static_cast<uint32_t>((x + y) % 3); });
}

bool Accepts(const std::vector<uint8_t>& bytes)
{
    BitmapHeader header;
    const char* reason = nullptr;
    return CheckBitmapFile(bytes.data(), bytes.size(), header, reason);
}

}  // namespace

TEST(BitmapCheck, AcceptsTheKindsTheGameUsesAndReadsTheirHeader)
{
    BitmapHeader header;
    const char* reason = nullptr;
    std::vector<uint8_t> palettised = GoodPalettised();
    ASSERT_TRUE(CheckBitmapFile(palettised.data(), palettised.size(), header, reason)) << reason;
    EXPECT_EQ(header.width, 5);
    EXPECT_EQ(header.height, 3);
    EXPECT_EQ(header.bitsPerPixel, 8);
    EXPECT_EQ(header.paletteEntries, 3u);
    EXPECT_EQ(header.rowBytes, 8u);
    EXPECT_EQ(header.topDown, 0);

    std::vector<uint8_t> trueColour = MakeBitmap24(3, 2, [](int, int) { return 0x336699u; });
    ASSERT_TRUE(CheckBitmapFile(trueColour.data(), trueColour.size(), header, reason)) << reason;
    EXPECT_EQ(header.rowBytes, 12u);

    std::vector<uint8_t> fourBit =
        MakeBitmapFile(7, 2, 4, std::vector<Rgb>(16, Rgb{1, 2, 3}), [](int x, int) { return x % 16u; });
    EXPECT_TRUE(Accepts(fourBit));

    // Rows stored from the top are marked by a negative height.
    std::vector<uint8_t> topDown = trueColour;
    PutU32(topDown, BmpHeightField, static_cast<uint32_t>(-2));
    ASSERT_TRUE(CheckBitmapFile(topDown.data(), topDown.size(), header, reason)) << reason;
    EXPECT_EQ(header.height, 2);
    EXPECT_EQ(header.topDown, 1);
}

TEST(BitmapCheck, RefusesSpoiledHeadersWithAReason)
{
    struct Spoil {
        const char* what;
        size_t field;
        uint32_t value;
        bool wide;
    };
    const Spoil spoils[] = {
        {"zero width", BmpWidthField, 0, true},
        {"negative width", BmpWidthField, static_cast<uint32_t>(-5), true},
        {"width over 4096", BmpWidthField, 4097, true},
        {"huge width", BmpWidthField, 0x7FFFFFFFu, true},
        {"zero height", BmpHeightField, 0, true},
        {"height over 4096", BmpHeightField, 70000, true},
        {"most negative height", BmpHeightField, static_cast<uint32_t>(INT_MIN), true},
        {"two planes", BmpPlanesField, 2, false},
        {"7 bits per pixel", BmpBitsField, 7, false},
        {"0 bits per pixel", BmpBitsField, 0, false},
        {"run-length compression", BmpCompressionField, 1, true},
        {"bit fields on 8 bits", BmpCompressionField, 3, true},
        {"JPEG inside", BmpCompressionField, 4, true},
        {"more colours than 8 bits hold", BmpColoursUsedField, 257, true},
        {"unknown header size", BmpInfoSizeField, 41, true},
        {"header larger than the file", BmpInfoSizeField, 124, true},
        {"pixels inside the header", BmpPixelOffsetField, 20, true},
        {"pixels inside the palette", BmpPixelOffsetField, 60, true},
        {"pixels past the end", BmpPixelOffsetField, 0xFFFFFFF0u, true},
    };
    for (const Spoil& spoil : spoils) {
        std::vector<uint8_t> bytes = GoodPalettised();
        if (spoil.wide)
            PutU32(bytes, spoil.field, spoil.value);
        else
            PutU16(bytes, spoil.field, spoil.value);
        BitmapHeader header;
        const char* reason = nullptr;
        EXPECT_FALSE(CheckBitmapFile(bytes.data(), bytes.size(), header, reason)) << spoil.what;
        EXPECT_TRUE(reason != nullptr && reason[0] != '\0') << spoil.what;
    }
}

TEST(BitmapCheck, RefusesFilesThatDoNotHoldWhatTheHeaderPromises)
{
    std::vector<uint8_t> good = GoodPalettised();

    // Cut anywhere: every shorter file is refused.
    for (size_t length = 0; length < good.size(); ++length)
        EXPECT_FALSE(Accepts(std::vector<uint8_t>(good.begin(), good.begin() + length))) << length << " bytes";

    std::vector<uint8_t> notBitmap = good;
    notBitmap[0] = 'P';
    EXPECT_FALSE(Accepts(notBitmap));

    // A palette of three colours with a pixel that names the fourth.
    std::vector<uint8_t> pastPalette = good;
    pastPalette[pastPalette.size() - 8] = 3;
    EXPECT_FALSE(Accepts(pastPalette));

    // Bit fields are for 16 and 32 bits; their masks must be in the file.
    std::vector<uint8_t> fields = MakeBitmapFile(2, 2, 32, {}, [](int, int) { return 0u; });
    PutU32(fields, BmpCompressionField, 3);
    EXPECT_FALSE(Accepts(fields)) << "masks would overlap the pixels";

    EXPECT_FALSE(Accepts({}));
    BitmapHeader header;
    const char* reason = nullptr;
    EXPECT_FALSE(CheckBitmapFile(nullptr, 100, header, reason));
}
