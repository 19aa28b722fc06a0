// The texture store: the colour keys, and the bitmap files found on disk, which are untrusted.

#include "device/texture_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "../device/bitmap_bytes.h"
#include "../scratch_folder.h"
#include "device/device_results.h"

namespace {

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

TEST(TextureStore, TheFlagsMakeExactlyWhiteOrBlackTransparent)
{
    struct Case {
        int32_t flags;
        int alpha[4];  // black, white, brown, almost black
        int hasTransparentTexels;
    };
    // Black wins when both are given.
    const Case cases[] = {{0, {255, 255, 255, 255}, 0}, {1, {255, 0, 255, 255}, 1}, {2, {0, 255, 255, 255}, 1},
                          {3, {0, 255, 255, 255}, 1}, {4, {255, 255, 255, 255}, 0}};
    // Row 0: black, white, brown, almost black.
    std::vector<uint8_t> bytes = MakeBitmap8(4, 2, {{0, 0, 0}, {255, 255, 255}, {90, 60, 30}, {1, 0, 0}},
                                             [](int x, int y) { return y == 0 ? static_cast<uint32_t>(x) : 2u; });
    for (const Case& c : cases) {
        TextureImage image;
        std::string reason;
        ASSERT_TRUE(DecodeBitmapFile(bytes.data(), bytes.size(), image, reason)) << reason;
        ApplyColourKey(image, c.flags);
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(image.rgba[x * 4 + 3], c.alpha[x]) << "flags " << c.flags << " texel " << x;
        EXPECT_EQ(image.hasTransparentTexels, c.hasTransparentTexels) << "flags " << c.flags;
    }
}

TEST(TextureStore, HostileFilesAreRefusedWithAReasonAndNothingIsRegistered)
{
    // In a scratch working directory, where the search looks first.
    ScratchFolder here;
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(here.path());
    unsetenv("D3DPATH");
    std::vector<uint8_t> good = MakeBitmap24(16, 16, [](int, int) { return 0x123456u; });
    WriteFile("truncated.bmp", std::vector<uint8_t>(good.begin(), good.begin() + 200));
    std::vector<uint8_t> giant = good;
    PutU32(giant, BmpWidthField, 1000000);
    WriteFile("giant.bmp", giant);
    WriteFile("noise.bmp", std::vector<uint8_t>(3000, 0xA5));
    WriteFile("empty.bmp", {});
    std::filesystem::create_directory("folder.bmp");
    EXPECT_EQ(mkfifo("pipe.bmp", 0600), 0);
    // A file far larger than any bitmap; it is refused before it is read.
    WriteFile("huge.bmp", good);
    std::filesystem::resize_file("huge.bmp", 200u << 20);
    WriteFile("picture.png", good);

    struct Case {
        const char* name;
        int32_t expected;
        const char* because;
    };
    const Case cases[] = {{"truncated.bmp", DeviceFailed, "truncated"}, {"giant.bmp", DeviceFailed, "4096"},
                          {"noise.bmp", DeviceFailed, "BM"},  {"empty.bmp", DeviceFailed, "short"},
                          {"folder.bmp", DeviceFailed, "regular file"}, {"pipe.bmp", DeviceFailed, "regular file"},
                          {"huge.bmp", DeviceFailed, "too large"}, {"picture.png", DeviceNotImplemented, ".bmp"}};
    TextureStore store;
    auto findNothing = [](const char*, const uint8_t*&, size_t&) { return false; };
    auto start = std::chrono::steady_clock::now();
    for (const Case& c : cases) {
        std::string whyNot;
        EXPECT_EQ(AddTexture(store, c.name, 0, 0, {findNothing, DecodeBitmapFile}, whyNot), c.expected) << c.name;
        EXPECT_NE(whyNot.find(c.because), std::string::npos) << c.name << ": " << whyNot;
        EXPECT_EQ(whyNot.find('\n'), std::string::npos) << "one line: " << whyNot;
    }
    EXPECT_TRUE(store.entries.empty());
    // Nothing waited on the pipe or read the huge file through.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    std::filesystem::current_path(previous);
}
