#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "device/bitmap_resources.h"
#include "world/world.h"

namespace {

struct Rgb {
    int r, g, b;
};

bool IsBlack(Rgb c) { return c.r == 0 && c.g == 0 && c.b == 0; }
bool IsWhite(Rgb c) { return c.r == 255 && c.g == 255 && c.b == 255; }

uint32_t ReadU16(const unsigned char* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t ReadU32(const unsigned char* p) { return ReadU16(p) | ReadU16(p + 2) << 16; }

// A bitmap resource read back the way a BMP loader reads it, rows turned top-down.
struct Picture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<Rgb> pixels;

    Rgb At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Checks the headers on the way; a malformed file fails the calling test and decodes empty.
Picture DecodeBmp(const BitmapResource& resource)
{
    const unsigned char* bytes = resource.bytes;
    Picture picture;
    if (resource.size < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
        ADD_FAILURE() << resource.name << ": no BMP file header";
        return picture;
    }
    EXPECT_EQ(ReadU32(bytes + 2), resource.size) << resource.name << ": file size in the header";
    EXPECT_EQ(ReadU32(bytes + 14), 40u) << resource.name << ": info header size";
    EXPECT_EQ(ReadU16(bytes + 26), 1u) << resource.name << ": planes";
    EXPECT_EQ(ReadU32(bytes + 30), 0u) << resource.name << ": compression";
    int32_t height = int32_t(ReadU32(bytes + 22));
    EXPECT_GT(height, 0) << resource.name << ": rows must be stored bottom-up";
    picture.width = int32_t(ReadU32(bytes + 18));
    picture.height = height < 0 ? -height : height;
    picture.bitsPerPixel = int(ReadU16(bytes + 28));

    uint32_t colours = 0;
    if (picture.bitsPerPixel <= 8) {
        colours = ReadU32(bytes + 46);
        if (colours == 0)
            colours = 1u << picture.bitsPerPixel;
        EXPECT_LE(colours, 1u << picture.bitsPerPixel) << resource.name << ": colour table too long";
    }
    uint32_t pixelOffset = ReadU32(bytes + 10);
    EXPECT_EQ(pixelOffset, 54 + 4 * colours) << resource.name << ": pixels must follow the colour table";
    size_t rowBytes = ((size_t(picture.width) * size_t(picture.bitsPerPixel) + 31) / 32) * 4;
    if (pixelOffset + rowBytes * size_t(picture.height) > resource.size || picture.width <= 0) {
        ADD_FAILURE() << resource.name << ": pixel rows run past the end of the file";
        return Picture{};
    }

    picture.pixels.resize(size_t(picture.width) * size_t(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        int storedRow = height > 0 ? picture.height - 1 - y : y;
        const unsigned char* row = bytes + pixelOffset + rowBytes * size_t(storedRow);
        for (int x = 0; x < picture.width; ++x) {
            Rgb colour{};
            if (picture.bitsPerPixel == 24) {
                colour = {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]};
            } else {
                uint32_t index = 0;
                if (picture.bitsPerPixel == 8)
                    index = row[x];
                else if (picture.bitsPerPixel == 4)
                    index = (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
                else
                    ADD_FAILURE() << resource.name << ": unexpected depth " << picture.bitsPerPixel;
                if (index >= colours) {
                    ADD_FAILURE() << resource.name << ": pixel uses colour " << index << " beyond the table";
                    return Picture{};
                }
                const unsigned char* entry = bytes + 54 + 4 * index;
                colour = {entry[2], entry[1], entry[0]};
            }
            picture.pixels[size_t(y) * size_t(picture.width) + size_t(x)] = colour;
        }
    }
    return picture;
}

Picture DecodeByName(const char* name)
{
    const BitmapResource* resource = FindBitmapResource(name);
    if (resource == nullptr) {
        ADD_FAILURE() << name << " is not built in";
        return Picture{};
    }
    return DecodeBmp(*resource);
}

std::string InCase(const char* name, int (*convert)(int))
{
    std::string text = name;
    for (char& c : text)
        c = char(convert(static_cast<unsigned char>(c)));
    return text;
}

// Pixels of the cut-away colour that cannot be reached from the border through that colour:
// holes that would show the sky through a part meant to be solid.
int CountEnclosedKeyPixels(const Picture& picture, bool (*isKey)(Rgb))
{
    std::vector<char> reached(picture.pixels.size(), 0);
    std::vector<std::pair<int, int>> pending;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if ((x == 0 || y == 0 || x == picture.width - 1 || y == picture.height - 1) && isKey(picture.At(x, y)))
                pending.push_back({x, y});
    while (!pending.empty()) {
        auto [x, y] = pending.back();
        pending.pop_back();
        if (x < 0 || y < 0 || x >= picture.width || y >= picture.height)
            continue;
        size_t at = size_t(y) * size_t(picture.width) + size_t(x);
        if (reached[at] || !isKey(picture.pixels[at]))
            continue;
        reached[at] = 1;
        pending.insert(pending.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    int enclosed = 0;
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        if (isKey(picture.pixels[i]) && !reached[i])
            ++enclosed;
    return enclosed;
}

enum class LampLight { None, Green, Red, White };

LampLight ClassifyLamp(Rgb c)
{
    if (c.g >= 150 && c.g >= c.r + 60 && c.g >= c.b + 40)
        return LampLight::Green;
    if (c.r >= 150 && c.r >= c.g + 80 && c.r >= c.b + 80)
        return LampLight::Red;
    if (c.r >= 200 && c.g >= 200 && c.b >= 200)
        return LampLight::White;
    return LampLight::None;
}

struct LitLamp {
    LampLight light;
    int centreRow;
};

// The lit lamps met going down the middle column of a signal, top first.
std::vector<LitLamp> LitLampsDownTheMiddle(const Picture& picture)
{
    std::vector<LitLamp> lamps;
    int x = picture.width / 2;
    int y = 0;
    while (y < picture.height) {
        LampLight light = ClassifyLamp(picture.At(x, y));
        int start = y;
        while (y < picture.height && ClassifyLamp(picture.At(x, y)) == light)
            ++y;
        if (light != LampLight::None)
            lamps.push_back({light, (start + y - 1) / 2});
    }
    return lamps;
}

}  // namespace

TEST(BitmapResources, FindsEveryTextureTheWorldRegistersInAnyCase)
{
    auto world = std::make_unique<World>();
    WorldReset(*world);
    ASSERT_GT(world->textures.count, 0);

    for (int i = 0; i < world->textures.count; ++i) {
        const char* name = world->textures.entries[i].name;
        SCOPED_TRACE(name);
        std::string lower = InCase(name, [](int c) { return std::tolower(c); });
        std::string upper = InCase(name, [](int c) { return std::toupper(c); });
        if (lower == "c.bmp") {
            // The disc's texture is looked for on disk; the program does not carry one.
            EXPECT_EQ(FindBitmapResource(name), nullptr);
            continue;
        }
        const BitmapResource* resource = FindBitmapResource(name);
        ASSERT_NE(resource, nullptr);
        EXPECT_EQ(FindBitmapResource(lower.c_str()), resource);
        EXPECT_EQ(FindBitmapResource(upper.c_str()), resource);
        EXPECT_STREQ(resource->name, upper.c_str());
    }
}

TEST(BitmapResources, MatchesWholeNamesOnly)
{
    for (const char* name : {"GRAS", "gras.bm", "gras.bmpx", "ras.bmp", "SIGN001.BMP", "SIGN00011.BMP", ""})
        EXPECT_EQ(FindBitmapResource(name), nullptr) << name;
    EXPECT_NE(FindBitmapResource("Tree1.Bmp"), nullptr);
}

TEST(BitmapResources, EachHasTheSizeAndDepthItsTextureExpects)
{
    struct Expected {
        const char* name;
        int width;
        int height;
        int bitsPerPixel;
    };
    const Expected expected[] = {
        {"GRAS.BMP", 32, 32, 24},       {"TREE1.BMP", 64, 64, 8},      {"SIGN0001.BMP", 32, 256, 8},
        {"SIGN0002.BMP", 32, 256, 8},   {"SIGN0003.BMP", 32, 256, 8},  {"SIGN0011.BMP", 64, 256, 8},
        {"SIGN0012.BMP", 64, 256, 8},   {"SIGN0013.BMP", 64, 256, 8},  {"SIGN0014.BMP", 64, 256, 8},
        {"WHEEL.BMP", 64, 64, 4},       {"Y1_FRONT.BMP", 64, 64, 8},   {"Y1_BACK.BMP", 64, 64, 8},
        {"Y1_WINDOW.BMP", 64, 64, 8},   {"Y1_DOOR.BMP", 64, 64, 8},    {"Y1_ROOF.BMP", 64, 64, 8},
        {"G_SIDE.BMP", 64, 64, 8},      {"TOWN_1.BMP", 32, 32, 8},     {"TOWN_2.BMP", 32, 32, 8},
        {"TOWN_3.BMP", 32, 32, 8},      {"TOWN_4.BMP", 32, 32, 8},     {"TOWN_5.BMP", 32, 32, 8},
        {"TOWN_6.BMP", 32, 32, 8},      {"TOWN_7.BMP", 32, 32, 8},     {"CALC_1.BMP", 32, 32, 8},
        {"CALC_2.BMP", 32, 32, 8},      {"CALC_3.BMP", 32, 32, 8},     {"CALC_4.BMP", 32, 32, 8},
        {"CALC_5.BMP", 32, 32, 8},      {"CONTROL.BMP", 32, 32, 8},    {"CONTROLR.BMP", 32, 32, 8},
        {"TAGVIND.BMP", 32, 32, 24},
    };
    for (const Expected& bitmap : expected) {
        SCOPED_TRACE(bitmap.name);
        Picture picture = DecodeByName(bitmap.name);
        EXPECT_EQ(picture.width, bitmap.width);
        EXPECT_EQ(picture.height, bitmap.height);
        EXPECT_EQ(picture.bitsPerPixel, bitmap.bitsPerPixel);
    }
    // Nothing built in beyond these.
    EXPECT_EQ(ListBitmapResources().size(), std::size(expected));
}

TEST(BitmapResources, SignsAndTreeStandOnACutAwayBlackBackground)
{
    for (const char* name : {"SIGN0001.BMP", "SIGN0002.BMP", "SIGN0003.BMP", "SIGN0011.BMP", "SIGN0012.BMP",
                             "SIGN0013.BMP", "SIGN0014.BMP", "TREE1.BMP"}) {
        SCOPED_TRACE(name);
        Picture picture = DecodeByName(name);
        ASSERT_FALSE(picture.pixels.empty());
        int w = picture.width;
        int h = picture.height;

        double blackShare = double(std::count_if(picture.pixels.begin(), picture.pixels.end(), IsBlack)) /
                            double(picture.pixels.size());
        EXPECT_GE(blackShare, 0.25);
        EXPECT_LE(blackShare, 0.85);
        EXPECT_TRUE(IsBlack(picture.At(0, 0)) && IsBlack(picture.At(w - 1, 0)) && IsBlack(picture.At(0, h - 1)) &&
                    IsBlack(picture.At(w - 1, h - 1)))
            << "the corners must be cut away";

        // Upright: the object stands on the bottom edge, and is widest near the top for a
        // signal (its head) and near the bottom for the tree (the lowest branches).
        EXPECT_FALSE(IsBlack(picture.At(w / 2, h - 1))) << "nothing stands on the ground";
        int widestRow = 0;
        int widest = -1;
        for (int y = 0; y < h; ++y) {
            int width = 0;
            for (int x = 0; x < w; ++x)
                width += IsBlack(picture.At(x, y)) ? 0 : 1;
            if (width > widest) {
                widest = width;
                widestRow = y;
            }
        }
        if (name[0] == 'S') {
            EXPECT_LT(widestRow, h * 2 / 5);
            // The signal head and its mast are solid: no speck of black inside them drops out.
            EXPECT_EQ(CountEnclosedKeyPixels(picture, IsBlack), 0);
        } else {
            EXPECT_GT(widestRow, h / 2);
            Rgb branch = picture.At(w / 4, widestRow);
            Rgb trunk = picture.At(w / 2, h - 1);
            EXPECT_GT(branch.g, branch.r) << "foliage is green";
            EXPECT_GT(trunk.r, trunk.g) << "the trunk is brown";
        }
    }
}

TEST(BitmapResources, SignalsLightTheLampsOfTheirAspect)
{
    using enum LampLight;
    struct Aspect {
        const char* name;
        std::vector<LampLight> litTopToBottom;
    };
    const Aspect aspects[] = {
        {"SIGN0001.BMP", {Green}},        {"SIGN0002.BMP", {Red}},          {"SIGN0003.BMP", {Green, Green}},
        {"SIGN0011.BMP", {Green}},        {"SIGN0012.BMP", {Green, Green}}, {"SIGN0013.BMP", {White}},
        {"SIGN0014.BMP", {}},
    };
    std::vector<std::vector<LitLamp>> lampsBySign;
    for (const Aspect& aspect : aspects) {
        SCOPED_TRACE(aspect.name);
        std::vector<LitLamp> lamps = LitLampsDownTheMiddle(DecodeByName(aspect.name));
        std::vector<LampLight> lights;
        for (const LitLamp& lamp : lamps)
            lights.push_back(lamp.light);
        EXPECT_EQ(lights, aspect.litTopToBottom);
        lampsBySign.push_back(lamps);
    }
    ASSERT_EQ(lampsBySign[2].size(), 2u);
    ASSERT_EQ(lampsBySign[4].size(), 2u);
    ASSERT_EQ(lampsBySign[0].size(), 1u);
    ASSERT_EQ(lampsBySign[1].size(), 1u);
    ASSERT_EQ(lampsBySign[3].size(), 1u);
    ASSERT_EQ(lampsBySign[5].size(), 1u);
    // Main signal: the single green is the top lamp, red lies between the two greens.
    EXPECT_EQ(lampsBySign[0][0].centreRow, lampsBySign[2][0].centreRow);
    EXPECT_GT(lampsBySign[1][0].centreRow, lampsBySign[2][0].centreRow);
    EXPECT_LT(lampsBySign[1][0].centreRow, lampsBySign[2][1].centreRow);
    // Distant signal: the single green is the upper lamp, white lies at the centre between.
    EXPECT_EQ(lampsBySign[3][0].centreRow, lampsBySign[4][0].centreRow);
    EXPECT_GT(lampsBySign[5][0].centreRow, lampsBySign[4][0].centreRow);
    EXPECT_LT(lampsBySign[5][0].centreRow, lampsBySign[4][1].centreRow);
}

TEST(BitmapResources, WheelIsAGreyDiscOnCutAwayWhite)
{
    Picture wheel = DecodeByName("WHEEL.BMP");
    ASSERT_FALSE(wheel.pixels.empty());
    double centre = wheel.width / 2.0;
    for (int y = 0; y < wheel.height; ++y) {
        for (int x = 0; x < wheel.width; ++x) {
            double dx = x + 0.5 - centre;
            double dy = y + 0.5 - centre;
            double distanceSquared = dx * dx + dy * dy;
            Rgb c = wheel.At(x, y);
            if (distanceSquared >= centre * centre) {
                EXPECT_TRUE(IsWhite(c)) << "outside the disc at " << x << ", " << y;
            } else if (distanceSquared < (centre - 3.0) * (centre - 3.0)) {
                EXPECT_FALSE(IsWhite(c)) << "a hole in the disc at " << x << ", " << y;
                EXPECT_TRUE(std::abs(c.r - c.g) < 16 && std::abs(c.g - c.b) < 16) << "not grey at " << x << ", " << y;
            }
        }
    }
}

TEST(BitmapResources, PicturesShowWhatTheirModelsNeed)
{
    auto countIf = [](const Picture& picture, auto predicate) {
        return std::count_if(picture.pixels.begin(), picture.pixels.end(), predicate);
    };
    auto isBrightWhite = [](Rgb c) { return c.r >= 230 && c.g >= 230 && c.b >= 230; };
    auto isOrange = [](Rgb c) { return c.r >= 180 && c.g >= 60 && c.g <= 150 && c.b <= 60; };

    // The railcar: orange ends and sides; white lamps at the front, only grey ones at the back.
    for (const char* name : {"Y1_FRONT.BMP", "Y1_BACK.BMP", "Y1_WINDOW.BMP", "Y1_DOOR.BMP"}) {
        Picture picture = DecodeByName(name);
        EXPECT_GT(countIf(picture, isOrange), long(picture.pixels.size() / 3)) << name;
    }
    EXPECT_GT(countIf(DecodeByName("Y1_FRONT.BMP"), isBrightWhite), 0);
    EXPECT_EQ(countIf(DecodeByName("Y1_BACK.BMP"), isBrightWhite), 0);

    // House walls: the wall colour at the corners, a light grey window in the middle.
    for (const char* name : {"TOWN_1.BMP", "TOWN_2.BMP", "TOWN_3.BMP", "TOWN_4.BMP", "TOWN_5.BMP", "TOWN_6.BMP",
                             "TOWN_7.BMP", "CALC_1.BMP", "CALC_2.BMP", "CALC_3.BMP", "CALC_4.BMP", "CALC_5.BMP"}) {
        SCOPED_TRACE(name);
        Picture wall = DecodeByName(name);
        ASSERT_FALSE(wall.pixels.empty());
        Rgb corner = wall.At(1, 1);
        int windowPixels = 0;
        for (int y = wall.height / 4; y < wall.height * 3 / 4; ++y) {
            for (int x = wall.width / 4; x < wall.width * 3 / 4; ++x) {
                Rgb c = wall.At(x, y);
                bool lightGrey = c.r >= 150 && std::abs(c.r - c.g) < 12 && std::abs(c.g - c.b) < 12;
                bool wallColour = c.r == corner.r && c.g == corner.g && c.b == corner.b;
                windowPixels += (lightGrey && !wallColour) ? 1 : 0;
            }
        }
        EXPECT_GE(windowPixels, wall.width * wall.height / 16);
        EXPECT_EQ(wall.At(wall.width - 2, wall.height - 2).r, corner.r);
    }
}

TEST(BitmapResources, CommittedBitmapsAreThePaintersOutput)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tagvind-bitmaps-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    std::filesystem::path folder = pattern;

    std::string command = std::string("'") + TAGVIND_PAINT_BITMAPS + "' '" + folder.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);

    size_t painted = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        ++painted;
        std::ifstream file(entry.path(), std::ios::binary);
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const BitmapResource* resource = FindBitmapResource(name.c_str());
        ASSERT_NE(resource, nullptr) << "painted but not in resources/";
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), resource->bytes, resource->bytes + resource->size))
            << "resources/" << name << " is not what tools/paint_bitmaps.cpp paints now; repaint and commit it";
    }
    EXPECT_EQ(painted, ListBitmapResources().size());

    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
