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

Matrix4 Translation(float x, float y, float z)
{
    Matrix4 matrix = IdentityMatrix();
    matrix.m[3][0] = x;
    matrix.m[3][1] = y;
    matrix.m[3][2] = z;
    return matrix;
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
    ExpectNear(CrossProduct({2, 3, 4}, {5, 6, 7}), {3 * 7 - 4 * 6, 4 * 5 - 2 * 7, 2 * 6 - 3 * 5}, 0.0f);
}

TEST(Matrix, ViewMatrixPutsTheEyeAtTheOriginLookingAlongZWithTheRightSideAtPlusX)
{
    // Facing +z, world +x lies to the right; facing +x (heading a quarter turn), -z does.
    struct Case {
        Vector3 eye, lookAt, worldPoint, viewPoint;
    } cases[] = {
        {{10, 2, 30}, {10, 2, 31}, {11, 2, 30}, {1, 0, 0}},
        {{10, 2, 30}, {10, 2, 31}, {10, 5, 40}, {0, 3, 10}},
        {{0, 0, 0}, {1, 0, 0}, {0, 0, -1}, {1, 0, 0}},
        {{0, 0, 0}, {1, 0, 0}, {7, 0, 0}, {0, 0, 7}},
        {{-5, 1, 4}, {-6, 1, 4}, {-5, 1, 5}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        Matrix4 view;
        ASSERT_EQ(SetViewMatrix(view, c.eye, c.lookAt, {0, 1, 0}), ResultOk);
        ExpectNear(Transform(view, c.eye), {0, 0, 0});
        ExpectNear(Transform(view, c.worldPoint), c.viewPoint);
    }
}

TEST(Matrix, ViewMatrixHasRightUpViewInItsColumnsAndTheNegatedProjectionsInTheFourthRow)
{
    Matrix4 view;
    Vector3 eye = {3, 4, 5};
    ASSERT_EQ(SetViewMatrix(view, eye, {3, 4, 7}, {0, 1, 0}), ResultOk);
    // right (1,0,0), up (0,1,0), view (0,0,1) in columns 1, 2, 3.
    EXPECT_FLOAT_EQ(view.m[0][0], 1.0f);
    EXPECT_FLOAT_EQ(view.m[1][1], 1.0f);
    EXPECT_FLOAT_EQ(view.m[2][2], 1.0f);
    EXPECT_FLOAT_EQ(view.m[3][0], -3.0f);
    EXPECT_FLOAT_EQ(view.m[3][1], -4.0f);
    EXPECT_FLOAT_EQ(view.m[3][2], -5.0f);
    EXPECT_FLOAT_EQ(view.m[3][3], 1.0f);
    EXPECT_FLOAT_EQ(view.m[0][3], 0.0f);

    // A tilted world up is straightened against the view direction.
    ASSERT_EQ(SetViewMatrix(view, {0, 0, 0}, {0, 0, 1}, {0, 1, 1}), ResultOk);
    EXPECT_NEAR(view.m[1][1], 1.0f, 1e-6f);
    EXPECT_NEAR(view.m[2][1], 0.0f, 1e-6f);
}

TEST(Matrix, ViewMatrixFallsBackToAnotherUpWhenLookingAlongIt)
{
    Matrix4 view;
    // Up along the view: the world's y axis takes its place.
    ASSERT_EQ(SetViewMatrix(view, {0, 0, 0}, {0, 0, 1}, {0, 0, 1}), ResultOk);
    ExpectNear(Transform(view, {0, 1, 0}), {0, 1, 0});
    // Looking straight up with up (0, 1, 0): the z axis becomes up.
    ASSERT_EQ(SetViewMatrix(view, {0, 0, 0}, {0, 5, 0}, {0, 1, 0}), ResultOk);
    ExpectNear(Transform(view, {0, 0, 1}), {0, 1, 0});
    ExpectNear(Transform(view, {0, 1, 0}), {0, 0, 1});
}

TEST(Matrix, ViewMatrixRefusesCoincidentPointsAndLeavesTheResult)
{
    Matrix4 view = Translation(1, 2, 3);
    EXPECT_EQ(SetViewMatrix(view, {4, 4, 4}, {4, 4, 4}, {0, 1, 0}), ResultInvalidArgument);
    EXPECT_EQ(view.m[3][2], 3.0f);
    EXPECT_EQ(SetViewMatrix(view, {0, 0, 0}, {0, 1, 0}, {0, 0, 0}), ResultOk);
}

TEST(Matrix, ProjectionMapsTheNearPlaneToDepthZeroAndTheFarPlaneToOne)
{
    Matrix4 projection;
    float aspect = 480.0f / 640.0f;
    ASSERT_EQ(SetProjectionMatrix(projection, 0.75f, aspect, 1.0f, 50000.0f), ResultOk);
    float cotangent = static_cast<float>(std::cos(0.375) / std::sin(0.375));
    EXPECT_FLOAT_EQ(projection.m[0][0], aspect * cotangent);
    EXPECT_FLOAT_EQ(projection.m[1][1], cotangent);
    EXPECT_FLOAT_EQ(projection.m[2][3], 1.0f);
    EXPECT_FLOAT_EQ(projection.m[3][3], 0.0f);
    EXPECT_NEAR(Transform(projection, {0, 0, 1}).z, 0.0f, 1e-6f);
    EXPECT_NEAR(Transform(projection, {0, 0, 50000}).z, 1.0f, 1e-6f);
    // A point on the upper edge of the field of view lands on y = 1.
    EXPECT_NEAR(Transform(projection, {0, static_cast<float>(std::tan(0.375)) * 100.0f, 100}).y, 1.0f, 1e-5f);
}

TEST(Matrix, ProjectionRefusesDegenerateFieldsAndDepthRanges)
{
    Matrix4 projection = IdentityMatrix();
    EXPECT_EQ(SetProjectionMatrix(projection, 0.0f, 1.0f, 1.0f, 100.0f), ResultInvalidArgument);
    EXPECT_EQ(SetProjectionMatrix(projection, 0.75f, 1.0f, 10.0f, 10.005f), ResultInvalidArgument);
    EXPECT_EQ(projection.m[3][3], 1.0f);
    EXPECT_EQ(SetProjectionMatrix(projection, 0.75f, 1.0f, 10.0f, 10.02f), ResultOk);
}

TEST(Matrix, RotationsTurnTheAxesTheDirect3DWay)
{
    const float quarter = 1.5707964f;
    Matrix4 rotation;
    // About y: +z turns to +x, the way a heading turns the direction (sin h, cos h).
    SetRotateY(rotation, quarter);
    ExpectNear(Transform(rotation, {0, 0, 1}), {1, 0, 0});
    SetRotateY(rotation, 0.3f);
    ExpectNear(Transform(rotation, {0, 0, 1}), {std::sin(0.3f), 0, std::cos(0.3f)});
    SetRotateX(rotation, quarter);
    ExpectNear(Transform(rotation, {0, 1, 0}), {0, 0, 1});
    SetRotateZ(rotation, quarter);
    ExpectNear(Transform(rotation, {1, 0, 0}), {0, 1, 0});
}

TEST(Matrix, MultiplyAppliesTheSecondMatrixFirstAndMayWriteIntoEitherInput)
{
    Matrix4 turn;
    SetRotateY(turn, 1.5707964f);
    Matrix4 move = Translation(10, 0, 0);

    Matrix4 product;
    MultiplyMatrix(product, move, turn);
    ExpectNear(Transform(product, {0, 0, 1}), {11, 0, 0});
    MultiplyMatrix(product, turn, move);
    ExpectNear(Transform(product, {0, 0, 1}), {1, 0, -10});

    Matrix4 intoA = move;
    MultiplyMatrix(intoA, intoA, turn);
    Matrix4 intoB = turn;
    MultiplyMatrix(intoB, move, intoB);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            MultiplyMatrix(product, move, turn);
            EXPECT_FLOAT_EQ(intoA.m[i][j], product.m[i][j]);
            EXPECT_FLOAT_EQ(intoB.m[i][j], product.m[i][j]);
        }
    }
}
