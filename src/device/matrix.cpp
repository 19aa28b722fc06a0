#include "device/matrix.h"

#include <cmath>

#include "world/sine_cosine.h"

namespace {

// Below this length a direction cannot be normalised reliably.
constexpr float ShortestDirection = 1e-6f;

float Length(Vector3 v)
{
    return std::sqrt(DotProduct(v, v));
}

Vector3 Scale(Vector3 v, float factor)
{
    return {v.x * factor, v.y * factor, v.z * factor};
}

Vector3 Subtract(Vector3 a, Vector3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

// The part of up at right angles to view (a unit vector).
Vector3 PerpendicularPart(Vector3 up, Vector3 view)
{
    return Subtract(up, Scale(view, DotProduct(up, view)));
}

}  // namespace

float DotProduct(Vector3 a, Vector3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector3 CrossProduct(Vector3 a, Vector3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Matrix4 IdentityMatrix()
{
    Matrix4 identity = {};
    for (int i = 0; i < 4; ++i)
        identity.m[i][i] = 1.0f;
    return identity;
}

int32_t SetViewMatrix(Matrix4& result, Vector3 eye, Vector3 lookAt, Vector3 worldUp)
{
    Vector3 view = Subtract(lookAt, eye);
    float viewLength = Length(view);
    if (viewLength < ShortestDirection)
        return ResultInvalidArgument;
    view = Scale(view, 1.0f / viewLength);

    // An up vector along the view direction leaves nothing at right angles to it: fall back to
    // the world's y axis, and to its z axis when looking straight up or down.
    Vector3 up = PerpendicularPart(worldUp, view);
    float upLength = Length(up);
    if (upLength < ShortestDirection) {
        up = Subtract({0.0f, 1.0f, 0.0f}, Scale(view, view.y));
        upLength = Length(up);
    }
    if (upLength < ShortestDirection) {
        up = Subtract({0.0f, 0.0f, 1.0f}, Scale(view, view.z));
        upLength = Length(up);
    }
    if (upLength < ShortestDirection)
        return ResultInvalidArgument;
    up = Scale(up, 1.0f / upLength);

    Vector3 right = CrossProduct(up, view);

    result = IdentityMatrix();
    const Vector3 axes[3] = {right, up, view};
    for (int column = 0; column < 3; ++column) {
        result.m[0][column] = axes[column].x;
        result.m[1][column] = axes[column].y;
        result.m[2][column] = axes[column].z;
        result.m[3][column] = -DotProduct(eye, axes[column]);
    }
    return ResultOk;
}

int32_t SetProjectionMatrix(Matrix4& result, float fieldOfView, float aspect, float nearPlane, float farPlane)
{
    double halfAngle = static_cast<double>(fieldOfView) * 0.5;
    float sine = static_cast<float>(std::sin(halfAngle));
    float cosine = static_cast<float>(std::cos(halfAngle));
    if (std::fabs(farPlane - nearPlane) < 0.01f || std::fabs(sine) < 0.01f)
        return ResultInvalidArgument;

    float cotangent = cosine / sine;
    float depthScale = farPlane / (farPlane - nearPlane);
    result = {};
    result.m[0][0] = aspect * cotangent;
    result.m[1][1] = cotangent;
    result.m[2][2] = depthScale;
    result.m[2][3] = 1.0f;
    result.m[3][2] = -depthScale * nearPlane;
    return ResultOk;
}

void SetRotateX(Matrix4& result, float angle)
{
    float sine = Sine(angle);
    float cosine = Cosine(angle);
    result = IdentityMatrix();
    result.m[1][1] = cosine;
    result.m[1][2] = sine;
    result.m[2][1] = -sine;
    result.m[2][2] = cosine;
}

void SetRotateY(Matrix4& result, float angle)
{
    float sine = Sine(angle);
    float cosine = Cosine(angle);
    result = IdentityMatrix();
    result.m[0][0] = cosine;
    result.m[0][2] = -sine;
    result.m[2][0] = sine;
    result.m[2][2] = cosine;
}

void SetRotateZ(Matrix4& result, float angle)
{
    float sine = Sine(angle);
    float cosine = Cosine(angle);
    result = IdentityMatrix();
    result.m[0][0] = cosine;
    result.m[0][1] = sine;
    result.m[1][0] = -sine;
    result.m[1][1] = cosine;
}

void MultiplyMatrix(Matrix4& result, const Matrix4& a, const Matrix4& b)
{
    // Built apart first, since result may be a or b.
    Matrix4 product;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += b.m[i][k] * a.m[k][j];
            product.m[i][j] = sum;
        }
    }
    result = product;
}
