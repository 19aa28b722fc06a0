// The texture store: registration, the colour keys, decoding, and the search for bitmap files on
// disk, whose files are untrusted.

#include "device/texture_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "../device/bitmap_bytes.h"
#include "../scratch_folder.h"
#include "device/device_results.h"
#include "world/texture_registry.h"
#include "world/world.h"

namespace {

std::vector<uint8_t> embedded;

bool FindEmbedded(const char* name, const uint8_t*& bytes, size_t& size)
{
    if (std::string(name) != "sign.bmp" && std::string(name) != "SIGN.BMP")
        return false;
    bytes = embedded.data();
    size = embedded.size();
    return true;
}

bool FindNothing(const char*, const uint8_t*&, size_t&)
{
    return false;
}

const std::vector<Rgb> KeyPalette = {{0, 0, 0}, {255, 255, 255}, {90, 60, 30}, {1, 0, 0}};

// Row 0: black, white, brown, almost black.
std::vector<uint8_t> KeyBitmap()
{
    return MakeBitmap8(4, 2, KeyPalette, [](int x, int y) { return y == 0 ? static_cast<uint32_t>(x) : 2u; });
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Runs a test in a scratch working directory, with D3DPATH unset unless the test sets it.
class BitmapFileSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = std::filesystem::current_path();
        std::filesystem::create_directory(here.path() / "work");
        std::filesystem::create_directory(here.path() / "media");
        std::filesystem::current_path(here.path() / "work");
        unsetenv("D3DPATH");
    }
    void TearDown() override
    {
        std::filesystem::current_path(previous);
        unsetenv("D3DPATH");
    }

    int32_t Add(const char* name, std::string& whyNot)
    {
        return AddTexture(store, name, 0, 0, {FindNothing, DecodeBitmapFile}, whyNot);
    }

    ScratchFolder here;
    std::filesystem::path previous;
    TextureStore store;
};

}  // namespace

TEST(TextureStore, RegistersANameOnceWhateverItsCase)
{
    embedded = KeyBitmap();
    TextureStore store;
    BitmapSource source{FindEmbedded, DecodeBitmapFile};
    std::string whyNot;
    ASSERT_EQ(AddTexture(store, "sign.bmp", 0, 2, source, whyNot), DeviceOk) << whyNot;
    ASSERT_EQ(AddTexture(store, "SIGN.BMP", 0, 2, source, whyNot), DeviceOk) << whyNot;
    EXPECT_EQ(store.entries.size(), 1u);
    EXPECT_EQ(FindTextureEntry(store, "Sign.Bmp"), 0);
    EXPECT_EQ(FindTextureEntry(store, "sign.bm"), -1);
    // No texture on a device yet, so nothing to draw with.
    EXPECT_EQ(TextureHandleOf(store, "sign.bmp"), NoTexture);

    EXPECT_EQ(AddTexture(store, "sign", 0, 2, source, whyNot), DeviceNotImplemented);
    EXPECT_EQ(store.entries.size(), 1u);
}

TEST(TextureStore, TheFlagsMakeExactlyWhiteOrBlackTransparent)
{
    struct Case {
        int32_t flags;
        int alpha[4];  // black, white, brown, almost black
        int hasTransparentTexels;
    };
    const Case cases[] = {
        {0, {255, 255, 255, 255}, 0},
        {1, {255, 0, 255, 255}, 1},
        {2, {0, 255, 255, 255}, 1},
        {3, {0, 255, 255, 255}, 1},  // black wins when both are given
        {4, {255, 255, 255, 255}, 0},
    };
    std::vector<uint8_t> bytes = KeyBitmap();
    for (const Case& c : cases) {
        TextureImage image;
        std::string reason;
        ASSERT_TRUE(DecodeBitmapFile(bytes.data(), bytes.size(), image, reason)) << reason;
        ApplyColourKey(image, c.flags);
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(image.rgba[x * 4 + 3], c.alpha[x]) << "flags " << c.flags << " texel " << x;
        EXPECT_EQ(image.rgba[4 * 4 + 3], 255) << "second row";
        EXPECT_EQ(image.hasTransparentTexels, c.hasTransparentTexels) << "flags " << c.flags;
    }
}

