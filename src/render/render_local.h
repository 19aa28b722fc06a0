#pragma once
// What the drawers of the scene share, for render/ alone (and its tests): the frame every
// drawer reads, and each drawer's entry points and building blocks. A section per file,
// named for the file that defines what it declares.

#include <cstdint>

#include "device/draw_device.h"
#include "device/matrix.h"
#include "render/scene.h"
#include "world/track_geometry.h"

struct GroundStrip;
struct SceneryObject;
struct TrackSegment;

// --- scene.cpp ---

// The sky the frame is cleared to (0xAARRGGBB): a light blue.
constexpr uint32_t SkyColour = 0x0080C0FFu;

// How far from the player's train each kind of item is still drawn (distance <= limit).
constexpr double TrackDrawDistance = 500.0;
constexpr double SignDrawDistance = 1000.0;
constexpr double GroundDrawDistance = 3000.0;
constexpr double TreeDrawDistance = 1000.0;

// Texture handles the drawers use, looked up once per frame by their names.
struct SceneTextures {
    TextureHandle grass;
    TextureHandle tree;
    TextureHandle signs[14];   // by sign code; NoTexture where a code has no bitmap
    TextureHandle signBlink;   // the dark board the announcing signs alternate with
    TextureHandle models[23];  // by model texture id 1..22
};

// What every drawer of one frame reads: the device, the world, the floating origin that is
// added to everything drawn, and the player's position that the draw distances start from.
struct SceneFrame {
    DrawDevice& device;
    const World& world;
    float originShiftX;
    float originShiftZ;
    float playerX;
    float playerZ;
    SceneTextures textures;
};

// Sets up a frame's drawing context, looking up the textures on the device.
SceneFrame MakeSceneFrame(DrawDevice& device, const World& world, float originShiftX, float originShiftZ);

// Copies each active train unit's position, pitch and heading into the object that draws it.
void UpdateVehiclePoses(World& world);

void DrawTrackPass(const SceneFrame& frame);
void DrawTerrainPass(const SceneFrame& frame);
void DrawObjectsPass(const SceneFrame& frame);

// The world matrix of an object at position turned about z, then y (heading), then x (pitch):
// RotZ·RotY·RotX·Trans for row vectors, a pure translation when all angles are 0.
Matrix4 MakeWorldMatrix(Vector3 position, float angleX, float angleY, float angleZ);

// The matrix that places geometry built in route coordinates into the shifted frame.
Matrix4 OriginMatrix(const SceneFrame& frame);

// Distance in the ground plane, in double precision.
double GroundDistance(float x1, float z1, float x2, float z2);

// Makes a plain lit material of that colour current: diffuse and ambient (r, g, b, 1).
void SetMaterialColour(DrawDevice& device, float red, float green, float blue);

// --- track_drawer.cpp ---
// The track of one segment, built every frame as three flat grey bands: the ballast bed and
// two rails 0.1 m above it. Straights are one quad per band, curves a quad per quarter degree.

// A quarter degree of arc, the length of one curve quad: the float 0x3B8EFA4B.
constexpr float TrackCurveStep = 0.0043633333f;

// Straight and tunnel segments: each band runs from end to end and follows the gradient.
void DrawStraightTrack(const SceneFrame& frame, const TrackSegment& segment);
// Curves are level at their start height; the heading falls along a left curve and rises
// along a right one.
void DrawLeftCurveTrack(const SceneFrame& frame, const TrackSegment& segment);
void DrawRightCurveTrack(const SceneFrame& frame, const TrackSegment& segment);

// --- object_drawer.cpp ---
// Everything beside the track that is not ground: the sign boards at segment starts, the model
// objects (buildings, platforms and the vehicles of every train) and the tree billboards.

// Largest part the model drawer copies out of the pools; bigger parts are not drawn.
constexpr int ModelPartVertexLimit = 1000;
constexpr int ModelPartIndexLimit = 1000;

// The board 2 m left of the segment's start, facing units that run forward. The destination
// sign is never drawn; codes without a picture keep whatever texture is set.
void DrawSegmentSign(const SceneFrame& frame, const TrackSegment& segment);

// An object of model type 1..9999, within its model's draw distance, part by part.
void DrawModelObject(const SceneFrame& frame, const SceneryObject& object);

// A 4 m by 10 m board turned to face the player's train.
void DrawTreeBillboard(const SceneFrame& frame, float x, float y, float z);

// --- ground_drawer.cpp ---
// The land beside the track, strip by strip: grass fields reaching 500 m out, fields with a
// raised or sunken middle, banks falling to a lake inside a curve, cuttings with an embankment,
// the outer side of a curve, and tunnels under a mountain. Below the strip drawer, the building
// blocks the side drawers share: a vertex array of fixed size filled slot by slot, the arc walk
// that curved pieces follow degree by degree, and the materials.

// One degree of arc, the step of every arc the ground follows: the float 0x3C8EFA4B.
constexpr float GroundArcStep = 0.017453333f;
// How far the embankment's far edge turns per degree of the curve (0.6 of it): 0x3C2B92C1.
constexpr float EmbankmentArcStep = 0.010472001f;
// The radius of every curve the ground is shaped for.
constexpr float GroundCurveRadius = 1000.0f;

// Draws the left and then the right side of the strip. The world matrix must already place
// route coordinates (the terrain pass sets it once for all strips).
void DrawGroundStrip(const SceneFrame& frame, const GroundStrip& strip);

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

// --- ground_fields.cpp ---
// Open fields beside the track: flat grass, grass with a raised or sunken middle, and the band
// of grass on the outside of a curve.

void DrawFlatField(const SceneFrame& frame, const GroundStrip& strip, GroundSide side);
void DrawReliefField(const SceneFrame& frame, const GroundStrip& strip, GroundSide side);
void DrawCurveOuterField(const SceneFrame& frame, const GroundStrip& strip, GroundSide side);

// --- ground_curves.cpp ---
// The land inside a curve: a bank falling to a lake, or a cutting with an embankment behind it.

void DrawBankAndLake(const SceneFrame& frame, const GroundStrip& strip, GroundSide side);
void DrawCuttingAndEmbankment(const SceneFrame& frame, const GroundStrip& strip, GroundSide side);

// --- tunnel_drawer.cpp ---
// A tunnel under a mountain of grass; it covers both sides of its strip.

void DrawTunnel(const SceneFrame& frame, const GroundStrip& strip);
