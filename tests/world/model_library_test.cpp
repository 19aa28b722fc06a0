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

Vec Position(const ModelVertex& v) { return {v.x, v.y, v.z}; }
Vec Normal(const ModelVertex& v) { return {v.nx, v.ny, v.nz}; }
Vec Minus(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length(Vec a) { return std::sqrt(Dot(a, a)); }

const ModelVertex& PartVertex(const ModelLibrary& library, const ModelPart& part, int32_t index)
{
    return library.vertices[part.firstVertex + index];
}

// The triangles a part draws, as index triples within the part.
std::vector<std::array<int32_t, 3>> Triangles(const ModelLibrary& library, const ModelPart& part)
{
    std::vector<std::array<int32_t, 3>> triangles;
    const int32_t* indexes = &library.indexes[part.firstIndex];
    if (part.kind == PartTriangleList) {
        for (int32_t i = 0; i + 2 < part.indexCount; i += 3)
            triangles.push_back({indexes[i], indexes[i + 1], indexes[i + 2]});
    } else if (part.kind == PartTriangleFan) {
        for (int32_t i = 1; i + 1 < part.indexCount; ++i)
            triangles.push_back({indexes[0], indexes[i], indexes[i + 1]});
    }
    return triangles;
}

// The normal of a triangle by its winding: with the device's left-handed axes it points
// towards a viewer who sees the corners run clockwise, the side that is drawn.
Vec FaceNormal(const ModelLibrary& library, const ModelPart& part, const std::array<int32_t, 3>& triangle)
{
    Vec a = Position(PartVertex(library, part, triangle[0]));
    Vec b = Position(PartVertex(library, part, triangle[1]));
    Vec c = Position(PartVertex(library, part, triangle[2]));
    return Cross(Minus(b, a), Minus(c, a));
}

Vec Centroid(const ModelLibrary& library, const ModelPart& part, const std::array<int32_t, 3>& triangle)
{
    Vec sum = {0, 0, 0};
    for (int32_t index : triangle) {
        Vec p = Position(PartVertex(library, part, index));
        sum = {sum.x + p.x / 3, sum.y + p.y / 3, sum.z + p.z / 3};
    }
    return sum;
}

// Plates drawn from both sides list each square twice (4 vertices, 12 indexes).
bool IsDoubleSided(const ModelPart& part) { return part.indexCount == 3 * part.vertexCount; }

struct ExpectedPart {
    int32_t kind, vertexCount, indexCount, textureId;
    float red, green, blue;
};

struct ExpectedModel {
    int32_t type;
    float drawDistance;
    std::vector<ExpectedPart> parts;
};

constexpr int32_t List = PartTriangleList;
constexpr int32_t Fan = PartTriangleFan;

std::vector<ExpectedModel> ExpectedModels()
{
    std::vector<ExpectedModel> models;
    models.push_back({1, 1000, {{List, 18, 30, 0, 0.5f, 0.25f, 0.0f}, {List, 8, 12, 0, 0.3f, 0.3f, 0.3f}}});
    for (int32_t k = 0; k < 5; ++k) {
        models.push_back({10 + k,
                          1000,
                          {{List, 16, 24, 16 + k, 0, 0, 0},
                           {List, 8, 12, 0, 0.5f, 0.3f, 0.3f},
                           {List, 6, 6, 0, 0.5f, 0.3f, 0.3f}}});
    }
    const int32_t townTextures[5] = {9, 11, 12, 14, 15};
    for (int32_t k = 0; k < 5; ++k) {
        models.push_back({2 + k,
                          1000,
                          {{List, 16, 24, townTextures[k], 0, 0, 0},
                           {List, 4, 6, 0, 0.0f, 0.0f, 0.0f},
                           {List, 4, 6, 0, 0.4f, 0.4f, 0.4f}}});
    }
    models.push_back(
        {20, 1000, {{List, 16, 24, 0, 0.5f, 0.375f, 0.25f}, {List, 16, 24, 21, 0, 0, 0}, {List, 18, 24, 22, 0, 0, 0}}});
    models.push_back({21, 500, {{List, 16, 24, 0, 0.8f, 0.8f, 0.8f}, {List, 4, 6, 0, 0.2f, 0.2f, 0.4f}}});
    models.push_back({200,
                      1000,
                      {{List, 96, 144, 0, 1.0f, 0.5f, 0.0f},
                       {List, 48, 72, 0, 1.0f, 1.0f, 1.0f},
                       {List, 176, 264, 0, 0.0f, 0.5f, 0.75f},
                       {List, 28, 42, 0, 0.2f, 0.2f, 0.2f},
                       {List, 8, 12, 0, 1.0f, 0.0f, 0.0f},
                       {List, 80, 120, 0, 0.0f, 0.0f, 0.0f},
                       {List, 32, 96, 1, 0, 0, 0},
                       {List, 32, 96, 0, 0.3f, 0.3f, 0.3f},
                       {List, 24, 36, 0, 0.9f, 0.9f, 0.9f}}});
    models.push_back({100,
                      1000,
                      {{List, 8, 12, 2, 0, 0, 0},
                       {List, 8, 12, 5, 0, 0, 0},
                       {List, 24, 36, 3, 0, 0, 0},
                       {List, 16, 24, 4, 0, 0, 0},
                       {List, 16, 48, 0, 0.8f, 0.0f, 0.0f},
                       {List, 16, 48, 0, 0.7f, 0.0f, 0.0f},
                       {List, 76, 114, 6, 0, 0, 0},
                       {List, 32, 96, 1, 0, 0, 0},
                       {List, 16, 24, 0, 0.3f, 0.3f, 0.3f}}});
    models.push_back({300,
                      1000,
                      {{List, 8, 12, 7, 0, 0, 0},
                       {Fan, 10, 10, 0, 0.5f, 0.375f, 0.375f},
                       {Fan, 10, 10, 0, 0.5f, 0.375f, 0.375f},
                       {List, 40, 60, 0, 0.5f, 0.375f, 0.375f},
                       {List, 16, 24, 0, 0.375f, 0.25f, 0.25f},
                       {List, 16, 48, 1, 0, 0, 0},
                       {List, 24, 72, 0, 0.3f, 0.3f, 0.3f}}});
    models.push_back({1001, 10000, {{Fan, 37, 38, 8, 0, 0, 0}}});
    return models;
}

// The bounding box each model fills: x, y and z from and to.
struct Extent {
    int32_t type;
    double x0, x1, y0, y1, z0, z1;
};

const Extent Extents[] = {
    {1, -2.5, 2.5, 0, 5, -5, 5},           {10, -2.5, 2.5, 0, 4, -5, 5},          {11, -2.5, 2.5, 0, 4, -5, 5},
    {12, -2.5, 2.5, 0, 4, -5, 5},          {13, -2.5, 2.5, 0, 4, -5, 5},          {14, -2.5, 2.5, 0, 4, -5, 5},
    {2, -10, 10, 0, 10, -15, 15},          {3, -10, 10, 0, 10, -15, 15},          {4, -10, 10, 0, 10, -15, 15},
    {5, -10, 10, 0, 10, -15, 15},          {6, -10, 10, 0, 10, -15, 15},          {20, -2.5, 2.5, 0, 10, -5.5, 5.5},
    {21, -2.5, 2.5, 0, 1, -50, 50},        {200, -1.35, 1.35, 0.1, 4.1, -5.2, 7.6},
    {100, -1.1, 1.1, 0.1, 3.35, -15, 0},   {300, -1.3, 1.3, 0.1, 3.84, -5.5, 5.5},
};

const ModelPart& ModelPartAt(const ModelLibrary& library, int32_t type, int32_t partNumber)
{
    return library.parts[library.models[type].firstPart + partNumber];
}

}  // namespace

