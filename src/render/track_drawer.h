#pragma once
// The track of one segment, built every frame as three flat grey bands: the ballast bed and
// two rails 0.1 m above it. Straights are one quad per band, curves a quad per quarter degree.

#include "render/scene.h"

struct TrackSegment;

// A quarter degree of arc, the length of one curve quad: the float 0x3B8EFA4B.
constexpr float TrackCurveStep = 0.0043633333f;

// Straight and tunnel segments: each band runs from end to end and follows the gradient.
void DrawStraightTrack(const SceneFrame& frame, const TrackSegment& segment);
// Curves are level at their start height; the heading falls along a left curve and rises
// along a right one.
void DrawLeftCurveTrack(const SceneFrame& frame, const TrackSegment& segment);
void DrawRightCurveTrack(const SceneFrame& frame, const TrackSegment& segment);
