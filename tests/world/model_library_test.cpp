#include "world/model_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Noise = std::array<float, 4>;

std::unique_ptr<ModelLibrary> BuildLibrary(Noise noise = {0.5f, 0.25f, 0.75f, 0.1f})
{
    auto library = std::make_unique<ModelLibrary>();
    std::memset(library.get(), 0, sizeof(ModelLibrary));
    BuildModelLibrary(*library, noise.data());
    return library;
}

struct Vec {
    double x, y, z;
};

Vec Minus(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

const ModelPart& PartOf(const ModelLibrary& library, int32_t type, int32_t partNumber)
{
    return library.parts[library.models[type].firstPart + partNumber];
}

const ModelVertex& VertexOf(const ModelLibrary& library, const ModelPart& part, int32_t index)
{
    return library.vertices[part.firstVertex + index];
}

// The corners of the triangles a part draws, as positions.
std::vector<std::array<Vec, 3>> Triangles(const ModelLibrary& library, const ModelPart& part)
{
    std::vector<std::array<Vec, 3>> triangles;
    bool fan = part.kind == PartTriangleFan;
    auto at = [&](int32_t i) {
        const ModelVertex& v = VertexOf(library, part, library.indexes[part.firstIndex + i]);
        return Vec{v.x, v.y, v.z};
    };
    for (int32_t t = 0; t < (fan ? part.indexCount - 2 : part.indexCount / 3); ++t)
        triangles.push_back(fan ? std::array{at(0), at(t + 1), at(t + 2)} : std::array{at(3 * t), at(3 * t + 1), at(3 * t + 2)});
    return triangles;
}

// With the device's left-handed axes a triangle's winding normal points towards a viewer who
// sees its corners run clockwise, the side that is drawn.
Vec FaceNormal(const std::array<Vec, 3>& t) { return Cross(Minus(t[1], t[0]), Minus(t[2], t[0])); }

// Plates drawn from both sides list each square twice (4 vertices, 12 indexes).
bool IsDoubleSided(const ModelPart& part) { return part.indexCount == 3 * part.vertexCount; }

// The bounding box each model fills: x, y and z from and to.
struct Extent {
    int32_t type;
    double x0, x1, y0, y1, z0, z1;
};

const Extent Extents[] = {
    {1, -2.5, 2.5, 0, 5, -5, 5},          {10, -2.5, 2.5, 0, 4, -5, 5},        {14, -2.5, 2.5, 0, 4, -5, 5},
    {2, -10, 10, 0, 10, -15, 15},         {6, -10, 10, 0, 10, -15, 15},        {20, -2.5, 2.5, 0, 10, -5.5, 5.5},
    {21, -2.5, 2.5, 0, 1, -50, 50},       {200, -1.35, 1.35, 0.1, 4.1, -5.2, 7.6},
    {100, -1.1, 1.1, 0.1, 3.35, -15, 0},  {300, -1.3, 1.3, 0.1, 3.84, -5.5, 5.5},
};

}  // namespace

TEST(ModelLibrary, BuildsEveryModelInOrderWithItsTexturesAndDrawDistance)
{
    auto library = BuildLibrary();
    // The texture of each part in order (0: coloured); houses 10..14 take the village pictures
    // 16..20, town buildings 2..6 the first, third, fourth, sixth and seventh town pictures.
    const struct {
        int32_t type;
        float drawDistance;
        std::vector<int32_t> textures;
    } expected[] = {
        {1, 1000, {0, 0}},         {10, 1000, {16, 0, 0}},   {11, 1000, {17, 0, 0}}, {12, 1000, {18, 0, 0}},
        {13, 1000, {19, 0, 0}},    {14, 1000, {20, 0, 0}},   {2, 1000, {9, 0, 0}},   {3, 1000, {11, 0, 0}},
        {4, 1000, {12, 0, 0}},     {5, 1000, {14, 0, 0}},    {6, 1000, {15, 0, 0}},  {20, 1000, {0, 21, 22}},
        {21, 500, {0, 0}},         {200, 1000, {0, 0, 0, 0, 0, 0, 1, 0, 0}},
        {100, 1000, {2, 5, 3, 4, 0, 0, 6, 1, 0}},  {300, 1000, {7, 0, 0, 0, 0, 1, 0}},  {1001, 10000, {8}},
    };
    ASSERT_EQ(library->builtModelCount, static_cast<int32_t>(std::size(expected)));
    int32_t nextPart = 0;
    for (size_t m = 0; m < std::size(expected); ++m) {
        SCOPED_TRACE("type " + std::to_string(expected[m].type));
        EXPECT_EQ(library->buildOrder[m], expected[m].type);
        const ModelEntry& entry = library->models[expected[m].type];
        EXPECT_EQ(entry.firstPart, nextPart) << "parts follow each other in build order";
        EXPECT_EQ(entry.drawDistance, expected[m].drawDistance);
        std::vector<int32_t> textures;
        for (int32_t p = 0; p < entry.partCount; ++p)
            textures.push_back(library->parts[entry.firstPart + p].textureId);
        EXPECT_EQ(textures, expected[m].textures);
        nextPart += entry.partCount;
    }
    EXPECT_EQ(library->partCount, nextPart);
    // Every other type has an entry without parts, so an object of that type draws nothing.
    int32_t typesWithParts = 0;
    for (int32_t type = 0; type < ModelEntryCapacity; ++type)
        typesWithParts += library->models[type].partCount > 0;
    EXPECT_EQ(typesWithParts, library->builtModelCount);
}

