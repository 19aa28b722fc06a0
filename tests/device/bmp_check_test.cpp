#include "device/bmp_check.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "bitmap_bytes.h"

namespace {

std::vector<uint8_t> GoodPalettised()
{
    return MakeBitmap8(5, 3, {{0, 0, 0}, {255, 255, 255}, {10, 200, 30}}, [](int x, int y) { return (x + y) % 3u; });
}

bool Accepts(const std::vector<uint8_t>& bytes, BitmapHeader* headerOut = nullptr)
{
    BitmapHeader header;
    const char* reason = nullptr;
    bool accepted = CheckBitmapFile(bytes.data(), bytes.size(), header, reason);
    EXPECT_TRUE(accepted || (reason != nullptr && reason[0] != '\0')) << "a refusal says why";
    if (headerOut)
        *headerOut = header;
    return accepted;
}

}  // namespace

TEST(BitmapCheck, AcceptsTheKindsTheGameUsesAndReadsTheirHeader)
{
    BitmapHeader h;
    ASSERT_TRUE(Accepts(GoodPalettised(), &h));
    EXPECT_EQ(std::make_tuple(h.width, h.height, h.bitsPerPixel, h.paletteEntries, h.rowBytes, h.topDown),
              std::make_tuple(5, 3, 8, 3u, 8u, 0));
    std::vector<uint8_t> trueColour = MakeBitmap24(3, 2, [](int, int) { return 0x336699u; });
    ASSERT_TRUE(Accepts(trueColour, &h));
    EXPECT_EQ(h.rowBytes, 12u);
    EXPECT_TRUE(Accepts(MakeBitmapFile(7, 2, 4, std::vector<Rgb>(16, Rgb{1, 2, 3}), [](int x, int) { return x % 16u; })));
    // Rows stored from the top are marked by a negative height.
    PutU32(trueColour, BmpHeightField, static_cast<uint32_t>(-2));
    ASSERT_TRUE(Accepts(trueColour, &h));
    EXPECT_EQ(std::make_pair(h.height, h.topDown), std::make_pair(2, 1));
}

TEST(BitmapCheck, RefusesSpoiledHeadersAndFilesThatDoNotHoldWhatTheyPromise)
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
        {"not a bitmap", 0, 'P', false},
        // A palette of three colours with a pixel that names the fourth.
        {"pixel past the palette", 70, 3, false},
    };
    for (const Spoil& spoil : spoils) {
        std::vector<uint8_t> bytes = GoodPalettised();
        (spoil.wide ? PutU32 : PutU16)(bytes, spoil.field, spoil.value);
        EXPECT_FALSE(Accepts(bytes)) << spoil.what;
    }
    // Cut anywhere: every shorter file is refused.
    std::vector<uint8_t> good = GoodPalettised();
    for (size_t length = 0; length < good.size(); ++length)
        EXPECT_FALSE(Accepts(std::vector<uint8_t>(good.begin(), good.begin() + length))) << length << " bytes";
    // Bit fields are for 16 and 32 bits; their masks must be in the file.
    std::vector<uint8_t> fields = MakeBitmapFile(2, 2, 32, {}, [](int, int) { return 0u; });
    PutU32(fields, BmpCompressionField, 3);
    EXPECT_FALSE(Accepts(fields)) << "masks would overlap the pixels";
    BitmapHeader header;
    const char* reason = nullptr;
    EXPECT_FALSE(CheckBitmapFile(nullptr, 100, header, reason));
}