TEST(ModelLibrary, BuildsEveryModelInOrderWithItsPartsAndDrawDistance)
{
    auto library = BuildLibrary();
    const std::vector<ExpectedModel> expected = ExpectedModels();

    ASSERT_EQ(library->builtModelCount, static_cast<int32_t>(expected.size()));
    int32_t nextPart = 0;
    for (size_t m = 0; m < expected.size(); ++m) {
        const ExpectedModel& model = expected[m];
        SCOPED_TRACE("type " + std::to_string(model.type));
        EXPECT_EQ(library->buildOrder[m], model.type);
        const ModelEntry& entry = library->models[model.type];
        EXPECT_EQ(entry.firstPart, nextPart) << "parts follow each other in build order";
        ASSERT_EQ(entry.partCount, static_cast<int32_t>(model.parts.size()));
        EXPECT_EQ(entry.drawDistance, model.drawDistance);
        for (size_t p = 0; p < model.parts.size(); ++p) {
            SCOPED_TRACE("part " + std::to_string(p));
            const ModelPart& part = library->parts[entry.firstPart + p];
            const ExpectedPart& want = model.parts[p];
            EXPECT_EQ(part.kind, want.kind);
            EXPECT_EQ(part.vertexCount, want.vertexCount);
            EXPECT_EQ(part.indexCount, want.indexCount);
            EXPECT_EQ(part.textureId, want.textureId);
            if (want.textureId == TextureNone) {
                EXPECT_FLOAT_EQ(part.red, want.red);
                EXPECT_FLOAT_EQ(part.green, want.green);
                EXPECT_FLOAT_EQ(part.blue, want.blue);
            }
        }
        nextPart += entry.partCount;
    }
    EXPECT_EQ(library->partCount, nextPart);
    EXPECT_EQ(library->partCount, 63);

    // Every other type has an entry without parts, so an object of that type draws nothing.
    for (int32_t type = 0; type < ModelEntryCapacity; ++type) {
        bool built = std::any_of(expected.begin(), expected.end(), [&](const ExpectedModel& m) { return m.type == type; });
        if (!built) {
            EXPECT_EQ(library->models[type].partCount, 0) << "type " << type;
        }
    }
}