TEST(ModelLibrary, PoolsHoldThePartsBackToBackAndIndexesStayInTheirPart)
{
    auto library = BuildLibrary();
    EXPECT_EQ(library->vertexCount, 1263);
    EXPECT_EQ(library->indexCount, 2104);
    int32_t nextVertex = 0, nextIndex = 0;
    for (int32_t p = 0; p < library->partCount; ++p) {
        const ModelPart& part = library->parts[p];
        EXPECT_EQ(part.firstVertex, nextVertex) << "part " << p;
        EXPECT_EQ(part.firstIndex, nextIndex) << "part " << p;
        nextVertex += part.vertexCount;
        nextIndex += part.indexCount;
        std::vector<bool> used(part.vertexCount, false);
        for (int32_t i = 0; i < part.indexCount; ++i) {
            int32_t index = library->indexes[part.firstIndex + i];
            ASSERT_TRUE(index >= 0 && index < part.vertexCount) << "part " << p;
            used[index] = true;
        }
        EXPECT_EQ(std::count(used.begin(), used.end(), false), 0) << "a vertex of part " << p << " no triangle uses";
        EXPECT_TRUE(part.kind == PartTriangleFan || part.indexCount % 3 == 0) << "part " << p;
    }
    EXPECT_EQ(nextVertex, library->vertexCount);
    EXPECT_EQ(nextIndex, library->indexCount);
}

TEST(ModelLibrary, EveryModelFillsExactlyItsExtent)
{
    auto library = BuildLibrary();
    for (const Extent& extent : Extents) {
        const ModelEntry& model = library->models[extent.type];
        double low[3] = {1e9, 1e9, 1e9}, high[3] = {-1e9, -1e9, -1e9};
        for (int32_t p = 0; p < model.partCount; ++p) {
            const ModelPart& part = library->parts[model.firstPart + p];
            for (int32_t i = 0; i < part.vertexCount; ++i) {
                const ModelVertex& v = VertexOf(*library, part, i);
                const double position[3] = {v.x, v.y, v.z};
                for (int axis = 0; axis < 3; ++axis) {
                    low[axis] = std::min(low[axis], position[axis]);
                    high[axis] = std::max(high[axis], position[axis]);
                }
            }
        }
        // The wagon's arch tops out at 3.8385, listed as 3.84.
        const double want[6] = {extent.x0, extent.x1, extent.y0, extent.y1, extent.z0, extent.z1};
        const double got[6] = {low[0], high[0], low[1], high[1], low[2], high[2]};
        for (int k = 0; k < 6; ++k)
            EXPECT_NEAR(got[k], want[k], 0.002) << "type " << extent.type << " bound " << k;
    }
}

