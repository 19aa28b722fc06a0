#pragma once
// 4 × 4 single-precision matrices used with row vectors: a point p becomes p·M, and the
// translation stands in the fourth row. Left-handed, y up, the camera looking along +z.

#include <cstdint>

struct Matrix4 {
    float m[4][4];  // m[row][column], counted from 0
};

struct Vector3 {
    float x, y, z;
};

constexpr int32_t ResultOk = 0;
constexpr int32_t ResultInvalidArgument = static_cast<int32_t>(0x80070057u);

Matrix4 IdentityMatrix();

// The look-at view matrix from eye to lookAt with the given world up. Fails with
// ResultInvalidArgument when eye and lookAt coincide or no up axis can be found.
int32_t SetViewMatrix(Matrix4& result, Vector3 eye, Vector3 lookAt, Vector3 worldUp);
// The perspective projection; fails with ResultInvalidArgument for a degenerate field of view
// or near and far planes that (almost) coincide.
int32_t SetProjectionMatrix(Matrix4& result, float fieldOfView, float aspect, float nearPlane, float farPlane);
void SetRotateX(Matrix4& result, float angle);
void SetRotateY(Matrix4& result, float angle);
void SetRotateZ(Matrix4& result, float angle);
// result = b × a (a applied first to a row vector); result may be a or b.
void MultiplyMatrix(Matrix4& result, const Matrix4& a, const Matrix4& b);
float DotProduct(Vector3 a, Vector3 b);
Vector3 CrossProduct(Vector3 a, Vector3 b);
