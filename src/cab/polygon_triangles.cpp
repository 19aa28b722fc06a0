#include "cab/polygon_triangles.h"

#include <cstddef>

namespace {

// Twice the signed area of the triangle: positive when a, b, c turn the same way as a polygon
// of positive area.
int64_t Cross(const CanvasPoint& a, const CanvasPoint& b, const CanvasPoint& c)
{
    return static_cast<int64_t>(b.x - a.x) * (c.y - a.y) - static_cast<int64_t>(b.y - a.y) * (c.x - a.x);
}

bool IsInsideOrOnTriangle(const CanvasPoint& p, const CanvasPoint& a, const CanvasPoint& b, const CanvasPoint& c)
{
    int64_t ab = Cross(a, b, p);
    int64_t bc = Cross(b, c, p);
    int64_t ca = Cross(c, a, p);
    return (ab >= 0 && bc >= 0 && ca >= 0) || (ab <= 0 && bc <= 0 && ca <= 0);
}

}  // namespace

std::vector<PolygonTriangle> TriangulatePolygon(const CanvasPoint* points, int32_t count)
{
    std::vector<PolygonTriangle> triangles;
    if (count < 3)
        return triangles;

    int64_t doubleArea = 0;
    for (int32_t i = 0; i < count; ++i) {
        const CanvasPoint& p = points[i];
        const CanvasPoint& q = points[(i + 1) % count];
        doubleArea += static_cast<int64_t>(p.x) * q.y - static_cast<int64_t>(q.x) * p.y;
    }
    const int64_t turn = doubleArea >= 0 ? 1 : -1;

    std::vector<int32_t> left;
    for (int32_t i = 0; i < count; ++i)
        left.push_back(i);

    // Ear clipping: cut off a corner that turns the polygon's way and holds no other corner,
    // until one triangle is left.
    while (left.size() > 3) {
        const int32_t n = static_cast<int32_t>(left.size());
        bool cut = false;
        for (int32_t k = 0; k < n && !cut; ++k) {
            int32_t ia = left[(k + n - 1) % n], ib = left[k], ic = left[(k + 1) % n];
            const CanvasPoint &a = points[ia], &b = points[ib], &c = points[ic];
            int64_t corner = Cross(a, b, c) * turn;
            if (corner < 0)
                continue;
            bool empty = true;
            // A flat corner (three points on a line) is cut without a look: its triangle is empty.
            for (int32_t j = 0; j < n && empty && corner > 0; ++j) {
                int32_t other = left[j];
                if (other == ia || other == ib || other == ic)
                    continue;
                if (IsInsideOrOnTriangle(points[other], a, b, c))
                    empty = false;
            }
            if (!empty)
                continue;
            triangles.push_back({ia, ib, ic});
            left.erase(left.begin() + k);
            cut = true;
        }
        // A polygon that crosses itself has no ear left: fan out what remains.
        if (!cut) {
            for (std::size_t k = 1; k + 1 < left.size(); ++k)
                triangles.push_back({left[0], left[k], left[k + 1]});
            return triangles;
        }
    }
    triangles.push_back({left[0], left[1], left[2]});
    return triangles;
}
