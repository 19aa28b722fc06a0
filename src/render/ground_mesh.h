#pragma once
// Building blocks shared by the ground drawers: a vertex array of fixed size filled slot by
// slot, the arc walk that curved pieces follow degree by degree, and the side drawers.

#include "device/matrix.h"
#include "render/curve_geometry.h"
#include "render/scene.h"

struct GroundStrip;

// Room for the longest arc a route can hold, with plenty to spare; an arc that would not fit
// is cut short instead of overflowing.
constexpr int GroundVertexCapacity = 1000;

struct GroundMesh {
    SceneVertex vertices[GroundVertexCapacity];
    int count;
};

enum class GroundSide { Left, Right };

// Every ground vertex faces up, so the land is lit as level ground.
inline void AddGroundVertex(GroundMesh& mesh, GroundPoint point, float y, float tu, float tv)
{
    if (mesh.count < GroundVertexCapacity)
        mesh.vertices[mesh.count++] = {point.x, y, point.z, 0.0f, 1.0f, 0.0f, tu, tv};
}

inline bool HasRoom(const GroundMesh& mesh, int vertexCount)
{
    return mesh.count + vertexCount <= GroundVertexCapacity;
}

// The bumps of the land, read by a vertex's slot in its draw (the tunnel's ridge by its point
// number) and not by segment, so every piece of one kind has the same bumps.
float GroundNoiseAt(const SceneFrame& frame, int index);

// Points to the left (negative: to the right) and ahead of a point, for a heading.
inline GroundPoint LeftOf(GroundPoint point, float heading, float distance)
{
    return {point.x - distance * CosF(heading), point.z + distance * SinF(heading)};
}

inline GroundPoint AheadOf(GroundPoint point, float heading, float distance)
{
    return {point.x + distance * SinF(heading), point.z + distance * CosF(heading)};
}

inline Vector3 Lerp(Vector3 from, Vector3 to, float t)
{
    return {from.x + t * (to.x - from.x), from.y + t * (to.y - from.y), from.z + t * (to.z - from.z)};
}

// The arc of a curve in degrees, which the texture runs across.
float ArcDegrees(const GroundStrip& strip);

// A heading stepped from one end of an arc towards the other, clamped to the far end.
struct ArcWalk {
    float angle;   // after the latest step
    float target;
    float step;    // negative when walking down
    int k;         // the count of the latest step
};

// step is negative for an arc walked down (the heading falling); a walk whose end lies the
// other way makes no step. firstCount is the k of the first step.
ArcWalk StartArcWalk(float from, float to, float step, int firstCount);
// Makes the next step; false once the end has been reached.
bool StepArcWalk(ArcWalk& walk);

inline bool ArcWalkAtEnd(const ArcWalk& walk)
{
    return walk.angle == walk.target;
}

void UseGrass(const SceneFrame& frame);
void UseColour(const SceneFrame& frame, float red, float green, float blue);

// Draws with the indexes 0, 1, 2, … of the mesh's vertices.
void DrawGroundMesh(const SceneFrame& frame, PrimitiveKind kind, const GroundMesh& mesh);
void DrawGroundMeshIndexed(const SceneFrame& frame, PrimitiveKind kind, const GroundMesh& mesh,
                           const uint16_t* indexes, int indexCount);

// The side drawers.
void DrawFlatField(const SceneFrame& frame, const GroundStrip& strip, GroundSide side);
void DrawReliefField(const SceneFrame& frame, const GroundStrip& strip, GroundSide side);
void DrawCurveOuterField(const SceneFrame& frame, const GroundStrip& strip, GroundSide side);
void DrawBankAndLake(const SceneFrame& frame, const GroundStrip& strip, GroundSide side);
void DrawCuttingAndEmbankment(const SceneFrame& frame, const GroundStrip& strip, GroundSide side);
void DrawTunnel(const SceneFrame& frame, const GroundStrip& strip);
