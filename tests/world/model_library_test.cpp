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
        triangles.push_back({at(fan ? 0 : 3 * t), at(fan ? t + 1 : 3 * t + 1), at(fan ? t + 2 : 3 * t + 2)});
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
        auto extent = std::find_if(std::begin(Extents), std::end(Extents), [&](const Extent& e) { return e.type == type; });
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
                // Every wheel shares one normal, whichever side of the car it stands on.
                EXPECT_TRUE(part.textureId != TextureWheel || (v.nx == -1.0f && v.ny == 0.0f && v.nz == 0.0f));
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

TEST(ModelLibrary, DiscIsAClosedFanWhoseRimTheNoisePushesOut)
{
    auto plain = BuildLibrary({0, 0, 0, 0});
    const ModelPart& plainDisc = PartOf(*plain, 1001, 0);
    ASSERT_EQ(plainDisc.vertexCount, 37);
    ASSERT_EQ(plainDisc.indexCount, 38);
    for (int32_t i = 0; i < 38; ++i)
        EXPECT_EQ(plain->indexes[plainDisc.firstIndex + i], i < 37 ? i : 1) << "the fan closes on its first rim vertex";
    const ModelVertex& centre = VertexOf(*plain, plainDisc, 0);
    EXPECT_EQ(std::make_tuple(centre.x, centre.y, centre.z, centre.tu, centre.tv), std::make_tuple(0.f, 0.f, 0.f, .5f, .5f));
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