TEST(TextureStore, DecodedImagesStartWithTheTopRowInRedGreenBlue)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    auto colourAt = [](int x, int y) { return x == 0 && y == 0 ? 0xFF0000u : y == 2 ? 0x0000FFu : 0x00FF00u; };
    std::vector<Rgb> palette = {{255, 0, 0}, {0, 0, 255}, {0, 255, 0}};
    auto indexAt = [](int x, int y) { return x == 0 && y == 0 ? 0u : y == 2 ? 1u : 2u; };
    const Case cases[] = {
        {"24-bit", MakeBitmap24(5, 3, colourAt)},
        {"8-bit", MakeBitmap8(5, 3, palette, indexAt)},
        {"4-bit", MakeBitmapFile(5, 3, 4, palette, indexAt)},
    };
    for (const Case& c : cases) {
        TextureImage image;
        std::string reason;
        ASSERT_TRUE(DecodeBitmapFile(c.bytes.data(), c.bytes.size(), image, reason)) << c.what << ": " << reason;
        ASSERT_EQ(image.width, 5) << c.what;
        ASSERT_EQ(image.height, 3) << c.what;
        auto texel = [&](int x, int y) {
            const uint8_t* p = &image.rgba[(static_cast<size_t>(y) * 5 + x) * 4];
            return (p[0] << 16) | (p[1] << 8) | p[2];
        };
        EXPECT_EQ(texel(0, 0), 0xFF0000) << c.what;
        EXPECT_EQ(texel(1, 0), 0x00FF00) << c.what;
        EXPECT_EQ(texel(4, 2), 0x0000FF) << c.what;
    }
}

TEST(TextureStore, EveryRegisteredNameButTheMissingOneComesFromTheResources)
{
    auto world = std::make_unique<World>();
    WorldReset(*world);
    ASSERT_GT(world->textures.count, 20);
    TextureStore store;
    std::string whyNot;
    int failed = LoadRegisteredTextures(store, world->textures, {GameBitmapSource().findResource, DecodeBitmapFile},
                                        whyNot);
    // "c.bmp" is no resource; it is looked for on disk and is not there, which is no news.
    EXPECT_EQ(failed, 1) << whyNot;
    EXPECT_EQ(whyNot, "");
    EXPECT_EQ(store.entries.size(), static_cast<size_t>(world->textures.count - 1));
    for (const TextureEntry& entry : store.entries) {
        // The bitmaps with a transparent colour have some of it, for the alpha test to cut.
        bool keyed = (entry.flags & (TextureWhiteTransparent | TextureBlackTransparent)) != 0;
        EXPECT_EQ(entry.image.hasTransparentTexels, keyed ? 1 : 0) << entry.name;
        EXPECT_GT(entry.image.width, 0) << entry.name;
    }
}

// Grass, walls and windows tile across their faces; the cut-out boards end at their own edges.
TEST(TextureStore, OnlyTheCutOutPicturesDoNotRepeat)
{
    auto world = std::make_unique<World>();
    WorldReset(*world);
    const std::pair<const char*, bool> cases[] = {{"gras.bmp", true},   {"Y1_WINDOW.BMP", true}, {"TOWN_1.BMP", true},
                                                 {"tree1.bmp", false}, {"sign0013.bmp", false}, {"WHEEL.BMP", false}};
    for (auto [name, repeats] : cases) {
        int registration = FindTextureRegistration(world->textures, name);
        ASSERT_GE(registration, 0) << name;
        EXPECT_EQ(TextureRepeats(world->textures.entries[registration].flags), repeats) << name;
    }
}

