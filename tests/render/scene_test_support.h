#pragma once
// Small worlds and geometry helpers for the scene tests: a reset world with a known player
// position, segments and strips laid by hand, points through row-vector matrices, and the
// triangles a draw makes as the device would see them.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#include <memory>
#include <vector>

#include "recording_device.h"
#include "render/render_local.h"
#include "world/world.h"

// A world after the reset: empty tables, the player's unit at the start, the texture names
// registered and a random ground-noise pattern.
inline std::unique_ptr<World> MakeTestWorld()
{
    auto world = std::make_unique<World>();
    WorldReset(*world);
    return world;
}

inline void PlacePlayer(World& world, float x, float z)
{
    std::tie(world.trains[world.playerUnit].posX, world.trains[world.playerUnit].posZ) = std::tuple(x, z);
}

inline TrackSegment StraightSegment(float startX, float startZ, float heading, float length)
{
    TrackSegment segment{};
    std::tie(segment.type, segment.startX, segment.startZ, segment.length) = std::tuple(SegmentStraight, startX, startZ, length);
    segment.startHeading = segment.endHeading = heading;
    segment.endX = static_cast<float>(startX + std::sin(static_cast<double>(heading)) * length);
    segment.endZ = static_cast<float>(startZ + std::cos(static_cast<double>(heading)) * length);
    return segment;
}

// A curve of radius 1000 laid as the track builder lays it.
inline TrackSegment CurveSegment(int32_t type, float startX, float startZ, float startHeading, float length)
{
    TrackSegment segment{};
    std::tie(segment.type, segment.startX, segment.startZ, segment.radius, segment.length, segment.startHeading) =
        std::tuple(type, startX, startZ, 1000.0f, length, startHeading);
    // The centre lies 1000 m to the side the curve turns to; the heading turns a radian per km.
    const double side = type == SegmentCurveLeft ? 1.0 : -1.0, h0 = startHeading, h1 = h0 - side * length / 1000.0;
    const double cx = startX - side * std::cos(h0) * 1000.0, cz = startZ + side * std::sin(h0) * 1000.0;
    segment.endHeading = static_cast<float>(h1);
    segment.endX = static_cast<float>(cx + side * std::cos(h1) * 1000.0);
    segment.endZ = static_cast<float>(cz - side * std::sin(h1) * 1000.0);
    return segment;
}

inline GroundStrip StripAlong(const TrackSegment& segment, int32_t leftSide, int32_t rightSide)
{
    GroundStrip strip{};
    std::tie(strip.kind, strip.leftSide, strip.rightSide) =
        std::tuple(segment.type == SegmentTunnel ? 1 : segment.type, leftSide, rightSide);
    std::tie(strip.startX, strip.startZ, strip.startHeight, strip.startHeading) =
        std::tuple(segment.startX, segment.startZ, segment.startHeight, segment.startHeading);
    std::tie(strip.endX, strip.endZ, strip.endHeight, strip.endHeading) =
        std::tuple(segment.endX, segment.endZ, segment.endHeight, segment.endHeading);
    return strip;
}

// The point p (w = 1) times the matrix, for row vectors.
inline Vector3 TransformByMatrix(const Matrix4& m, Vector3 p)
{
    return {
        p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0],
        p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1],
        p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2],
    };
}

inline bool IsTranslation(const Matrix4& m, float x, float y, float z)
{
    Matrix4 translation = IdentityMatrix();
    std::tie(translation.m[3][0], translation.m[3][1], translation.m[3][2]) = std::tuple(x, y, z);
    return std::memcmp(&m, &translation, sizeof(Matrix4)) == 0;
}

struct DrawnTriangle {
    SceneVertex a, b, c;
};

// The triangles of a draw in the order of their corners as the device rasterises them: a
// strip's odd triangles are turned round so that the whole strip keeps one winding.
inline std::vector<DrawnTriangle> TrianglesOf(const RecordedDraw& draw)
{
    std::vector<DrawnTriangle> triangles;
    const auto& v = draw.vertices;
    const auto& i = draw.indexes;
    const bool list = draw.kind == PrimitiveKind::TriangleList, fan = draw.kind == PrimitiveKind::TriangleFan;
    for (size_t k = 0; k + 2 < i.size(); k += list ? 3 : 1) {
        const bool odd = !list && !fan && k % 2 == 1;
        triangles.push_back({v[i[fan ? 0 : odd ? k + 1 : k]], v[i[odd ? k : k + 1]], v[i[k + 2]]});
    }
    return triangles;
}

// Twice the signed area of the triangle seen from above (x to the right, z up the page):
// negative when its corners run clockwise, the winding that faces up.
inline double SignedAreaFromAbove(const DrawnTriangle& t)
{
    double ax = t.a.x, az = t.a.z;
    return (t.b.x - ax) * (t.c.z - az) - (t.c.x - ax) * (t.b.z - az);
}

inline double FlatDistance(double x1, double z1, double x2, double z2) { return std::hypot(x1 - x2, z1 - z2); }

// A triangle whose corners lie on one line seen from above (a wall, or three points along
// one radius) has no winding from above; rounding alone would give it a sign.
inline bool IsEdgeOnFromAbove(const DrawnTriangle& t)
{
    auto squared = [](const SceneVertex& p, const SceneVertex& q) {
        double dx = p.x - q.x, dz = p.z - q.z;
        return dx * dx + dz * dz;
    };
    double longest = std::max({squared(t.a, t.b), squared(t.b, t.c), squared(t.c, t.a)});
    return std::fabs(SignedAreaFromAbove(t)) <= 1e-5 * longest;
}
