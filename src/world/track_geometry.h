#pragma once
// Points along the track in the ground plane, shared by the track build, the trains that run
// on it and the drawers of the track and the land beside it. A curve turns about a centre at
// its radius to the left of its start (a left curve) or to the right (a right curve); an angle
// is the track heading at the point.

#include <cstdint>

#include "world/sine_cosine.h"
#include "world/track.h"

struct GroundPoint {
    float x, z;
};

// The turn of a curve: the heading falls along a left curve and rises along a right one.
constexpr float LeftTurn = 1.0f;
constexpr float RightTurn = -1.0f;

inline float CurveTurn(int32_t segmentType)
{
    return segmentType == SegmentCurveLeft ? LeftTurn : RightTurn;
}

struct CurveCentre {
    float x, z;
    float turn;  // LeftTurn or RightTurn
};

// The centre of the circle through (startX, startZ) at startHeading with that radius.
inline CurveCentre MakeCurveCentre(float startX, float startZ, float startHeading, float radius, float turn)
{
    return {startX - turn * radius * Cosine(startHeading), startZ + turn * radius * Sine(startHeading), turn};
}

// The point at that heading on the circle of the given radius about the centre; the start
// heading at the curve's own radius gives its start point back.
inline GroundPoint CurvePoint(const CurveCentre& centre, float angle, float radius)
{
    return {centre.x + centre.turn * radius * Cosine(angle), centre.z - centre.turn * radius * Sine(angle)};
}

// Points to the left (negative: to the right) and ahead of a point, for a heading.
inline GroundPoint LeftOf(GroundPoint point, float heading, float distance)
{
    return {point.x - distance * Cosine(heading), point.z + distance * Sine(heading)};
}

inline GroundPoint AheadOf(GroundPoint point, float heading, float distance)
{
    return {point.x + distance * Sine(heading), point.z + distance * Cosine(heading)};
}
