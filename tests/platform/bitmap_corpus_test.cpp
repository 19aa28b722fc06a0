// Every file of the bitmap fuzzer's corpus (the seeds, and any input that once broke the loader)
// goes through the loader here too, in every build, the sanitizer build included.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "device/bmp_check.h"
#include "device/texture_store.h"

TEST(BitmapCorpus, EveryFileDecodesToItsDeclaredSizeOrIsRefused)
{
    std::filesystem::path corpus = std::filesystem::path(TAGVIND_SOURCE_DIR) / "tests" / "fuzz" / "corpus";
    int decoded = 0;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream file(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        files += 1;
        TextureImage image;
        std::string reason;
        if (!DecodeBitmapFile(bytes.data(), bytes.size(), image, reason)) {
            EXPECT_FALSE(reason.empty()) << entry.path();
            continue;
        }
        decoded += 1;
        BitmapHeader header;
        const char* refusal = nullptr;
        ASSERT_TRUE(CheckBitmapFile(bytes.data(), bytes.size(), header, refusal)) << entry.path();
        EXPECT_EQ(image.width, header.width) << entry.path();
        EXPECT_EQ(image.height, header.height) << entry.path();
        EXPECT_EQ(image.rgba.size(), static_cast<size_t>(image.width * image.height * 4)) << entry.path();
    }
    // The seeds cover every depth and header the loader accepts; all of them decode.
    EXPECT_GE(files, 10);
    EXPECT_GE(decoded, 10);
}
