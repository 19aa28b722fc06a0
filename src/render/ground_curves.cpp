// The land inside a curve: either a bank falling to a lake that fills the space towards the
// curve's centre, or a cutting closed by walls at both ends with an embankment behind it.

#include <cmath>

#include "render/render_local.h"
#include "world/track.h"

namespace {

// Inside a left curve the land is on the left, inside a right curve on the right.
CurveCentre InnerCurveCentre(const GroundStrip& strip, GroundSide side)
{
    const float turn = side == GroundSide::Left ? LeftTurn : RightTurn;
    return MakeCurveCentre(strip.startX, strip.startZ, strip.startHeading, GroundCurveRadius, turn);
}

// The bank's foot lies about 10 m inside the track, its last pair a little further in.
float BankFootRadius(const SceneFrame& frame, int slot, bool atEnd)
{
    return (atEnd ? 990.0f : 995.0f) - 3.0f * GroundNoiseAt(frame, slot);
}

}  // namespace

void DrawBankAndLake(const SceneFrame& frame, const GroundStrip& strip, GroundSide side)
{
    const CurveCentre centre = InnerCurveCentre(strip, side);
    const GroundPoint centrePoint = {centre.x, centre.z};
    const float h0 = strip.startHeading;
    const float h1 = strip.endHeading;
    const float y = strip.startHeight;
    const float arcDegrees = ArcDegrees(strip);

    // The bank drops from 1 m below the track, 1 m outside its centre line, to 3 m below at
    // its foot; its texture runs one degree ahead of the arc.
    GroundMesh mesh;
    mesh.count = 0;
    if (side == GroundSide::Left) {
        AddGroundVertex(mesh, CurvePoint(centre, h0, 1001.0f), y - 3.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, CurvePoint(centre, h0, 990.0f - 3.0f * GroundNoiseAt(frame, 1)), y - 3.0f, 0.0f, 0.01f);
        AddGroundVertex(mesh, CurvePoint(centre, h0, 1001.0f), y - 1.0f, 1.0f / arcDegrees, 0.0f);
        AddGroundVertex(mesh, CurvePoint(centre, h0, 990.0f - 3.0f * GroundNoiseAt(frame, 3)), y - 3.0f,
                        1.0f / arcDegrees, 0.01f);
        ArcWalk arc = StartArcWalk(h0, h1, -GroundArcStep, 2);
        while (HasRoom(mesh, 4) && StepArcWalk(arc)) {
            float tu = arc.k / arcDegrees;
            AddGroundVertex(mesh, CurvePoint(centre, arc.angle, 1001.0f), y - 1.0f, tu, 0.0f);
            float footRadius = BankFootRadius(frame, mesh.count, ArcWalkAtEnd(arc));
            AddGroundVertex(mesh, CurvePoint(centre, arc.angle, footRadius), y - 3.0f, tu, 0.01f);
        }
        AddGroundVertex(mesh, centrePoint, y, 1.0f, 0.01f);
        AddGroundVertex(mesh, centrePoint, y - 3.0f, 1.0f, 0.01f);
    } else {
        AddGroundVertex(mesh, CurvePoint(centre, h0, 990.0f - 3.0f * GroundNoiseAt(frame, 0)), y - 3.0f, 0.0f, 0.01f);
        AddGroundVertex(mesh, CurvePoint(centre, h0, 1001.0f), y - 3.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, CurvePoint(centre, h0, 990.0f - 3.0f * GroundNoiseAt(frame, 2)), y - 3.0f,
                        1.0f / arcDegrees, 0.01f);
        AddGroundVertex(mesh, CurvePoint(centre, h0, 1001.0f), y - 1.0f, 1.0f / arcDegrees, 0.0f);
        ArcWalk arc = StartArcWalk(h0, h1, GroundArcStep, 2);
        while (HasRoom(mesh, 4) && StepArcWalk(arc)) {
            float tu = arc.k / arcDegrees;
            float footRadius = BankFootRadius(frame, mesh.count, ArcWalkAtEnd(arc));
            AddGroundVertex(mesh, CurvePoint(centre, arc.angle, footRadius), y - 3.0f, tu, 0.01f);
            AddGroundVertex(mesh, CurvePoint(centre, arc.angle, 1001.0f), y - 1.0f, tu, 0.0f);
        }
        AddGroundVertex(mesh, centrePoint, y - 3.0f, 1.0f, 0.01f);
        AddGroundVertex(mesh, centrePoint, y, 1.0f, 0.01f);
    }
    UseGrass(frame);
    DrawGroundMesh(frame, PrimitiveKind::TriangleStrip, mesh);

    // The water fills the sector between the centre and 100 m beyond the track, 2.5 m below it.
    GroundMesh lake;
    lake.count = 0;
    const float lakeY = y - 2.5f;
    const float firstLakeHeading = side == GroundSide::Left ? h1 : h0;
    const float secondLakeHeading = side == GroundSide::Left ? h0 : h1;
    AddGroundVertex(lake, centrePoint, lakeY, 0.0f, 0.0f);
    AddGroundVertex(lake, CurvePoint(centre, firstLakeHeading, 1100.0f), lakeY, 0.0f, 0.0f);
    AddGroundVertex(lake, CurvePoint(centre, secondLakeHeading, 1100.0f), lakeY, 0.0f, 0.0f);
    UseColour(frame, 0.2f, 0.5f, 1.0f);
    DrawGroundMesh(frame, PrimitiveKind::TriangleList, lake);
}

