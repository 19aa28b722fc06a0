#pragma once
// What the scene needs of a render device: clear, begin and end a scene, set the transforms,
// texture and material, and draw indexed triangles. The OpenGL device implements it for the
// game; tests use a recording fake.

#include <cstdint>

#include "device/matrix.h"

// The one vertex format of the scene (the same layout as a model vertex).
struct SceneVertex {
    float x, y, z;
    float nx, ny, nz;
    float tu, tv;
};

enum class PrimitiveKind : int32_t {
    TriangleList = 1,
    TriangleStrip = 2,
    TriangleFan = 3,
};

struct Colour4 {
    float red, green, blue, alpha;
};

// A lit surface: colours above 1.0 are allowed and passed as they stand.
struct SceneMaterial {
    Colour4 diffuse;
    Colour4 ambient;
    Colour4 specular;
    Colour4 emissive;
    float power;
};

using TextureHandle = int32_t;  // 0: no texture
constexpr TextureHandle NoTexture = 0;

class DrawDevice {
public:
    virtual ~DrawDevice() = default;

    // colour as 0xAARRGGBB; depth 0..1.
    virtual void Clear(uint32_t colour, float depth) = 0;
    // False when nothing can be drawn this frame (a lost device, say).
    virtual bool BeginScene() = 0;
    virtual void EndScene() = 0;

    virtual void SetWorldTransform(const Matrix4& matrix) = 0;
    virtual void SetViewTransform(const Matrix4& matrix) = 0;
    virtual void SetProjectionTransform(const Matrix4& matrix) = 0;

    // The texture registered under that name (any letter case), or NoTexture.
    virtual TextureHandle FindTexture(const char* name) = 0;
    virtual void SetTexture(TextureHandle texture) = 0;
    virtual void SetMaterial(const SceneMaterial& material) = 0;

    virtual void DrawIndexed(PrimitiveKind kind, const SceneVertex* vertices, int vertexCount, const uint16_t* indexes,
                             int indexCount) = 0;
};