TEST_F(BitmapFileSearch, TheWorkingDirectoryComesBeforeD3dPath)
{
    setenv("D3DPATH", (here.path() / "media").c_str(), 1);
    WriteFile(here.path() / "media" / "c.bmp", MakeBitmap24(2, 2, [](int, int) { return 0x0000FFu; }));
    std::string whyNot;
    ASSERT_EQ(Add("c.bmp", whyNot), DeviceOk) << whyNot;
    EXPECT_EQ(store.entries[0].image.rgba[2], 255) << "blue, from D3DPATH";

    WriteFile(here.path() / "work" / "d.bmp", MakeBitmap24(2, 2, [](int, int) { return 0xFF0000u; }));
    WriteFile(here.path() / "media" / "d.bmp", MakeBitmap24(2, 2, [](int, int) { return 0x0000FFu; }));
    ASSERT_EQ(Add("d.bmp", whyNot), DeviceOk) << whyNot;
    EXPECT_EQ(store.entries[1].image.rgba[0], 255) << "red, from the working directory";

    EXPECT_EQ(Add("e.bmp", whyNot), DeviceBitmapNotFound);
    EXPECT_EQ(store.entries.size(), 2u);
}

TEST_F(BitmapFileSearch, HostileFilesAreRefusedWithAReasonAndNothingIsRegistered)
{
    std::vector<uint8_t> good = MakeBitmap24(16, 16, [](int, int) { return 0x123456u; });
    WriteFile("truncated.bmp", std::vector<uint8_t>(good.begin(), good.begin() + 200));
    std::vector<uint8_t> giant = good;
    PutU32(giant, BmpWidthField, 1000000);
    WriteFile("giant.bmp", giant);
    WriteFile("noise.bmp", std::vector<uint8_t>(3000, 0xA5));
    WriteFile("empty.bmp", {});
    std::filesystem::create_directory("folder.bmp");
    ASSERT_EQ(mkfifo("pipe.bmp", 0600), 0);
    // A file far larger than any bitmap; it is refused before it is read.
    {
        std::ofstream huge("huge.bmp", std::ios::binary);
        huge.write(reinterpret_cast<const char*>(good.data()), static_cast<std::streamsize>(good.size()));
    }
    std::filesystem::resize_file("huge.bmp", 200u << 20);
    WriteFile("picture.png", good);

    struct Case {
        const char* name;
        int32_t expected;
        const char* because;
    };
    const Case cases[] = {
        {"truncated.bmp", DeviceFailed, "truncated"},
        {"giant.bmp", DeviceFailed, "4096"},
        {"noise.bmp", DeviceFailed, "BM"},
        {"empty.bmp", DeviceFailed, "short"},
        {"folder.bmp", DeviceFailed, "regular file"},
        {"pipe.bmp", DeviceFailed, "regular file"},
        {"huge.bmp", DeviceFailed, "too large"},
        {"picture.png", DeviceNotImplemented, ".bmp"},
    };
    auto start = std::chrono::steady_clock::now();
    for (const Case& c : cases) {
        std::string whyNot;
        EXPECT_EQ(Add(c.name, whyNot), c.expected) << c.name;
        EXPECT_NE(whyNot.find(c.because), std::string::npos) << c.name << ": " << whyNot;
        EXPECT_EQ(whyNot.find('\n'), std::string::npos) << "one line: " << whyNot;
    }
    EXPECT_TRUE(store.entries.empty());
    // Nothing waited on the pipe or read the huge file through.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(BitmapFileSearch, AFileFoundAndRefusedIsReportedInOneLine)
{
    std::vector<uint8_t> good = MakeBitmap24(16, 16, [](int, int) { return 0x123456u; });
    WriteFile("c.bmp", std::vector<uint8_t>(good.begin(), good.begin() + 200));
    auto world = std::make_unique<World>();
    WorldReset(*world);
    TextureStore loaded;
    std::string whyNot;
    int failed = LoadRegisteredTextures(loaded, world->textures, {GameBitmapSource().findResource, DecodeBitmapFile},
                                        whyNot);
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(whyNot.rfind("tagvind: texture c.bmp: ", 0), 0u) << whyNot;
    EXPECT_EQ(std::count(whyNot.begin(), whyNot.end(), '\n'), 1) << whyNot;
}
