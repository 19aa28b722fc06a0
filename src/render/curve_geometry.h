#pragma once
// Points on the circular arcs of curves, shared by the track and the ground beside it.
// A curve turns about a centre at its radius to the left of the start (CurveLeft) or to the
// right (CurveRight); the angle is the track heading at the point.

#include <cmath>

// Sines and cosines are taken in double precision and kept as float, as everywhere in the
// route's geometry.
inline float SinF(float angle)
{
    return static_cast<float>(std::sin(static_cast<double>(angle)));
}

inline float CosF(float angle)
{
    return static_cast<float>(std::cos(static_cast<double>(angle)));
}

// turn is +1 for a left curve (the heading falls) and -1 for a right curve (it rises).
struct CurveCentre {
    float x, z;
    float turn;
};

// The centre of the circle through (startX, startZ) at startHeading with that radius.
inline CurveCentre MakeCurveCentre(float startX, float startZ, float startHeading, float radius, float turn)
{
    return {startX - turn * radius * CosF(startHeading), startZ + turn * radius * SinF(startHeading), turn};
}

struct GroundPoint {
    float x, z;
};

// The point at that heading on the circle of the given radius about the centre; the start
// heading at the curve's own radius gives its start point back.
inline GroundPoint CurvePoint(const CurveCentre& centre, float angle, float radius)
{
    return {centre.x + centre.turn * radius * CosF(angle), centre.z - centre.turn * radius * SinF(angle)};
}
