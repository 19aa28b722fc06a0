#pragma once
// The 3D scene of one frame, as the game loop, the picture commands and the tests ask for it.
// Everything is regenerated from the world tables every frame; visibility is a plain
// ground-plane distance from the player's train. What the drawers share among themselves is
// in render/render_local.h.

#include <cstdint>

class DrawDevice;
struct Camera;
struct World;

// Clears the frame, copies the vehicles' poses into their objects and draws the track, terrain
// and object passes with the camera's origin shift and view. Always succeeds (returns 0); when
// the device cannot begin a scene nothing is drawn.
int32_t DrawScene(DrawDevice& device, World& world, const Camera& camera);
