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


// How the cutting on the right side mirrors the one on the left. The left side lies inside a
// left curve, whose heading falls along the arc; the right side inside a right curve, whose
// heading rises. The right side lists the vertices of every strip in mirrored order, so that
// its triangles too wind clockwise seen from above.
struct CuttingSide {
    bool mirrored;           // the right side
    float leftward;          // +1 on the left, -1 on the right: sideways offsets
    float arcDirection;      // -1 on the left, +1 on the right: the way the heading runs
    float firstCrestRadius;  // the embankment's first crest point lies 10 m further in on the right
};

CuttingSide CuttingSideOf(GroundSide side)
{
    if (side == GroundSide::Left)
        return {false, 1.0f, -1.0f, 980.0f};
    return {true, -1.0f, 1.0f, 970.0f};
}

struct GroundVertex {
    GroundPoint point;
    float y, tu, tv;
};

struct VertexPair {
    GroundVertex first, second;
};

// The two vertices in the side's order: as given on the left, swapped on the right.
VertexPair InSideOrder(const CuttingSide& side, const GroundVertex& a, const GroundVertex& b)
{
    return side.mirrored ? VertexPair{b, a} : VertexPair{a, b};
}

void AddVertex(GroundMesh& mesh, const GroundVertex& vertex)
{
    AddGroundVertex(mesh, vertex.point, vertex.y, vertex.tu, vertex.tv);
}

void AddPair(GroundMesh& mesh, const VertexPair& pair)
{
    AddVertex(mesh, pair.first);
    AddVertex(mesh, pair.second);
}

// One edge of a wall across the cutting: its foot 3 m down and its top 1 m down.
struct WallEdge {
    GroundPoint foot, top;
};

void AddWallEdge(GroundMesh& mesh, const WallEdge& edge, float y)
{
    AddGroundVertex(mesh, edge.foot, y - 3.0f, 0.0f, 0.0f);
    AddGroundVertex(mesh, edge.top, y - 1.0f, 0.0f, 0.0f);
}

// A wall between two edges, given in the order the left side lists them; the right side lists
// them the other way round.
void AddCuttingWall(GroundMesh& mesh, const CuttingSide& side, float y, const WallEdge& leftFirst,
                    const WallEdge& leftSecond)
{
    AddWallEdge(mesh, side.mirrored ? leftSecond : leftFirst, y);
    AddWallEdge(mesh, side.mirrored ? leftFirst : leftSecond, y);
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

void DrawCuttingAndEmbankment(const SceneFrame& frame, const GroundStrip& strip, GroundSide groundSide)
{
    const CuttingSide side = CuttingSideOf(groundSide);
    const CurveCentre centre = InnerCurveCentre(strip, groundSide);
    const GroundPoint start = {strip.startX, strip.startZ};
    const float h0 = strip.startHeading;
    const float h1 = strip.endHeading;
    const float y = strip.startHeight;
    const float arcDegrees = ArcDegrees(strip);
    const float arcStep = side.arcDirection * GroundArcStep;
    const float embankmentStep = side.arcDirection * EmbankmentArcStep;

    UseGrass(frame);
    GroundMesh mesh;

    // The wall that closes the cutting at the start, 5 m ahead of the segment's start.
    mesh.count = 0;
    const GroundPoint startWallFar = CurvePoint(centre, h0, 500.0f);
    AddCuttingWall(mesh, side, y, {AheadOf(start, h0, 5.0f), start}, {AheadOf(startWallFar, h0, 5.0f), startWallFar});
    DrawGroundMesh(frame, PrimitiveKind::TriangleStrip, mesh);

    // The bank from the track down into the 3 m deep cutting. Each foot takes the bump of the
    // first slot of its pair.
    mesh.count = 0;
    const GroundPoint bankFoot = LeftOf(start, h0, side.leftward * 5.0f);
    const VertexPair bankStart = InSideOrder(side, {start, y - 1.0f, 0.0f, 0.0f}, {bankFoot, y - 3.0f, 0.0f, 0.0f});
    AddPair(mesh, bankStart);
    AddVertex(mesh, bankStart.first);
    ArcWalk arc = StartArcWalk(h0, h1, arcStep, 0);
    while (HasRoom(mesh, 2) && StepArcWalk(arc)) {
        float tu = arc.k / arcDegrees;
        float footRadius = 995.0f - 3.0f * GroundNoiseAt(frame, mesh.count);
        AddPair(mesh, InSideOrder(side, {CurvePoint(centre, arc.angle, footRadius), y - 3.0f, tu, 0.01f},
                                  {CurvePoint(centre, arc.angle, 1001.0f), y - 1.0f, tu, 0.0f}));
    }
    DrawGroundMesh(frame, PrimitiveKind::TriangleStrip, mesh);

    // The wall that closes the cutting at the end, 5 m short of the segment's end; its top at
    // the track reaches a little past the end of the arc.
    mesh.count = 0;
    const GroundPoint endWallFar = CurvePoint(centre, h1, 500.0f);
    const GroundPoint endWallNear = CurvePoint(centre, h1, 1001.0f);
    const GroundPoint endWallNearTop = CurvePoint(centre, h1 + side.arcDirection * 0.001f, 1001.0f);
    AddCuttingWall(mesh, side, y, {AheadOf(endWallFar, h1, -5.0f), endWallFar},
                   {AheadOf(endWallNear, h1, -5.0f), endWallNearTop});
    DrawGroundMesh(frame, PrimitiveKind::TriangleStrip, mesh);

    // The embankment, 10 m high from radius 600 out to about 980, over the middle of the
    // curve: its far edge turns 0.6 degree for every degree of the curve.
    mesh.count = 0;
    const float span = std::fabs(h1 - h0);
    float farEdge = h0 + side.arcDirection * (0.2f * span);
    AddPair(mesh, InSideOrder(side, {CurvePoint(centre, h0, 500.0f), y - 3.0f, 0.0f, 1.0f},
                              {CurvePoint(centre, h0, 600.0f), y + 10.0f, 0.0f, 0.2f}));
    AddPair(mesh, InSideOrder(side, {CurvePoint(centre, h0, 997.0f), y - 3.0f, 0.0f, 0.0f},
                              {CurvePoint(centre, farEdge, side.firstCrestRadius), y + 10.0f, 0.1f, 0.1f}));
    arc = StartArcWalk(h0, h1, arcStep, 0);
    while (HasRoom(mesh, 4) && StepArcWalk(arc)) {
        // The far edge is not held at the curve's end: it only runs to about 80 % of it.
        farEdge += embankmentStep;
        float tu = arc.k / arcDegrees;
        // Each crest point takes the bump of the first slot of its pair; v runs from 0.1 on
        // the first slot of a pair to 0 on the second, whichever vertex stands there.
        float crestRadius = 980.0f - 3.0f * GroundNoiseAt(frame, mesh.count);
        VertexPair pair = InSideOrder(side, {CurvePoint(centre, arc.angle, 997.0f), y - 3.0f, tu, 0.0f},
                                      {CurvePoint(centre, farEdge, crestRadius), y + 10.0f, tu, 0.0f});
        pair.first.tv = 0.1f;
        pair.second.tv = 0.0f;
        AddPair(mesh, pair);
    }
    AddPair(mesh, InSideOrder(side, {CurvePoint(centre, farEdge, 500.0f), y - 3.0f, 1.0f, 1.0f},
                              {CurvePoint(centre, farEdge, 600.0f), y + 10.0f, 1.0f, 1.0f}));
    DrawGroundMesh(frame, PrimitiveKind::TriangleStrip, mesh);
}
