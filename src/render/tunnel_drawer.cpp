// A tunnel segment: floor, walls, a vaulted roof and the two portals between the 10th and
// the 90th percent of the segment, under a mountain of grass that covers both sides.

#include "render/render_local.h"
#include "world/track.h"

namespace {

constexpr uint16_t QuadIndexes[6] = {0, 1, 2, 0, 2, 3};

// The vault is eight bands between nine arches, each arch a pair of vertices at the two
// portals.
constexpr int RoofVertexCount = 18;
constexpr uint16_t RoofIndexes[48] = {
    0,  2,  3,  0,  3,  1,  2,  4,  5,  2,  5,  3,  4,  6,  7,  4,  7,  5,  6,  8,  9,  6,  9,  7,
    8,  10, 11, 8,  11, 9,  10, 12, 13, 10, 13, 11, 12, 14, 15, 12, 15, 13, 14, 16, 17, 14, 17, 15,
};
// The half-ellipse runs from pi down to 0 in eighths; both are the floats the route was
// built with (0x40490FF9 and 0x3EC90FF9).
constexpr float RoofStartAngle = 3.1416f;
constexpr float RoofAngleStep = 0.3927f;

// Each portal closes the space between its outer top corners and the vault (roof slots
// 0..17), and a wing wall falls from each outer corner to the ground at the segment's end.
constexpr uint16_t PortalIndexes[90] = {
    18, 19, 21, 18, 21, 20, 20, 21, 0,  0,  21, 2,  2,  21, 4,  4,  21, 6,  6,  21, 8,  8,  21, 23,
    8,  23, 10, 10, 23, 12, 12, 23, 14, 14, 23, 16, 16, 23, 24, 24, 23, 26, 26, 23, 25, 34, 32, 35,
    35, 32, 33, 33, 32, 17, 17, 32, 15, 15, 32, 13, 13, 32, 11, 11, 32, 9,  9,  32, 30, 9,  30, 7,
    7,  30, 5,  5,  30, 3,  3,  30, 1,  1,  30, 29, 29, 30, 27, 27, 30, 28,
};

// A field 1000 m wide at track level before the first portal and after the second, rising
// between them to a ridge across the middle of the segment. Over the first portal the slope
// starts at the portal's top edge, with a steep face from that edge down to the field on either
// side, so that the land never cuts through the bore. Some triangles are degenerate, where a
// corner slot repeats.
constexpr uint16_t MountainIndexes[105] = {
    // The left flank, fanned from the field's corner beside the first portal.
    8,  9,  6,  9,  10, 6,  6,  10, 6,  10, 11, 6,  11, 12, 6,  12, 13, 6,  13, 14, 6,  14, 15, 6,  15, 16, 6,
    // The slope over the first portal, from its top corners (4, 5) up to the ridge, and the
    // faces that fall from those corners to the portal's feet (0, 1) and out to the field.
    6,  16, 4,  4,  16, 5,  5,  16, 7,  6,  4,  0,  1,  5,  7,
    // The right flank, and the field between the segment's start and the first portal.
    7,  16, 17, 7,  17, 18, 2,  6,  7,  2,  7,  3,
    8,  19, 9,  9,  19, 10, 10, 19, 20, 10, 20, 11, 11, 20, 12, 12, 20, 13, 13, 20, 21, 13, 21, 14, 14, 21, 15,
    15, 21, 16, 16, 21, 22, 16, 22, 17, 17, 22, 18, 19, 23, 24, 19, 24, 20, 21, 25, 26, 21, 26, 22,
};
constexpr int RidgePointCount = 11;

GroundPoint Flat(Vector3 point)
{
    return {point.x, point.z};
}

}  // namespace

