#pragma once
// Cuts a simple polygon, convex or not, into triangles, for drawing layers that can only fill
// triangles (the dashboard has a notch between its two wings).

#include <cstdint>
#include <vector>

#include "cab/canvas.h"

struct PolygonTriangle {
    int32_t a, b, c;  // indexes into the polygon's points
};

// The triangles covering the polygon, count - 2 of them for a polygon of count corners.
std::vector<PolygonTriangle> TriangulatePolygon(const CanvasPoint* points, int32_t count);