TEST(ModelLibrary, PoolsHoldThePartsBackToBackAndIndexesStayInTheirPart)
{
    auto library = BuildLibrary();
    EXPECT_EQ(library->vertexCount, 1263);
    EXPECT_EQ(library->indexCount, 2104);

    int32_t nextVertex = 0, nextIndex = 0;
    for (int32_t p = 0; p < library->partCount; ++p) {
        SCOPED_TRACE("part " + std::to_string(p));
        const ModelPart& part = library->parts[p];
        EXPECT_EQ(part.firstVertex, nextVertex);
        EXPECT_EQ(part.firstIndex, nextIndex);
        nextVertex += part.vertexCount;
        nextIndex += part.indexCount;

        std::vector<bool> used(part.vertexCount, false);
        for (int32_t i = 0; i < part.indexCount; ++i) {
            int32_t index = library->indexes[part.firstIndex + i];
            ASSERT_GE(index, 0);
            ASSERT_LT(index, part.vertexCount);
            used[index] = true;
        }
        EXPECT_TRUE(std::all_of(used.begin(), used.end(), [](bool u) { return u; })) << "a vertex no triangle uses";
        if (part.kind == PartTriangleList) {
            EXPECT_EQ(part.indexCount % 3, 0);
        }
    }
    EXPECT_EQ(nextVertex, library->vertexCount);
    EXPECT_EQ(nextIndex, library->indexCount);
}

TEST(ModelLibrary, EveryModelFillsExactlyItsExtent)
{
    auto library = BuildLibrary();
    const double tolerance = 0.002;  // the wagon's arch tops out at 3.8385, listed as 3.84
    for (const Extent& extent : Extents) {
        SCOPED_TRACE("type " + std::to_string(extent.type));
        const ModelEntry& model = library->models[extent.type];
        ASSERT_GT(model.partCount, 0);
        double low[3] = {1e9, 1e9, 1e9}, high[3] = {-1e9, -1e9, -1e9};
        for (int32_t p = 0; p < model.partCount; ++p) {
            const ModelPart& part = library->parts[model.firstPart + p];
            for (int32_t i = 0; i < part.vertexCount; ++i) {
                const ModelVertex& v = PartVertex(*library, part, i);
                const double position[3] = {v.x, v.y, v.z};
                for (int axis = 0; axis < 3; ++axis) {
                    low[axis] = std::min(low[axis], position[axis]);
                    high[axis] = std::max(high[axis], position[axis]);
                }
            }
        }
        EXPECT_NEAR(low[0], extent.x0, tolerance);
        EXPECT_NEAR(high[0], extent.x1, tolerance);
        EXPECT_NEAR(low[1], extent.y0, tolerance);
        EXPECT_NEAR(high[1], extent.y1, tolerance);
        EXPECT_NEAR(low[2], extent.z0, tolerance);
        EXPECT_NEAR(high[2], extent.z1, tolerance);
    }

    // The disc reaches 150 m to the left and 100 m down whatever the noise, and at most
    // 50 m further than its ellipse to the right and up.
    for (Noise noise : {Noise{0, 0, 0, 0}, Noise{1, 1, 1, 1}}) {
        auto discLibrary = BuildLibrary(noise);
        const ModelPart& disc = ModelPartAt(*discLibrary, 1001, 0);
        for (int32_t i = 0; i < disc.vertexCount; ++i) {
            const ModelVertex& v = PartVertex(*discLibrary, disc, i);
            EXPECT_GE(v.x, -150.0f - 1e-3f);
            EXPECT_LE(v.x, 200.0f + 1e-3f);
            EXPECT_GE(v.y, -100.0f - 1e-3f);
            EXPECT_LE(v.y, 150.0f + 1e-3f);
            EXPECT_EQ(v.z, 0.0f);
        }
    }
}

