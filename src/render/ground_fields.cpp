// Open fields beside the track: flat grass, grass with a raised or sunken middle, and the
// band of grass on the outside of a curve.

#include <cmath>

#include "render/render_local.h"
#include "world/track.h"

namespace {

// A field reaches 500 m out from the track; the outer field of a curve reaches 500 m past it.
constexpr float FieldWidth = 500.0f;
constexpr float OuterFieldRadius = 1500.0f;

constexpr uint16_t FlatFieldIndexes[6] = {0, 2, 3, 0, 3, 1};

// The plateau (or hollow) in the middle of the field, and the four slopes and two ends
// around it.
constexpr uint16_t ReliefFieldIndexes[30] = {
    0, 2, 3, 0, 3, 1, 0, 6, 4, 0, 4, 2, 2, 4, 5, 2, 5, 3, 3, 5, 7, 3, 7, 1, 4, 6, 7, 4, 7, 5,
};

// The four corners of one side's field, all 1 m below the track: near the track and far
// from it, at the start and at the end.
struct FieldCorners {
    Vector3 nearStart, farStart, nearEnd, farEnd;
};

FieldCorners FindFieldCorners(const GroundStrip& strip, GroundSide side)
{
    const float width = side == GroundSide::Left ? FieldWidth : -FieldWidth;
    const GroundPoint start = {strip.startX, strip.startZ};
    const GroundPoint end = {strip.endX, strip.endZ};
    const GroundPoint farStart = LeftOf(start, strip.startHeading, width);
    const GroundPoint farEnd = LeftOf(end, strip.endHeading, width);
    const float startY = strip.startHeight - 1.0f;
    const float endY = strip.endHeight - 1.0f;
    return {
        {start.x, startY, start.z},
        {farStart.x, startY, farStart.z},
        {end.x, endY, end.z},
        {farEnd.x, endY, farEnd.z},
    };
}

void AddFieldVertex(GroundMesh& mesh, Vector3 point, float tu, float tv)
{
    AddGroundVertex(mesh, {point.x, point.z}, point.y, tu, tv);
}

Vector3 Raised(Vector3 point, float height)
{
    return {point.x, point.y + height, point.z};
}

}  // namespace

void DrawFlatField(const SceneFrame& frame, const GroundStrip& strip, GroundSide side)
{
    const FieldCorners corners = FindFieldCorners(strip, side);
    GroundMesh mesh;
    mesh.count = 0;
    // The same slots on both sides, with the track edge and the far edge swapped, keep the
    // triangles wound clockwise from above.
    if (side == GroundSide::Left) {
        AddFieldVertex(mesh, corners.farStart, 0.0f, 1.0f);
        AddFieldVertex(mesh, corners.nearStart, 1.0f, 1.0f);
        AddFieldVertex(mesh, corners.farEnd, 0.0f, 0.0f);
        AddFieldVertex(mesh, corners.nearEnd, 1.0f, 0.0f);
    } else {
        AddFieldVertex(mesh, corners.nearStart, 0.0f, 1.0f);
        AddFieldVertex(mesh, corners.farStart, 1.0f, 1.0f);
        AddFieldVertex(mesh, corners.nearEnd, 0.0f, 0.0f);
        AddFieldVertex(mesh, corners.farEnd, 1.0f, 0.0f);
    }
    UseGrass(frame);
    DrawGroundMeshIndexed(frame, PrimitiveKind::TriangleList, mesh, FlatFieldIndexes, 6);
}

void DrawReliefField(const SceneFrame& frame, const GroundStrip& strip, GroundSide side)
{
    const FieldCorners corners = FindFieldCorners(strip, side);
    const bool isLeft = side == GroundSide::Left;
    const float relief = isLeft ? strip.leftRelief : strip.rightRelief;

    // Slots 0, 1 at the start and 6, 7 at the end; the inner four lie at 20 % and 80 % along
    // the two diagonals of the field and carry the plateau.
    const Vector3 v0 = isLeft ? corners.farStart : corners.nearStart;
    const Vector3 v1 = isLeft ? corners.nearStart : corners.farStart;
    const Vector3 v6 = isLeft ? corners.farEnd : corners.nearEnd;
    const Vector3 v7 = isLeft ? corners.nearEnd : corners.farEnd;

    GroundMesh mesh;
    mesh.count = 0;
    AddFieldVertex(mesh, v0, 1.0f, 0.0f);
    AddFieldVertex(mesh, v1, 1.0f, 1.0f);
    AddFieldVertex(mesh, Raised(Lerp(v0, v7, 0.2f), relief), 0.8f, 0.2f);
    AddFieldVertex(mesh, Raised(Lerp(v1, v6, 0.2f), relief), 0.8f, 0.8f);
    AddFieldVertex(mesh, Raised(Lerp(v1, v6, 0.8f), relief), 0.2f, 0.2f);
    AddFieldVertex(mesh, Raised(Lerp(v0, v7, 0.8f), relief), 0.2f, 0.8f);
    AddFieldVertex(mesh, v6, 0.0f, 0.0f);
    AddFieldVertex(mesh, v7, 0.0f, 1.0f);
    UseGrass(frame);
    DrawGroundMeshIndexed(frame, PrimitiveKind::TriangleList, mesh, ReliefFieldIndexes, 30);
}

void DrawCurveOuterField(const SceneFrame& frame, const GroundStrip& strip, GroundSide side)
{
    // Outside a right curve the land is on the left, outside a left curve on the right.
    const bool isLeft = side == GroundSide::Left;
    const float turn = isLeft ? RightTurn : LeftTurn;
    const CurveCentre centre =
        MakeCurveCentre(strip.startX, strip.startZ, strip.startHeading, GroundCurveRadius, turn);
    const float h0 = strip.startHeading;
    const float h1 = strip.endHeading;
    const float halfSpan = std::fabs(h1 - h0) / 2.0f;
    const float middle = isLeft ? h0 + halfSpan : h0 - halfSpan;
    // The fan runs from the larger heading to the smaller.
    const float high = isLeft ? h1 : h0;
    const float low = isLeft ? h0 : h1;
    const float arcDegrees = ArcDegrees(strip);
    const float y = strip.startHeight - 1.0f;

    GroundMesh mesh;
    mesh.count = 0;
    // Its outer edge is two chords through the point at mid-angle; its inner edge follows the
    // track degree by degree.
    AddGroundVertex(mesh, CurvePoint(centre, middle, OuterFieldRadius), y, 0.5f, 1.0f);
    AddGroundVertex(mesh, CurvePoint(centre, high, OuterFieldRadius), y, 0.0f, 1.0f);
    AddGroundVertex(mesh, CurvePoint(centre, high, GroundCurveRadius), y, 0.0f, 0.0f);
    ArcWalk arc = StartArcWalk(high, low, -GroundArcStep, 0);
    while (HasRoom(mesh, 2) && StepArcWalk(arc))
        AddGroundVertex(mesh, CurvePoint(centre, arc.angle, GroundCurveRadius), y, arc.k / arcDegrees, 0.0f);
    AddGroundVertex(mesh, CurvePoint(centre, low, OuterFieldRadius), y, 1.0f, 1.0f);
    UseGrass(frame);
    DrawGroundMesh(frame, PrimitiveKind::TriangleFan, mesh);
}
