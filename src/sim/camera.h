#pragma once
// The camera at the player's train: the cab view from the driver's seat or the outside view from
// behind and above, and the floating world origin that keeps the eye within 10 km of the
// origin so that single-precision vertices near the camera stay exact.

#include <cstdint>

#include "device/matrix.h"

struct World;

// The two views the player switches between.
constexpr int32_t ViewCab = 0;
constexpr int32_t ViewOutside = 1;

// Whole steps the floating origin moves by, and how far the eye may stray before it does.
constexpr float WorldOriginStep = 10000.0f;

struct Camera {
    // Added to world x and z of everything drawn this frame; a multiple of WorldOriginStep.
    float originShiftX = 0.0f;
    float originShiftZ = 0.0f;
    Vector3 eyePoint = {};     // after the shift
    Vector3 lookAtPoint = {};  // after the shift
    Matrix4 view = IdentityMatrix();  // the view transform the renderer hands to the device
};

// Places the eye at the player's train in the chosen view, forces the cab view inside a tunnel
// (viewMode is left at ViewCab afterwards), shifts the origin and builds the view matrix.
void PlaceCamera(Camera& camera, const World& world, int32_t& viewMode);
