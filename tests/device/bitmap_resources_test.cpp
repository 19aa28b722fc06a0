#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "device/bitmap_resources.h"
#include "device/bmp_check.h"
#include "world/model_library.h"
#include "world/scenery.h"

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};


// A built-in bitmap decoded, rows from the top.
struct Picture {
    int width = 0, height = 0, bitsPerPixel = 0;
    std::vector<Rgb> pixels;
    Rgb At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

Picture DecodeByName(const char* name)
{
    Picture picture;
    const BitmapResource* resource = FindBitmapResource(name);
    BitmapHeader header;
    const char* reason = nullptr;
    if (resource == nullptr || !CheckBitmapFile(resource->bytes, resource->size, header, reason)) {
        ADD_FAILURE() << name << " is not a built-in bitmap";
        return picture;
    }
    picture = {header.width, header.height, header.bitsPerPixel, {}};
    const unsigned char* palette = resource->bytes + 14 + header.infoSize;
    for (int y = 0; y < header.height; ++y) {
        const unsigned char* row =
            resource->bytes + header.pixelOffset + header.rowBytes * size_t(header.topDown ? y : header.height - 1 - y);
        for (int x = 0; x < header.width; ++x) {
            const unsigned char* bgr = row + x * 3;
            if (header.bitsPerPixel == 8)
                bgr = palette + 4 * row[x];
            else if (header.bitsPerPixel == 4)
                bgr = palette + 4 * (x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
            picture.pixels.push_back({bgr[2], bgr[1], bgr[0]});
        }
    }
    return picture;
}

// What a texel shows, as one letter; '.' for anything else.
char Classify(Rgb c)
{
    if (c == Rgb{232, 112, 22} || c == Rgb{196, 88, 14})
        return '.';  // the railcar's orange paint
    if (c == Rgb{200, 200, 206} || c == Rgb{206, 220, 228})
        return 'P';  // the panes of a house or the signal box
    if (c == Rgb{108, 60, 34})
        return 'J';  // a joint between the wagon's boards
    if (c == Rgb{150, 150, 154})
        return 'l';  // the railcar's unlit tail lamps
    if (c.r >= 150 && c.r >= c.g + 80 && c.r >= c.b + 80)
        return 'r';  // a red lamp
    if (c.r >= 200 && c.g >= 200 && c.b >= 200)
        return 'w';  // a white lamp
    if (c.b > c.r + 15 && c.r < 100)
        return 'G';  // window glass
    return '.';
}

// The letters met along a line, each run of one letter once, the dull texels left out.
template <typename TexelAt>
std::string LettersAlong(int steps, TexelAt texelAt)
{
    std::string letters;
    char last = 0;
    for (int i = 0; i <= steps; ++i) {
        char letter = Classify(texelAt(i));
        if (letter != last && letter != '.')
            letters += letter;
        last = letter;
    }
    return letters;
}

using Vec = std::array<double, 3>;

Vec Minus(Vec a, Vec b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec Cross(Vec a, Vec b) { return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]}; }
double Dot(Vec a, Vec b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// A model seen through its pictures: looking along a ray, the texel of the nearest triangle
// hit, its texture coordinates interpolated across it and repeated as the device samples them.
// An untextured part shows black.
struct ModelViewer {
    const ModelLibrary& library;
    std::map<int32_t, Picture> pictures;

    Rgb TexelSeen(int32_t type, Vec origin, Vec direction)
    {
        double nearest = 1e9;
        Rgb seen = {0, 0, 0};
        const ModelEntry& model = library.models[type];
        for (int32_t p = 0; p < model.partCount; ++p) {
            const ModelPart& part = library.parts[model.firstPart + p];
            bool fan = part.kind == PartTriangleFan;
            for (int32_t t = 0; t < (fan ? part.indexCount - 2 : part.indexCount / 3); ++t) {
                const int32_t* index = &library.indexes[part.firstIndex + (fan ? 0 : 3 * t)];
                const ModelVertex* v[3] = {&library.vertices[part.firstVertex + index[0]],
                                           &library.vertices[part.firstVertex + index[fan ? t + 1 : 1]],
                                           &library.vertices[part.firstVertex + index[fan ? t + 2 : 2]]};
                Vec a = {v[0]->x, v[0]->y, v[0]->z};
                Vec e1 = Minus({v[1]->x, v[1]->y, v[1]->z}, a), e2 = Minus({v[2]->x, v[2]->y, v[2]->z}, a);
                Vec h = Cross(direction, e2), s = Minus(origin, a), q = Cross(s, e1);
                double det = Dot(e1, h);
                if (std::abs(det) < 1e-12)
                    continue;
                double b1 = Dot(s, h) / det, b2 = Dot(direction, q) / det, distance = Dot(e2, q) / det;
                if (b1 < 0 || b2 < 0 || b1 + b2 > 1 || distance <= 0 || distance >= nearest)
                    continue;
                nearest = distance;
                seen = {0, 0, 0};
                if (part.textureId == TextureNone)
                    continue;
                double u = (1 - b1 - b2) * v[0]->tu + b1 * v[1]->tu + b2 * v[2]->tu;
                double w = (1 - b1 - b2) * v[0]->tv + b1 * v[1]->tv + b2 * v[2]->tv;
                Picture& picture = pictures[part.textureId];
                if (picture.pixels.empty())
                    picture = DecodeByName(ModelTextureName(part.textureId));
                seen = picture.At(int((u - std::floor(u)) * picture.width), int((w - std::floor(w)) * picture.height));
            }
        }
        return seen;
    }
};

}  // namespace

TEST(BitmapResources, ModelsShowTheirPicturesWhereTheyBelong)
{
    auto library = std::make_unique<ModelLibrary>();
    const float noise[4] = {0.5f, 0.25f, 0.75f, 0.1f};
    BuildModelLibrary(*library, noise);
    // Lines of sight swept across a model; what is seen along each, in order.
    const struct {
        const char* what;
        int32_t type;
        Vec from, step, direction;
        int steps;
        std::string seen;
    } sweeps[] = {
        // The railcar's ends show one picture from the roof's edge down to the skirt: a window
        // over a lamp, white lamps at the front and grey ones at the back, and the roof's end
        // its lamp row (the red marker in the middle) only at the front.
        {"front end", SceneryRailcar, {0.726, 3.3, 5}, {0, -0.005, 0}, {0, 0, -1}, 520, "Gw"},
        {"back end", SceneryRailcar, {0.726, 3.3, -20}, {0, -0.005, 0}, {0, 0, 1}, 520, "Gl"},
        {"front lamps", SceneryRailcar, {-1.2, 1.55, 5}, {0.005, 0, 0}, {0, 0, -1}, 480, "ww"},
        {"back lamps", SceneryRailcar, {-1.2, 1.55, -20}, {0.005, 0, 0}, {0, 0, 1}, 480, "ll"},
        {"front end's middle", SceneryRailcar, {0, 3.5, 5}, {0, -0.002, 0}, {0, 0, -1}, 1400, "r"},
        {"back end's middle", SceneryRailcar, {0, 3.5, -20}, {0, -0.002, 0}, {0, 0, 1}, 1400, ""},
        // The roof's lamp row shows once, over the front: the red marker in the middle.
        {"roof along the middle", SceneryRailcar, {0, 10, 0.5}, {0, 0, -0.01}, {0, -1, 0}, 1600, "r"},
        {"roof across the front", SceneryRailcar, {-1.2, 10, -2.03}, {0.005, 0, 0}, {0, -1, 0}, 480, "wrw"},
        // Each side: cab window, two door windows, four saloon windows, two door windows and
        // the rear cab window.
        {"right side", SceneryRailcar, {5, 2.3, 0.2}, {0, 0, -0.005}, {-1, 0, 0}, 3080, "GGGGGGGGGG"},
        {"left side", SceneryRailcar, {-5, 2.3, 0.2}, {0, 0, -0.005}, {1, 0, 0}, 3080, "GGGGGGGGGG"},
        // Walls repeat their picture every 5 m along (houses), 2.5 m (town), 2 m (signal box);
        // a house window shows two panes either side of its crossbar.
        {"village house's long wall", SceneryVillageHouseB, {5, 1.2, 5.5}, {0, 0, -0.01}, {-1, 0, 0}, 1100, "PPPP"},
        {"village house's end", SceneryVillageHouseA + 1, {-3, 1.2, 20}, {0.01, 0, 0}, {0, 0, -1}, 600, "PP"},
        {"town building's wall up", 2, {20, -1, 0.94}, {0, 0.01, 0}, {-1, 0, 0}, 1200, "PPPPPP"},
        {"town building's end", 6, {-6, 1.35, 30}, {0.01, 0, 0}, {0, 0, -1}, 1200, "PPPPPPPP"},
        {"signal box's upper storey", ScenerySignalBox, {5, 6.25, -5.5}, {0, 0, 0.005}, {-1, 0, 0}, 2200,
         std::string(20, 'P')},
        {"signal box's plain roof", ScenerySignalBox, {0.3, 20, -6}, {0, 0, 0.01}, {0, -1, 0}, 1200, ""},
        // The wagon's side is one picture of eight boards from end to end.
        {"wagon's side", SceneryGoodsWagon, {5, 2.0, -5.4}, {0, 0, 0.005}, {-1, 0, 0}, 2160, "JJJJJJJJ"},
    };
    ModelViewer viewer{*library, {}};
    for (const auto& sweep : sweeps) {
        std::string seen = LettersAlong(sweep.steps, [&](int i) {
            Vec from = {sweep.from[0] + i * sweep.step[0], sweep.from[1] + i * sweep.step[1],
                        sweep.from[2] + i * sweep.step[2]};
            return viewer.TexelSeen(sweep.type, from, sweep.direction);
        });
        EXPECT_EQ(seen, sweep.seen) << sweep.what;
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
        ++painted;
        std::ifstream file(entry.path(), std::ios::binary);
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const BitmapResource* resource = FindBitmapResource(name.c_str());
        ASSERT_NE(resource, nullptr) << name << " is painted but not in resources/";
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), resource->bytes, resource->bytes + resource->size))
            << "resources/" << name << " is not what tools/paint_bitmaps.cpp paints now; repaint and commit it";
    }
    EXPECT_EQ(painted, ListBitmapResources().size());
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