TEST(ModelLibrary, EveryFaceShowsTheSideItsNormalsPointTo)
{
    auto library = BuildLibrary();
    for (int32_t m = 0; m < library->builtModelCount; ++m) {
        int32_t type = library->buildOrder[m];
        // The disc keeps one fixed normal for lighting, not the normal of its face.
        if (type == 1001)
            continue;
        const ModelEntry& model = library->models[type];
        for (int32_t p = 0; p < model.partCount; ++p) {
            SCOPED_TRACE("type " + std::to_string(type) + " part " + std::to_string(p));
            const ModelPart& part = library->parts[model.firstPart + p];
            double areaAlong = 0, areaAgainst = 0;
            for (const auto& triangle : Triangles(*library, part)) {
                Vec face = FaceNormal(*library, part, triangle);
                double area = Length(face) / 2;
                ASSERT_GT(area, 1e-6) << "degenerate triangle";
                for (int32_t index : triangle) {
                    double along = Dot(face, Normal(PartVertex(*library, part, index)));
                    ASSERT_NE(along, 0.0) << "a normal lying in its face";
                }
                double along = Dot(face, Normal(PartVertex(*library, part, triangle[0])));
                (along > 0 ? areaAlong : areaAgainst) += area;
            }
            if (IsDoubleSided(part)) {
                EXPECT_NEAR(areaAgainst, areaAlong, 1e-4 * areaAlong) << "a plate shows as much back as front";
            } else {
                EXPECT_EQ(areaAgainst, 0.0) << "a face wound against its normal is culled from the outside";
            }
        }
    }
}

TEST(ModelLibrary, BuildingAndCarBodyFacesPointOutward)
{
    auto library = BuildLibrary();
    int downwardTriangles = 0;
    for (const Extent& extent : Extents) {
        // The locomotive's handrails face both ways and are left out; its winding is covered
        // above.
        if (extent.type == 200)
            continue;
        const Vec centre = {(extent.x0 + extent.x1) / 2, 0, (extent.z0 + extent.z1) / 2};
        const ModelEntry& model = library->models[extent.type];
        for (int32_t p = 0; p < model.partCount; ++p) {
            SCOPED_TRACE("type " + std::to_string(extent.type) + " part " + std::to_string(p));
            const ModelPart& part = library->parts[model.firstPart + p];
            if (IsDoubleSided(part))
                continue;
            for (const auto& triangle : Triangles(*library, part)) {
                Vec face = FaceNormal(*library, part, triangle);
                Vec direction = {face.x / Length(face), face.y / Length(face), face.z / Length(face)};
                Vec centroid = Centroid(*library, part, triangle);
                if (std::abs(direction.y) > 0.99) {
                    if (direction.y < 0) {
                        downwardTriangles += 1;
                        EXPECT_EQ(extent.type, 20) << "only the signal box's eaves face down";
                        EXPECT_NEAR(centroid.y, 7.5, 1e-5);
                    }
                    continue;
                }
                Vec outward = {centroid.x - centre.x, 0, centroid.z - centre.z};
                EXPECT_GT(Dot(outward, {direction.x, 0, direction.z}), 0.0)
                    << "face at (" << centroid.x << ", " << centroid.y << ", " << centroid.z << ") points inward";
            }
        }
    }
    EXPECT_EQ(downwardTriangles, 2);
}

