#include <gtest/gtest.h>

#include <cmath>

#include "device/matrix.h"

namespace {

// A row vector (x, y, z, 1) times the matrix, divided by w.
Vector3 Transform(const Matrix4& matrix, Vector3 p)
{
    float out[4];
    for (int c = 0; c < 4; ++c)
        out[c] = p.x * matrix.m[0][c] + p.y * matrix.m[1][c] + p.z * matrix.m[2][c] + matrix.m[3][c];
    return {out[0] / out[3], out[1] / out[3], out[2] / out[3]};
}

void ExpectNear(Vector3 actual, Vector3 expected, float tolerance = 1e-4f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

}  // namespace

TEST(Matrix, DotAndCrossProductsFollowTheLeftHandedAxes)
{
    EXPECT_FLOAT_EQ(DotProduct({1, 2, 3}, {4, -5, 6}), 12.0f);
    ExpectNear(CrossProduct({1, 0, 0}, {0, 1, 0}), {0, 0, 1}, 0.0f);
    ExpectNear(CrossProduct({0, 1, 0}, {0, 0, 1}), {1, 0, 0}, 0.0f);
}

TEST(Matrix, ViewMatrixPutsTheEyeAtTheOriginLookingAlongZWithTheRightSideAtPlusX)
{
    // Facing +z, world +x lies to the right; facing +x, -z does. An up along the view falls
    // back to the world's y axis, and looking straight up to its z axis.
    struct Case {
        Vector3 eye, lookAt, up, worldPoint, viewPoint;
    } cases[] = {
        {{10, 2, 30}, {10, 2, 31}, {0, 1, 0}, {11, 2, 30}, {1, 0, 0}},
        {{10, 2, 30}, {10, 2, 31}, {0, 1, 0}, {10, 5, 40}, {0, 3, 10}},
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, -1}, {1, 0, 0}},
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {7, 0, 0}, {0, 0, 7}},
        {{-5, 1, 4}, {-6, 1, 4}, {0, 1, 0}, {-5, 1, 5}, {1, 0, 0}},
        {{3, 4, 5}, {3, 4, 7}, {0, 1, 1}, {3, 5, 5}, {0, 1, 0}},
        {{0, 0, 0}, {0, 0, 1}, {0, 0, 1}, {0, 1, 0}, {0, 1, 0}},
        {{0, 0, 0}, {0, 5, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 0}},
        {{0, 0, 0}, {0, 5, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        Matrix4 view;
        ASSERT_EQ(SetViewMatrix(view, c.eye, c.lookAt, c.up), ResultOk);
        ExpectNear(Transform(view, c.eye), {0, 0, 0});
        ExpectNear(Transform(view, c.worldPoint), c.viewPoint);
        EXPECT_EQ(std::make_tuple(view.m[0][3], view.m[1][3], view.m[2][3], view.m[3][3]), std::make_tuple(0, 0, 0, 1));
    }
    // Coincident points are refused and leave the result as it was.
    Matrix4 view = IdentityMatrix();
    view.m[3][2] = 3.0f;
    EXPECT_EQ(SetViewMatrix(view, {4, 4, 4}, {4, 4, 4}, {0, 1, 0}), ResultInvalidArgument);
    EXPECT_EQ(view.m[3][2], 3.0f);
}
