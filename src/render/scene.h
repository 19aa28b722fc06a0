#pragma once
// The 3D scene of one frame: clear, copy the vehicles' poses into their objects, then the track,
// terrain and object passes. Everything is regenerated from the world tables every frame;
// visibility is a plain ground-plane distance from the player's train.

#include <cstdint>

#include "device/draw_device.h"
#include "device/matrix.h"

struct Camera;
struct World;

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

// Draws the whole scene with the camera's origin shift and view. Always succeeds (returns 0);
// when the device cannot begin a scene nothing is drawn.
int32_t DrawScene(DrawDevice& device, World& world, const Camera& camera);

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