TEST(ModelLibrary, WheelsAreDoubleSidedSquaresOverTheirAxles)
{
    auto library = BuildLibrary();
    using Square = std::tuple<float, float, float, float, float>;  // x, z from, z to, y from, y to
    const struct {
        int32_t type;
        float bottom, top;
        std::vector<std::pair<float, float>> axles;
    } wheelSets[] = {
        {100, 0.1f, 0.7f, {{-1.8f, -1.2f}, {-2.8f, -2.2f}, {-12.8f, -12.2f}, {-13.8f, -13.2f}}},
        {200, 0.1f, 1.1f, {{5.5f, 6.5f}, {4.0f, 5.0f}, {-2.6f, -1.6f}, {-4.1f, -3.1f}}},
        {300, 0.1f, 0.9f, {{3.6f, 4.4f}, {-4.4f, -3.6f}}},
    };
    const int32_t pattern[12] = {0, 1, 2, 2, 1, 3, 1, 0, 3, 3, 0, 2};
    const float corners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};

    for (const auto& wheelSet : wheelSets) {
        SCOPED_TRACE("type " + std::to_string(wheelSet.type));
        const ModelEntry& model = library->models[wheelSet.type];
        std::vector<const ModelPart*> wheelParts;
        for (int32_t p = 0; p < model.partCount; ++p) {
            if (library->parts[model.firstPart + p].textureId == TextureWheel)
                wheelParts.push_back(&library->parts[model.firstPart + p]);
        }
        ASSERT_EQ(wheelParts.size(), 1u);
        const ModelPart& part = *wheelParts[0];
        ASSERT_EQ(part.vertexCount, 8 * static_cast<int32_t>(wheelSet.axles.size()));

        std::vector<Square> squares;
        for (int32_t square = 0; square < part.vertexCount / 4; ++square) {
            for (int32_t i = 0; i < 12; ++i)
                EXPECT_EQ(library->indexes[part.firstIndex + 12 * square + i], 4 * square + pattern[i]);
            const ModelVertex* v = &library->vertices[part.firstVertex + 4 * square];
            for (int c = 0; c < 4; ++c) {
                EXPECT_EQ(v[c].nx, -1.0f);
                EXPECT_EQ(v[c].ny, 0.0f);
                EXPECT_EQ(v[c].nz, 0.0f);
                EXPECT_EQ(v[c].tu, corners[c][0]);
                EXPECT_EQ(v[c].tv, corners[c][1]);
                EXPECT_EQ(v[c].x, v[0].x) << "a wheel stands in one plane x = const";
            }
            // Corners 0 and 1 are the top edge, 2 and 3 the bottom, upright under the picture.
            EXPECT_EQ(v[0].y, v[1].y);
            EXPECT_EQ(v[2].y, v[3].y);
            EXPECT_GT(v[0].y, v[2].y);
            EXPECT_EQ(v[0].z, v[2].z);
            EXPECT_EQ(v[1].z, v[3].z);
            squares.emplace_back(v[0].x, std::min(v[0].z, v[1].z), std::max(v[0].z, v[1].z), v[2].y, v[0].y);
        }

        std::vector<Square> expected;
        for (auto [from, to] : wheelSet.axles) {
            for (float x : {0.7f, -0.7f})
                expected.emplace_back(x, from, to, wheelSet.bottom, wheelSet.top);
        }
        std::sort(squares.begin(), squares.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(squares, expected);
    }
}

