#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "cab/polygon_triangles.h"

namespace {

int64_t DoubleArea(const std::vector<CanvasPoint>& points)
{
    int64_t sum = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const CanvasPoint &p = points[i], &q = points[(i + 1) % points.size()];
        sum += static_cast<int64_t>(p.x) * q.y - static_cast<int64_t>(q.x) * p.y;
    }
    return std::llabs(sum);
}

}  // namespace

TEST(PolygonTriangles, CoverANotchedPolygonExactlyInEitherWindingOrder)
{
    auto dashboard = [](int32_t w, int32_t h) {
        return std::vector<CanvasPoint>{{0, 7 * h / 10},     {w / 10, 7 * h / 10},  {w / 5, 9 * h / 10}, {4 * w / 5, 9 * h / 10},
                                        {9 * w / 10, 7 * h / 10}, {w, 7 * h / 10}, {w, h},              {0, h}};
    };
    const std::vector<std::vector<CanvasPoint>> polygons = {
        dashboard(800, 600), dashboard(333, 257), dashboard(1920, 1080),
        {{0, 0}, {10, 0}, {10, 10}, {5, 3}, {0, 10}},  // an arrow head
        {{0, 0}, {4, 0}, {8, 0}, {8, 8}, {0, 8}},      // a square with a corner on an edge
    };
    for (std::vector<CanvasPoint> polygon : polygons) {
        for (int order = 0; order < 2; ++order) {
            std::vector<PolygonTriangle> triangles = TriangulatePolygon(polygon.data(), int32_t(polygon.size()));
            ASSERT_EQ(triangles.size(), polygon.size() - 2);
            // Triangles that lie inside and do not overlap add up to the polygon's area; one
            // reaching into the notch would add area outside it.
            int64_t sum = 0;
            for (const PolygonTriangle& t : triangles)
                sum += DoubleArea({polygon[t.a], polygon[t.b], polygon[t.c]});
            EXPECT_EQ(sum, DoubleArea(polygon)) << polygon.size() << " corners, order " << order;
            std::reverse(polygon.begin(), polygon.end());
        }
    }
    const CanvasPoint line[2] = {{0, 0}, {5, 5}};
    EXPECT_TRUE(TriangulatePolygon(line, 2).empty());
    EXPECT_TRUE(TriangulatePolygon(line, 0).empty());
}
