// Which ground each side of a strip gets, and the helpers the side drawers share.

#include "render/render_local.h"

#include <array>
#include <cmath>

#include "world/world.h"

namespace {

// The plain 0, 1, 2, … order of the pieces drawn without an index list of their own.
constexpr std::array<uint16_t, GroundVertexCapacity> SequentialIndexes = [] {
    std::array<uint16_t, GroundVertexCapacity> indexes{};
    for (int i = 0; i < GroundVertexCapacity; ++i)
        indexes[i] = static_cast<uint16_t>(i);
    return indexes;
}();

}  // namespace

void DrawGroundStrip(const SceneFrame& frame, const GroundStrip& strip)
{
    // The left side: kinds 2 to 4 are the shapes of the land inside and outside a curve; a
    // tunnel covers both sides from here. Open land is any kind above 6.
    switch (strip.leftSide) {
    case SideFlatField:
    case SideVillage:
        DrawFlatField(frame, strip, GroundSide::Left);
        break;
    case SideLakeBank:
        DrawBankAndLake(frame, strip, GroundSide::Left);
        break;
    case SideCurveOuter:
        DrawCurveOuterField(frame, strip, GroundSide::Left);
        break;
    case SideCutting:
        DrawCuttingAndEmbankment(frame, strip, GroundSide::Left);
        break;
    case SideTunnel:
        DrawTunnel(frame, strip);
        break;
    default:
        if (strip.leftSide > SideVillage)
            DrawReliefField(frame, strip, GroundSide::Left);
        break;
    }

    // The right side; a tunnel side draws nothing here, the left side has drawn it whole.
    switch (strip.rightSide) {
    case SideFlatField:
    case SideVillage:
        DrawFlatField(frame, strip, GroundSide::Right);
        break;
    case SideLakeBank:
        DrawBankAndLake(frame, strip, GroundSide::Right);
        break;
    case SideCurveOuter:
        DrawCurveOuterField(frame, strip, GroundSide::Right);
        break;
    case SideCutting:
        DrawCuttingAndEmbankment(frame, strip, GroundSide::Right);
        break;
    default:
        if (strip.rightSide > SideVillage)
            DrawReliefField(frame, strip, GroundSide::Right);
        break;
    }
}

float GroundNoiseAt(const SceneFrame& frame, int index)
{
    return frame.world.groundNoise[index];
}

float ArcDegrees(const GroundStrip& strip)
{
    return std::fabs(strip.endHeading - strip.startHeading) * 180.0f / 3.1416f;
}

ArcWalk StartArcWalk(float from, float to, float step, int firstCount)
{
    return {from, to, step, firstCount - 1};
}

bool StepArcWalk(ArcWalk& walk)
{
    const bool downwards = walk.step < 0.0f;
    if (!(downwards ? walk.angle > walk.target : walk.angle < walk.target))
        return false;
    float next = walk.angle + walk.step;
    if (downwards ? next < walk.target : next > walk.target)
        next = walk.target;
    // A heading so large that a degree no longer changes it would never reach the end.
    if (next == walk.angle)
        return false;
    walk.angle = next;
    ++walk.k;
    return true;
}

void UseGrass(const SceneFrame& frame)
{
    frame.device.SetTexture(frame.textures.grass);
    SetMaterialColour(frame.device, 1.0f, 1.0f, 1.0f);
}

void UseColour(const SceneFrame& frame, float red, float green, float blue)
{
    frame.device.SetTexture(NoTexture);
    SetMaterialColour(frame.device, red, green, blue);
}

void DrawGroundMesh(const SceneFrame& frame, PrimitiveKind kind, const GroundMesh& mesh)
{
    frame.device.DrawIndexed(kind, mesh.vertices, mesh.count, SequentialIndexes.data(), mesh.count);
}

void DrawGroundMeshIndexed(const SceneFrame& frame, PrimitiveKind kind, const GroundMesh& mesh,
                           const uint16_t* indexes, int indexCount)
{
    frame.device.DrawIndexed(kind, mesh.vertices, mesh.count, indexes, indexCount);
}