TEST(ModelLibrary, EveryFaceShowsTheSideItsNormalsPointToAndBodiesFaceOutward)
{
    auto library = BuildLibrary();
    int downward = 0;
    for (int32_t m = 0; m < library->builtModelCount; ++m) {
        int32_t type = library->buildOrder[m];
        // The disc keeps one fixed normal for lighting, not the normal of its face.
        if (type == 1001)
            continue;
        const ModelEntry& model = library->models[type];
        const Extent* extent = std::find_if(std::begin(Extents), std::end(Extents), [&](const Extent& e) { return e.type == type; });
        for (int32_t p = 0; p < model.partCount; ++p) {
            SCOPED_TRACE("type " + std::to_string(type) + " part " + std::to_string(p));
            const ModelPart& part = library->parts[model.firstPart + p];
            double areaAlong = 0, areaAgainst = 0;
            std::vector<std::array<Vec, 3>> triangles = Triangles(*library, part);
            for (size_t t = 0; t < triangles.size(); ++t) {
                Vec face = FaceNormal(triangles[t]);
                double area = std::sqrt(Dot(face, face)) / 2;
                ASSERT_GT(area, 1e-6) << "degenerate triangle";
                const int32_t* corner = &library->indexes[part.firstIndex + (part.kind == PartTriangleFan ? 0 : 3 * t)];
                const ModelVertex& v = VertexOf(*library, part, corner[0]);
                double along = Dot(face, {v.nx, v.ny, v.nz});
                ASSERT_NE(along, 0.0) << "a normal lying in its face";
                (along > 0 ? areaAlong : areaAgainst) += area;
                // Walls face away from the model's middle; the locomotive's handrails face both
                // ways, and only the signal box's eaves face down.
                Vec centroid = {(triangles[t][0].x + triangles[t][1].x + triangles[t][2].x) / 3,
                                (triangles[t][0].y + triangles[t][1].y + triangles[t][2].y) / 3,
                                (triangles[t][0].z + triangles[t][1].z + triangles[t][2].z) / 3};
                double upright = face.y / (2 * area);
                if (extent == std::end(Extents) || type == 200 || IsDoubleSided(part))
                    continue;
                if (std::abs(upright) > 0.99) {
                    downward += upright < 0;
                    EXPECT_TRUE(upright > 0 || (type == 20 && std::abs(centroid.y - 7.5) < 1e-5));
                    continue;
                }
                Vec outward = {centroid.x - (extent->x0 + extent->x1) / 2, 0, centroid.z - (extent->z0 + extent->z1) / 2};
                EXPECT_GT(Dot(outward, {face.x, 0, face.z}), 0.0)
                    << "face at (" << centroid.x << ", " << centroid.y << ", " << centroid.z << ") points inward";
            }
            if (IsDoubleSided(part)) {
                EXPECT_NEAR(areaAgainst, areaAlong, 1e-4 * areaAlong) << "a plate shows as much back as front";
            } else {
                EXPECT_EQ(areaAgainst, 0.0) << "a face wound against its normal is culled from the outside";
            }
        }
    }
    EXPECT_EQ(downward, 2);
}