void DrawTunnel(const SceneFrame& frame, const GroundStrip& strip)
{
    const Vector3 start = {strip.startX, strip.startHeight, strip.startZ};
    const Vector3 end = {strip.endX, strip.endHeight, strip.endZ};
    const Vector3 portalA = Lerp(start, end, 0.1f);
    const Vector3 portalB = Lerp(start, end, 0.9f);
    const Vector3 middle = Lerp(portalA, portalB, 0.5f);
    const float h0 = strip.startHeading;
    const float h1 = strip.endHeading;
    const GroundPoint s = Flat(start);
    const GroundPoint e = Flat(end);
    const GroundPoint a = Flat(portalA);
    const GroundPoint b = Flat(portalB);
    const GroundPoint m = Flat(middle);

    GroundMesh mesh;

    // The floor, 10 m wide and 1 m below the track, from end to end.
    mesh.count = 0;
    AddGroundVertex(mesh, LeftOf(s, h0, -5.0f), start.y - 1.0f, 0.0f, 1.0f);
    AddGroundVertex(mesh, LeftOf(s, h0, 5.0f), start.y - 1.0f, 1.0f, 1.0f);
    AddGroundVertex(mesh, LeftOf(e, h1, 5.0f), end.y - 1.0f, 0.0f, 0.0f);
    AddGroundVertex(mesh, LeftOf(e, h1, -5.0f), end.y - 1.0f, 1.0f, 0.0f);
    UseColour(frame, 0.4f, 0.4f, 0.4f);
    DrawGroundMeshIndexed(frame, PrimitiveKind::TriangleList, mesh, QuadIndexes, 6);

    // The walls, 3 m to either side between the portals, from 2 m below the track to 5 m above.
    mesh.count = 0;
    AddGroundVertex(mesh, LeftOf(a, h0, 3.0f), portalA.y - 2.0f, 0.0f, 1.0f);
    AddGroundVertex(mesh, LeftOf(a, h0, 3.0f), portalA.y + 5.0f, 1.0f, 1.0f);
    AddGroundVertex(mesh, LeftOf(b, h1, 3.0f), portalB.y + 5.0f, 0.0f, 0.0f);
    AddGroundVertex(mesh, LeftOf(b, h1, 3.0f), portalB.y - 2.0f, 1.0f, 0.0f);
    UseColour(frame, 0.1f, 0.1f, 0.1f);
    DrawGroundMeshIndexed(frame, PrimitiveKind::TriangleList, mesh, QuadIndexes, 6);

    mesh.count = 0;
    AddGroundVertex(mesh, LeftOf(a, h0, -3.0f), portalA.y + 5.0f, 0.0f, 1.0f);
    AddGroundVertex(mesh, LeftOf(a, h0, -3.0f), portalA.y - 2.0f, 1.0f, 1.0f);
    AddGroundVertex(mesh, LeftOf(b, h1, -3.0f), portalB.y - 2.0f, 0.0f, 0.0f);
    AddGroundVertex(mesh, LeftOf(b, h1, -3.0f), portalB.y + 5.0f, 1.0f, 0.0f);
    UseColour(frame, 0.1f, 0.1f, 0.1f);
    DrawGroundMeshIndexed(frame, PrimitiveKind::TriangleList, mesh, QuadIndexes, 6);

    // The roof: a half-elliptic vault 6 m wide and 2.5 m high on top of the walls, from the
    // left wall over to the right one.
    mesh.count = 0;
    for (float angle = RoofStartAngle; angle >= 0.0f && mesh.count < RoofVertexCount; angle -= RoofAngleStep) {
        float across = 3.0f * Cosine(angle);
        float rise = 5.0f + 2.5f * Sine(angle);
        AddGroundVertex(mesh, LeftOf(a, h0, -across), portalA.y + rise, 0.0f, 0.0f);
        AddGroundVertex(mesh, LeftOf(b, h0, -across), portalB.y + rise, 0.0f, 0.0f);
    }
    UseColour(frame, 0.1f, 0.1f, 0.1f);
    DrawGroundMeshIndexed(frame, PrimitiveKind::TriangleList, mesh, RoofIndexes, 48);

    // The portals keep the roof's slots and add their own behind them; every lateral offset
    // follows the start heading.
    AddGroundVertex(mesh, LeftOf(s, h0, 3.0f), start.y - 1.0f, 0.0f, 0.0f);
    AddGroundVertex(mesh, LeftOf(s, h0, 5.0f), start.y - 1.0f, 0.49f, 0.0f);
    AddGroundVertex(mesh, LeftOf(a, h0, 3.0f), portalA.y - 1.0f, 0.0f, 0.0f);
    AddGroundVertex(mesh, LeftOf(a, h0, 5.0f), portalA.y + 10.0f, 0.49f, 0.1f);
    AddGroundVertex(mesh, a, portalA.y + 10.0f, 0.5f, 0.1f);
    AddGroundVertex(mesh, LeftOf(a, h0, -5.0f), portalA.y + 10.0f, 0.51f, 0.1f);
    AddGroundVertex(mesh, LeftOf(a, h0, -3.0f), portalA.y - 1.0f, 0.0f, 0.0f);
    AddGroundVertex(mesh, LeftOf(s, h0, -5.0f), start.y - 1.0f, 0.51f, 0.0f);
    AddGroundVertex(mesh, LeftOf(s, h0, -3.0f), start.y - 1.0f, 0.0f, 0.0f);
    AddGroundVertex(mesh, LeftOf(e, h0, 3.0f), end.y - 1.0f, 0.0f, 0.0f);
    AddGroundVertex(mesh, LeftOf(e, h0, 5.0f), end.y - 1.0f, 0.49f, 1.0f);
    AddGroundVertex(mesh, LeftOf(b, h0, 3.0f), portalB.y - 1.0f, 0.0f, 0.0f);
    AddGroundVertex(mesh, LeftOf(b, h0, 5.0f), portalB.y + 10.0f, 0.49f, 0.9f);
    AddGroundVertex(mesh, b, portalB.y + 10.0f, 0.5f, 0.9f);
    AddGroundVertex(mesh, LeftOf(b, h0, -5.0f), portalB.y + 10.0f, 0.51f, 0.9f);
    AddGroundVertex(mesh, LeftOf(b, h0, -3.0f), portalB.y - 1.0f, 0.0f, 0.0f);
    AddGroundVertex(mesh, LeftOf(e, h0, -5.0f), end.y - 1.0f, 0.51f, 1.0f);
    AddGroundVertex(mesh, LeftOf(e, h0, -3.0f), end.y - 1.0f, 0.0f, 0.0f);
    UseColour(frame, 0.3f, 0.3f, 0.3f);
    DrawGroundMeshIndexed(frame, PrimitiveKind::TriangleList, mesh, PortalIndexes, 90);

    // The mountain. Slots 0 and 1 are the first portal's feet and 4 and 5 its top corners,
    // where the slope over it begins. The ridge's two outer points lie at an absolute height of
    // -1 and the others 50 to 80 m up, whatever the height of the track. The grass runs across
    // from u 0 at 500 m to the left to u 1 at 500 m to the right.
    auto acrossU = [](float leftOffset) { return (500.0f - leftOffset) / 1000.0f; };
    mesh.count = 0;
    AddGroundVertex(mesh, LeftOf(a, h0, 3.0f), portalA.y - 1.0f, acrossU(3.0f), 0.1f);
    AddGroundVertex(mesh, LeftOf(a, h0, -3.0f), portalA.y - 1.0f, acrossU(-3.0f), 0.1f);
    AddGroundVertex(mesh, LeftOf(s, h0, 500.0f), start.y - 1.0f, 0.0f, 0.0f);
    AddGroundVertex(mesh, LeftOf(s, h0, -500.0f), start.y - 1.0f, 1.0f, 0.0f);
    AddGroundVertex(mesh, LeftOf(a, h0, 5.0f), portalA.y + 10.0f, acrossU(5.0f), 0.1f);
    AddGroundVertex(mesh, LeftOf(a, h0, -5.0f), portalA.y + 10.0f, acrossU(-5.0f), 0.1f);
    AddGroundVertex(mesh, LeftOf(a, h0, 500.0f), portalA.y - 1.0f, 0.0f, 0.1f);
    AddGroundVertex(mesh, LeftOf(a, h0, -500.0f), portalA.y - 1.0f, 1.0f, 0.1f);
    for (int j = 0; j < RidgePointCount; ++j) {
        bool isOuter = j == 0 || j == RidgePointCount - 1;
        float height = isOuter ? -1.0f : 50.0f + 30.0f * GroundNoiseAt(frame, j);
        AddGroundVertex(mesh, LeftOf(m, h0, 500.0f - 100.0f * j), height, 0.5f, 0.1f * j);
    }
    for (int i = 0; i < 3; ++i)
        AddGroundVertex(mesh, LeftOf(b, h0, 500.0f), portalB.y - 1.0f, 0.0f, 0.9f);
    AddGroundVertex(mesh, LeftOf(b, h0, -500.0f), portalB.y - 1.0f, 1.0f, 0.9f);
    for (int i = 0; i < 3; ++i)
        AddGroundVertex(mesh, LeftOf(e, h0, 500.0f), end.y - 1.0f, 0.0f, 1.0f);
    AddGroundVertex(mesh, LeftOf(e, h0, -500.0f), end.y - 1.0f, 1.0f, 1.0f);
    UseGrass(frame);
    DrawGroundMeshIndexed(frame, PrimitiveKind::TriangleList, mesh, MountainIndexes, 105);
}