void DrawCuttingAndEmbankment(const SceneFrame& frame, const GroundStrip& strip, GroundSide side)
{
    const bool isLeft = side == GroundSide::Left;
    const CurveCentre centre = InnerCurveCentre(strip, side);
    const GroundPoint start = {strip.startX, strip.startZ};
    const float h0 = strip.startHeading;
    const float h1 = strip.endHeading;
    const float y = strip.startHeight;
    const float arcDegrees = ArcDegrees(strip);
    // Left curves walk their arc down, right curves up.
    const float arcStep = isLeft ? -GroundArcStep : GroundArcStep;
    const float embankmentStep = isLeft ? -EmbankmentArcStep : EmbankmentArcStep;

    UseGrass(frame);
    GroundMesh mesh;

    // The wall that closes the cutting at the start, 5 m ahead of the segment's start.
    mesh.count = 0;
    const GroundPoint startWallFar = CurvePoint(centre, h0, 500.0f);
    if (isLeft) {
        AddGroundVertex(mesh, AheadOf(start, h0, 5.0f), y - 3.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, start, y - 1.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, AheadOf(startWallFar, h0, 5.0f), y - 3.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, startWallFar, y - 1.0f, 0.0f, 0.0f);
    } else {
        AddGroundVertex(mesh, AheadOf(startWallFar, h0, 5.0f), y - 3.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, startWallFar, y - 1.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, AheadOf(start, h0, 5.0f), y - 3.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, start, y - 1.0f, 0.0f, 0.0f);
    }
    DrawGroundMesh(frame, PrimitiveKind::TriangleStrip, mesh);

    // The bank from the track down into the 3 m deep cutting.
    mesh.count = 0;
    const GroundPoint bankFoot = LeftOf(start, h0, isLeft ? 5.0f : -5.0f);
    if (isLeft) {
        AddGroundVertex(mesh, start, y - 1.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, bankFoot, y - 3.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, start, y - 1.0f, 0.0f, 0.0f);
    } else {
        AddGroundVertex(mesh, bankFoot, y - 3.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, start, y - 1.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, bankFoot, y - 3.0f, 0.0f, 0.0f);
    }
    ArcWalk arc = StartArcWalk(h0, h1, arcStep, 0);
    while (HasRoom(mesh, 2) && StepArcWalk(arc)) {
        float tu = arc.k / arcDegrees;
        if (isLeft) {
            float footRadius = 995.0f - 3.0f * GroundNoiseAt(frame, mesh.count);
            AddGroundVertex(mesh, CurvePoint(centre, arc.angle, footRadius), y - 3.0f, tu, 0.01f);
            AddGroundVertex(mesh, CurvePoint(centre, arc.angle, 1001.0f), y - 1.0f, tu, 0.0f);
        } else {
            AddGroundVertex(mesh, CurvePoint(centre, arc.angle, 1001.0f), y - 1.0f, tu, 0.0f);
            // The foot takes the bump of the slot before it.
            float footRadius = 995.0f - 3.0f * GroundNoiseAt(frame, mesh.count - 1);
            AddGroundVertex(mesh, CurvePoint(centre, arc.angle, footRadius), y - 3.0f, tu, 0.01f);
        }
    }
    DrawGroundMesh(frame, PrimitiveKind::TriangleStrip, mesh);

    // The wall that closes the cutting at the end, 5 m short of the segment's end.
    mesh.count = 0;
    const GroundPoint endWallFar = CurvePoint(centre, h1, 500.0f);
    const GroundPoint endWallNear = CurvePoint(centre, h1, 1001.0f);
    if (isLeft) {
        AddGroundVertex(mesh, AheadOf(endWallFar, h1, -5.0f), y - 3.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, endWallFar, y - 1.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, AheadOf(endWallNear, h1, -5.0f), y - 3.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, CurvePoint(centre, h1 - 0.001f, 1001.0f), y - 1.0f, 0.0f, 0.0f);
    } else {
        AddGroundVertex(mesh, AheadOf(endWallNear, h1, -5.0f), y - 3.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, CurvePoint(centre, h1 + 0.001f, 1001.0f), y - 1.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, AheadOf(endWallFar, h1, -5.0f), y - 3.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, endWallFar, y - 1.0f, 0.0f, 0.0f);
    }
    DrawGroundMesh(frame, PrimitiveKind::TriangleStrip, mesh);

    // The embankment, 10 m high from radius 600 out to about 980, over the middle of the
    // curve: its far edge turns 0.6 degree for every degree of the curve.
    mesh.count = 0;
    const float span = std::fabs(h1 - h0);
    float farEdge = isLeft ? h0 - 0.2f * span : h0 + 0.2f * span;
    if (isLeft) {
        AddGroundVertex(mesh, CurvePoint(centre, h0, 500.0f), y - 3.0f, 0.0f, 1.0f);
        AddGroundVertex(mesh, CurvePoint(centre, h0, 600.0f), y + 10.0f, 0.0f, 0.2f);
        AddGroundVertex(mesh, CurvePoint(centre, h0, 997.0f), y - 3.0f, 0.0f, 0.0f);
        AddGroundVertex(mesh, CurvePoint(centre, farEdge, 980.0f), y + 10.0f, 0.1f, 0.1f);
    } else {
        AddGroundVertex(mesh, CurvePoint(centre, h0, 600.0f), y + 10.0f, 0.0f, 0.2f);
        AddGroundVertex(mesh, CurvePoint(centre, h0, 500.0f), y - 3.0f, 0.0f, 1.0f);
        AddGroundVertex(mesh, CurvePoint(centre, farEdge, 970.0f), y + 10.0f, 0.1f, 0.1f);
        AddGroundVertex(mesh, CurvePoint(centre, h0, 997.0f), y - 3.0f, 0.0f, 0.0f);
    }
    arc = StartArcWalk(h0, h1, arcStep, 0);
    while (HasRoom(mesh, 4) && StepArcWalk(arc)) {
        // The far edge is not held at the curve's end: it only runs to about 80 % of it.
        farEdge += embankmentStep;
        float tu = arc.k / arcDegrees;
        if (isLeft) {
            AddGroundVertex(mesh, CurvePoint(centre, arc.angle, 997.0f), y - 3.0f, tu, 0.1f);
            float crestRadius = 980.0f - 3.0f * GroundNoiseAt(frame, mesh.count - 1);
            AddGroundVertex(mesh, CurvePoint(centre, farEdge, crestRadius), y + 10.0f, tu, 0.0f);
        } else {
            float crestRadius = 980.0f - 3.0f * GroundNoiseAt(frame, mesh.count);
            AddGroundVertex(mesh, CurvePoint(centre, farEdge, crestRadius), y + 10.0f, tu, 0.1f);
            AddGroundVertex(mesh, CurvePoint(centre, arc.angle, 997.0f), y - 3.0f, tu, 0.0f);
        }
    }
    if (isLeft) {
        AddGroundVertex(mesh, CurvePoint(centre, farEdge, 500.0f), y - 3.0f, 1.0f, 1.0f);
        AddGroundVertex(mesh, CurvePoint(centre, farEdge, 600.0f), y + 10.0f, 1.0f, 1.0f);
    } else {
        AddGroundVertex(mesh, CurvePoint(centre, farEdge, 600.0f), y + 10.0f, 1.0f, 1.0f);
        AddGroundVertex(mesh, CurvePoint(centre, farEdge, 500.0f), y - 3.0f, 1.0f, 1.0f);
    }
    DrawGroundMesh(frame, PrimitiveKind::TriangleStrip, mesh);
}