TEST(ModelLibrary, WheelsAreUprightPicturesOverTheirAxles)
{
    auto library = BuildLibrary();
    using Square = std::tuple<float, float, float, float, float>;  // x, z from, z to, y from, y to
    const struct {
        int32_t type, part;
        float bottom, top;
        std::vector<std::pair<float, float>> axles;
    } wheelSets[] = {
        {100, 7, 0.1f, 0.7f, {{-1.8f, -1.2f}, {-2.8f, -2.2f}, {-12.8f, -12.2f}, {-13.8f, -13.2f}}},
        {200, 6, 0.1f, 1.1f, {{5.5f, 6.5f}, {4.0f, 5.0f}, {-2.6f, -1.6f}, {-4.1f, -3.1f}}},
        {300, 5, 0.1f, 0.9f, {{3.6f, 4.4f}, {-4.4f, -3.6f}}},
    };
    for (const auto& wheelSet : wheelSets) {
        SCOPED_TRACE("type " + std::to_string(wheelSet.type));
        const ModelPart& part = PartOf(*library, wheelSet.type, wheelSet.part);
        std::vector<Square> squares, expected;
        for (int32_t square = 0; square < part.vertexCount / 4; ++square) {
            const ModelVertex* v = &VertexOf(*library, part, 4 * square);
            // The picture's top corners (v = 0) on the top edge, its left (u = 0) at one end.
            for (int c = 0; c < 4; ++c) {
                EXPECT_EQ(std::make_tuple(v[c].tu, v[c].tv), std::make_tuple(float(c % 2), float(c / 2)));
                EXPECT_EQ(std::make_tuple(v[c].x, v[c].nx, v[c].ny, v[c].nz), std::make_tuple(v[0].x, -1.0f, 0.0f, 0.0f));
            }
            EXPECT_TRUE(v[0].y == v[1].y && v[2].y == v[3].y && v[0].y > v[2].y && v[0].z == v[2].z && v[1].z == v[3].z);
            squares.emplace_back(v[0].x, std::min(v[0].z, v[1].z), std::max(v[0].z, v[1].z), v[2].y, v[0].y);
        }
        for (auto [from, to] : wheelSet.axles)
            for (float x : {0.7f, -0.7f})
                expected.emplace_back(x, from, to, wheelSet.bottom, wheelSet.top);
        std::sort(squares.begin(), squares.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(squares, expected);
    }
}

TEST(ModelLibrary, WagonRoofArchesFromTheSideWallsOverTheCentreLine)
{
    auto library = BuildLibrary();
    const double radius = 1.3 * std::sqrt(2.0);
    // The end arches fan from the middle of the end wall's top edge over nine rim points, from
    // +x to -x at the front and back again at the back; the crown's 3.838 is rounded.
    for (int32_t p : {1, 2}) {
        const ModelPart& fan = PartOf(*library, 300, p);
        double side = p == 1 ? 1.0 : -1.0;
        const double points[4][3] = {{0, 0, 3.3}, {1, 1.3 * side, 3.3}, {5, 0.0, 3.838}, {9, -1.3 * side, 3.3}};
        for (const auto& point : points) {
            const ModelVertex& v = VertexOf(*library, fan, int32_t(point[0]));
            EXPECT_NEAR(v.x, point[1], 1e-3) << "arch " << p << " vertex " << point[0];
            EXPECT_NEAR(v.y, point[2], 1e-3) << "arch " << p << " vertex " << point[0];
        }
        for (int32_t i = 0; i < fan.vertexCount; ++i) {
            const ModelVertex& v = VertexOf(*library, fan, i);
            EXPECT_EQ(v.z, p == 1 ? 5.5f : -5.5f);
            EXPECT_NEAR(i > 0 ? std::hypot(v.x, v.y - 2.0) : radius, radius, 1e-4);
        }
    }
    // The roof runs over the same points from end to end, each normal pointing straight away
    // from the arch's centre line.
    const ModelPart& roof = PartOf(*library, 300, 3);
    const ModelPart& arch = PartOf(*library, 300, 1);
    int roofVertices = 0;
    for (int32_t i = 0; i < roof.vertexCount; ++i) {
        const ModelVertex& v = VertexOf(*library, roof, i);
        if (v.nz != 0.0f)
            continue;  // the end walls
        roofVertices += 1;
        EXPECT_FLOAT_EQ(v.nx, v.x);
        EXPECT_NEAR(v.ny, v.y - 2.0f, 1e-5);
        EXPECT_TRUE(v.z == 5.5f || v.z == -5.5f);
        bool onArch = false;
        for (int32_t k = 1; k < arch.vertexCount; ++k)
            onArch = onArch || (VertexOf(*library, arch, k).x == v.x && VertexOf(*library, arch, k).y == v.y);
        EXPECT_TRUE(onArch) << "roof vertex (" << v.x << ", " << v.y << ") off the end arches";
    }
    EXPECT_EQ(roofVertices, 32);
}

TEST(ModelLibrary, DiscIsAClosedFanWhoseRimTheNoisePushesOut)
{
    auto plain = BuildLibrary({0, 0, 0, 0});
    const ModelPart& plainDisc = PartOf(*plain, 1001, 0);
    ASSERT_EQ(plainDisc.vertexCount, 37);
    ASSERT_EQ(plainDisc.indexCount, 38);
    for (int32_t i = 0; i < 38; ++i)
        EXPECT_EQ(plain->indexes[plainDisc.firstIndex + i], i < 37 ? i : 1) << "the fan closes on its first rim vertex";
    const ModelVertex& centre = VertexOf(*plain, plainDisc, 0);
    EXPECT_EQ(std::make_tuple(centre.x, centre.y, centre.z, centre.tu, centre.tv), std::make_tuple(0.0f, 0.0f, 0.0f, 0.5f, 0.5f));
    // Without noise the rim is the ellipse of half-axes 150 along x and 100 along y, starting
    // at the top and turning towards +x in 10-degree steps. The right half of the rim moves out
    // by 50 m times the larger of the first two noise values, the upper part (within 90
    // degrees of the top) by the larger of the next two.
    const struct {
        Noise noise;
        float pushX, pushY;
    } cases[] = {{{0, 0, 0, 0}, 0, 0},        {{1, 1, 1, 1}, 50, 50},   {{0.2f, 0.6f, 0, 0}, 30, 0},
                 {{0.6f, 0.2f, 0, 0}, 30, 0}, {{0, 0, 0.3f, 0.9f}, 0, 45}, {{0, 0, 0.9f, 0.3f}, 0, 45}};
    for (const auto& c : cases) {
        auto pushed = BuildLibrary(c.noise);
        const ModelPart& disc = PartOf(*pushed, 1001, 0);
        for (int32_t k = 0; k < 36; ++k) {
            SCOPED_TRACE(::testing::Message() << "noise " << c.noise[0] << " " << c.noise[1] << " " << c.noise[2]
                                              << " " << c.noise[3] << ", k " << k);
            const ModelVertex& v = VertexOf(*pushed, disc, 1 + k);
            double x = k < 18 ? v.x - c.pushX : v.x, y = (k < 9 || k > 27) ? v.y - c.pushY : v.y;
            EXPECT_NEAR(x * x / (150.0 * 150.0) + y * y / (100.0 * 100.0), 1.0, 1e-4);
            double angle = std::atan2(x, y);
            EXPECT_NEAR(angle < -1e-3 ? angle + 2 * 3.1416 : angle, k * 3.1416 / 18, 1e-3);
            EXPECT_EQ(std::make_tuple(v.nx, v.ny, v.nz, v.z), std::make_tuple(1.0f, 1.0f, 0.0f, 0.0f));
            EXPECT_FLOAT_EQ(v.tu, v.y / 300.0f + 0.5f);
            EXPECT_FLOAT_EQ(v.tv, v.x / 300.0f + 0.5f);
        }
    }
}

TEST(ModelLibrary, RebuildingOnTheSameRecordStartsAfreshAndRepeatsItself)
{
    const Noise noise = {0.3f, 0.8f, 0.1f, 0.6f};
    auto fresh = BuildLibrary(noise);
    auto reused = BuildLibrary(noise);
    // Stale model entries left over from an earlier build.
    reused->models[7] = {5, 3, 99.0f};
    reused->models[9999] = {1, 1, 1.0f};
    for (int build = 0; build < 2; ++build) {
        BuildModelLibrary(*reused, noise.data());
        ASSERT_EQ(std::make_tuple(reused->vertexCount, reused->indexCount, reused->partCount, reused->builtModelCount),
                  std::make_tuple(fresh->vertexCount, fresh->indexCount, fresh->partCount, fresh->builtModelCount));
        EXPECT_EQ(std::memcmp(reused->vertices.data(), fresh->vertices.data(), sizeof(ModelVertex) * size_t(fresh->vertexCount)), 0);
        EXPECT_EQ(std::memcmp(reused->indexes.data(), fresh->indexes.data(), sizeof(int32_t) * size_t(fresh->indexCount)), 0);
        EXPECT_EQ(std::memcmp(reused->parts.data(), fresh->parts.data(), sizeof(ModelPart) * size_t(fresh->partCount)), 0);
        EXPECT_EQ(std::memcmp(reused->models.data(), fresh->models.data(), sizeof(reused->models)), 0);
        EXPECT_EQ(reused->buildOrder, fresh->buildOrder);
    }
}

TEST(ModelLibrary, TextureNamesFollowTheIds)
{
    const char* const names[23] = {
        nullptr,       "WHEEL.BMP",  "Y1_FRONT.BMP", "Y1_WINDOW.BMP", "Y1_DOOR.BMP", "Y1_BACK.BMP",
        "Y1_ROOF.BMP", "G_SIDE.BMP", "C.BMP",        "TOWN_1.BMP",    "TOWN_2.BMP",  "TOWN_3.BMP",
        "TOWN_4.BMP",  "TOWN_5.BMP", "TOWN_6.BMP",   "TOWN_7.BMP",    "CALC_1.BMP",  "CALC_2.BMP",
        "CALC_3.BMP",  "CALC_4.BMP", "CALC_5.BMP",   "CONTROL.BMP",   "CONTROLR.BMP",
    };
    for (int32_t id : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 1000}) {
        const char* name = ModelTextureName(id);
        EXPECT_STREQ(name, id >= 1 && id <= 22 ? names[id] : nullptr) << "id " << id;
    }
}
