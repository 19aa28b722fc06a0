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

const float Quarter = 1.5707964f;

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
        EXPECT_EQ(std::make_tuple(view.m[0][3], view.m[1][3], view.m[2][3], view.m[3][3]), std::make_tuple(0.f, 0.f, 0.f, 1.f));
    }
    // Coincident points are refused and leave the result as it was.
    Matrix4 view = IdentityMatrix();
    view.m[3][2] = 3.0f;
    EXPECT_EQ(SetViewMatrix(view, {4, 4, 4}, {4, 4, 4}, {0, 1, 0}), ResultInvalidArgument);
    EXPECT_EQ(view.m[3][2], 3.0f);
}

TEST(Matrix, ProjectionMapsTheNearPlaneToDepthZeroAndTheFarPlaneToOne)
{
    Matrix4 projection = IdentityMatrix();
    const float aspect = 480.0f / 640.0f;
    ASSERT_EQ(SetProjectionMatrix(projection, 0.75f, aspect, 1.0f, 50000.0f), ResultOk);
    EXPECT_NEAR(Transform(projection, {0, 0, 1}).z, 0.0f, 1e-6f);
    EXPECT_NEAR(Transform(projection, {0, 0, 50000}).z, 1.0f, 1e-6f);
    // The upper and right edges of the field of view land on y = 1 and x = 1.
    float edge = std::tan(0.375f) * 100.0f;
    ExpectNear(Transform(projection, {edge / aspect, edge, 100}), {1, 1, Transform(projection, {0, 0, 100}).z}, 1e-5f);
    // Degenerate fields and depth ranges are refused and leave the result.
    projection = IdentityMatrix();
    EXPECT_EQ(SetProjectionMatrix(projection, 0.0f, 1.0f, 1.0f, 100.0f), ResultInvalidArgument);
    EXPECT_EQ(SetProjectionMatrix(projection, 0.75f, 1.0f, 10.0f, 10.005f), ResultInvalidArgument);
    EXPECT_EQ(projection.m[3][3], 1.0f);
    EXPECT_EQ(SetProjectionMatrix(projection, 0.75f, 1.0f, 10.0f, 10.02f), ResultOk);
}

TEST(Matrix, RotationsTurnTheAxesAndProductsApplyTheSecondMatrixFirst)
{
    Matrix4 rotation;
    // About y: +z turns to +x, the way a heading turns the direction (sin h, cos h).
    SetRotateY(rotation, Quarter);
    ExpectNear(Transform(rotation, {0, 0, 1}), {1, 0, 0});
    SetRotateY(rotation, 0.3f);
    ExpectNear(Transform(rotation, {0, 0, 1}), {std::sin(0.3f), 0, std::cos(0.3f)});
    SetRotateX(rotation, Quarter);
    ExpectNear(Transform(rotation, {0, 1, 0}), {0, 0, 1});
    SetRotateZ(rotation, Quarter);
    ExpectNear(Transform(rotation, {1, 0, 0}), {0, 1, 0});

    Matrix4 turn, move = IdentityMatrix(), product;
    SetRotateY(turn, Quarter);
    move.m[3][0] = 10;
    MultiplyMatrix(product, move, turn);
    ExpectNear(Transform(product, {0, 0, 1}), {11, 0, 0});
    MultiplyMatrix(product, turn, move);
    ExpectNear(Transform(product, {0, 0, 1}), {1, 0, -10});
    // The result may be either input.
    Matrix4 intoA = turn, intoB = move;
    MultiplyMatrix(intoA, intoA, move);
    MultiplyMatrix(intoB, turn, intoB);
    ExpectNear(Transform(intoA, {0, 0, 1}), {1, 0, -10});
    ExpectNear(Transform(intoB, {0, 0, 1}), {1, 0, -10});
}
