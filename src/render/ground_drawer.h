#pragma once
// The land beside the track, strip by strip: grass fields reaching 500 m out, fields with a
// raised or sunken middle, banks falling to a lake inside a curve, cuttings with an embankment,
// the outer side of a curve, and tunnels under a mountain.

#include "render/scene.h"

struct GroundStrip;

// One degree of arc, the step of every arc the ground follows: the float 0x3C8EFA4B.
constexpr float GroundArcStep = 0.017453333f;
// How far the embankment's far edge turns per degree of the curve (0.6 of it): 0x3C2B92C1.
constexpr float EmbankmentArcStep = 0.010472001f;
// The radius of every curve the ground is shaped for.
constexpr float GroundCurveRadius = 1000.0f;

// Draws the left and then the right side of the strip. The world matrix must already place
// route coordinates (the terrain pass sets it once for all strips).
void DrawGroundStrip(const SceneFrame& frame, const GroundStrip& strip);