TEST(ModelLibrary, WagonRoofArchesFromTheSideWallsOverTheCentreLine)
{
    auto library = BuildLibrary();
    // The arch meets the side walls exactly; the 3.838 of its crown is rounded.
    const double radius = 1.3 * std::sqrt(2.0);
    const double tolerance = 1e-4;

    // The end arches: a centre on the top edge of the end wall and nine rim points, listed
    // from +x to -x at the front and from -x to +x at the back.
    for (int32_t p : {1, 2}) {
        SCOPED_TRACE("end arch " + std::to_string(p));
        const ModelPart& fan = ModelPartAt(*library, 300, p);
        float z = p == 1 ? 5.5f : -5.5f;
        double side = p == 1 ? 1.0 : -1.0;
        for (int32_t i = 0; i < fan.indexCount; ++i)
            EXPECT_EQ(library->indexes[fan.firstIndex + i], i);
        const ModelVertex& centre = PartVertex(*library, fan, 0);
        EXPECT_NEAR(centre.x, 0.0, tolerance);
        EXPECT_NEAR(centre.y, 3.3, tolerance);
        const struct {
            int32_t vertex;
            double x, y;
            double tolerance;
        } checkpoints[] = {{1, 1.3 * side, 3.3, tolerance}, {5, 0.0, 3.838, 1e-3}, {9, -1.3 * side, 3.3, tolerance}};
        for (const auto& checkpoint : checkpoints) {
            const ModelVertex& v = PartVertex(*library, fan, checkpoint.vertex);
            EXPECT_NEAR(v.x, checkpoint.x, checkpoint.tolerance);
            EXPECT_NEAR(v.y, checkpoint.y, checkpoint.tolerance);
        }
        for (int32_t i = 0; i < fan.vertexCount; ++i)
            EXPECT_EQ(PartVertex(*library, fan, i).z, z);
        for (int32_t i = 1; i < fan.vertexCount; ++i) {
            const ModelVertex& v = PartVertex(*library, fan, i);
            EXPECT_NEAR(std::hypot(v.x, v.y - 2.0), radius, tolerance);
        }
    }

    // The roof runs over the same nine points from end to end, each vertex's normal pointing
    // straight away from the arch's centre line.
    const ModelPart& roof = ModelPartAt(*library, 300, 3);
    const ModelPart& frontArch = ModelPartAt(*library, 300, 1);
    int roofVertices = 0;
    for (int32_t i = 0; i < roof.vertexCount; ++i) {
        const ModelVertex& v = PartVertex(*library, roof, i);
        if (v.nz != 0.0f)
            continue;  // the end walls
        roofVertices += 1;
        EXPECT_NEAR(std::hypot(v.x, v.y - 2.0), radius, tolerance);
        EXPECT_FLOAT_EQ(v.nx, v.x);
        EXPECT_NEAR(v.ny, v.y - 2.0f, 1e-5);
        EXPECT_TRUE(v.z == 5.5f || v.z == -5.5f);
        bool onArch = false;
        for (int32_t k = 1; k < frontArch.vertexCount; ++k) {
            const ModelVertex& a = PartVertex(*library, frontArch, k);
            onArch = onArch || (a.x == v.x && a.y == v.y);
        }
        EXPECT_TRUE(onArch) << "roof vertex (" << v.x << ", " << v.y << ") off the end arches";
    }
    EXPECT_EQ(roofVertices, 32);
}

TEST(ModelLibrary, DiscIsAClosedFanWhoseRimTheNoisePushesOut)
{
    auto plain = BuildLibrary({0, 0, 0, 0});
    const ModelPart& plainDisc = ModelPartAt(*plain, 1001, 0);
    ASSERT_EQ(plainDisc.vertexCount, 37);
    ASSERT_EQ(plainDisc.indexCount, 38);
    for (int32_t i = 0; i < 37; ++i)
        EXPECT_EQ(plain->indexes[plainDisc.firstIndex + i], i);
    EXPECT_EQ(plain->indexes[plainDisc.firstIndex + 37], 1) << "the fan closes on its first rim vertex";

    const ModelVertex& centre = PartVertex(*plain, plainDisc, 0);
    EXPECT_EQ(std::make_tuple(centre.x, centre.y, centre.z, centre.tu, centre.tv),
              std::make_tuple(0.0f, 0.0f, 0.0f, 0.5f, 0.5f));
    // Without noise the rim is the ellipse of half-axes 150 along x and 100 along y, starting
    // at the top and turning towards +x in 10-degree steps.
    for (int32_t k = 0; k < 36; ++k) {
        const ModelVertex& v = PartVertex(*plain, plainDisc, 1 + k);
        EXPECT_NEAR(v.x * v.x / (150.0 * 150.0) + v.y * v.y / (100.0 * 100.0), 1.0, 1e-5) << "k " << k;
        double angle = std::atan2(v.x, v.y);
        if (angle < -1e-3)
            angle += 2 * 3.1416;
        EXPECT_NEAR(angle, k * 3.1416 / 18, 1e-3) << "k " << k;
        EXPECT_EQ(std::make_tuple(v.nx, v.ny, v.nz), std::make_tuple(1.0f, 1.0f, 0.0f));
        EXPECT_FLOAT_EQ(v.tu, v.y / 300.0f + 0.5f);
        EXPECT_FLOAT_EQ(v.tv, v.x / 300.0f + 0.5f);
    }
    EXPECT_NEAR(PartVertex(*plain, plainDisc, 1).y, 100.0, 1e-3);
    EXPECT_NEAR(PartVertex(*plain, plainDisc, 10).x, 150.0, 1e-3);

    // The right half of the rim moves out by 50 m times the larger of the first two noise
    // values, the upper part (within 90 degrees of the top) by the larger of the next two.
    const struct {
        Noise noise;
        float pushX, pushY;
    } cases[] = {
        {{1, 1, 1, 1}, 50, 50},
        {{0.2f, 0.6f, 0, 0}, 30, 0},
        {{0.6f, 0.2f, 0, 0}, 30, 0},
        {{0, 0, 0.3f, 0.9f}, 0, 45},
        {{0, 0, 0.9f, 0.3f}, 0, 45},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "noise " << c.noise[0] << " " << c.noise[1] << " " << c.noise[2] << " "
                                          << c.noise[3]);
        auto pushed = BuildLibrary(c.noise);
        const ModelPart& disc = ModelPartAt(*pushed, 1001, 0);
        for (int32_t k = 0; k < 36; ++k) {
            const ModelVertex& before = PartVertex(*plain, plainDisc, 1 + k);
            const ModelVertex& after = PartVertex(*pushed, disc, 1 + k);
            float wantX = k < 18 ? before.x + c.pushX : before.x;
            float wantY = (k < 9 || k > 27) ? before.y + c.pushY : before.y;
            EXPECT_NEAR(after.x, wantX, 1e-3) << "k " << k;
            EXPECT_NEAR(after.y, wantY, 1e-3) << "k " << k;
            EXPECT_FLOAT_EQ(after.tu, after.y / 300.0f + 0.5f);
            EXPECT_FLOAT_EQ(after.tv, after.x / 300.0f + 0.5f);
        }
        EXPECT_EQ(pushed->indexes[disc.firstIndex + 37], 1);
    }
}

