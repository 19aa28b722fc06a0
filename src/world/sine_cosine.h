#pragma once
// The sine and cosine of a float angle, taken in double precision and kept as float: the
// route's geometry, the trains on it and the matrices that draw them all round the same way,
// so a point the track build lays and the point a train or a drawer finds there agree exactly.

#include <cmath>

inline float Sine(float angle)
{
    return static_cast<float>(std::sin(static_cast<double>(angle)));
}

inline float Cosine(float angle)
{
    return static_cast<float>(std::cos(static_cast<double>(angle)));
}