TEST(ModelLibrary, RebuildingOnTheSameRecordStartsAfreshAndRepeatsItself)
{
    const Noise noise = {0.3f, 0.8f, 0.1f, 0.6f};
    auto fresh = BuildLibrary(noise);

    // A record left over from an earlier build, with stale counts and a stale model entry.
    auto reused = std::make_unique<ModelLibrary>();
    std::memset(reused.get(), 0, sizeof(ModelLibrary));
    BuildModelLibrary(*reused, noise.data());
    reused->models[7] = {5, 3, 99.0f};
    reused->models[9999] = {1, 1, 1.0f};
    for (int build = 0; build < 2; ++build) {
        SCOPED_TRACE("build " + std::to_string(build));
        BuildModelLibrary(*reused, noise.data());
        ASSERT_EQ(reused->vertexCount, fresh->vertexCount);
        ASSERT_EQ(reused->indexCount, fresh->indexCount);
        ASSERT_EQ(reused->partCount, fresh->partCount);
        ASSERT_EQ(reused->builtModelCount, fresh->builtModelCount);
        EXPECT_EQ(std::memcmp(reused->vertices.data(), fresh->vertices.data(),
                              sizeof(ModelVertex) * static_cast<size_t>(fresh->vertexCount)),
                  0);
        EXPECT_EQ(std::memcmp(reused->indexes.data(), fresh->indexes.data(),
                              sizeof(int32_t) * static_cast<size_t>(fresh->indexCount)),
                  0);
        EXPECT_EQ(std::memcmp(reused->parts.data(), fresh->parts.data(),
                              sizeof(ModelPart) * static_cast<size_t>(fresh->partCount)),
                  0);
        EXPECT_EQ(std::memcmp(reused->models.data(), fresh->models.data(), sizeof(reused->models)), 0);
        EXPECT_EQ(reused->buildOrder, fresh->buildOrder);
        EXPECT_EQ(reused->models[7].partCount, 0);
        EXPECT_EQ(reused->models[9999].partCount, 0);
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
    for (int32_t id = 1; id <= 22; ++id) {
        ASSERT_NE(ModelTextureName(id), nullptr) << "id " << id;
        EXPECT_STREQ(ModelTextureName(id), names[id]) << "id " << id;
    }
    for (int32_t id : {0, -1, 23, 1000})
        EXPECT_EQ(ModelTextureName(id), nullptr) << "id " << id;

    // The town buildings use the first, third, fourth, sixth and seventh town pictures.
    auto library = BuildLibrary();
    const char* const townWalls[5] = {"TOWN_1.BMP", "TOWN_3.BMP", "TOWN_4.BMP", "TOWN_6.BMP", "TOWN_7.BMP"};
    for (int32_t k = 0; k < 5; ++k)
        EXPECT_STREQ(ModelTextureName(ModelPartAt(*library, 2 + k, 0).textureId), townWalls[k]) << "type " << 2 + k;
}
