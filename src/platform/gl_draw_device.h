#pragma once
// The OpenGL side of the scene: what DrawDevice asks for, drawn with OpenGL 3.3 core programs in
// the render states the scene relies on (depth test less-or-equal, clockwise front faces with
// back faces culled, alpha test, texture modulated by the lit colour).
//
// The scene arrives as thousands of tiny indexed draws. Batched (the default), the device lights
// and transforms each draw's vertices into a per-frame buffer, one bucket per texture, and sends
// each bucket as one GL draw when the scene ends: nothing is blended, so draws with the depth
// test give the same picture in any order, apart from exact depth ties. Unbatched, every draw is
// its own GL call, lit and transformed by the programs.

#include <cstdint>
#include <memory>

#include "device/draw_device.h"
#include "device/scene_lighting.h"

struct TextureStore;

// What the device did in the last scene.
struct DrawStats {
    int32_t sceneDraws;    // DrawIndexed calls received
    int32_t refusedDraws;  // draws naming a vertex they were not given
    int32_t glDrawCalls;
    int64_t triangles;
};

struct GlDrawDeviceState;

class GlDrawDevice final : public DrawDevice {
public:
    GlDrawDevice();
    ~GlDrawDevice() override;
    GlDrawDevice(const GlDrawDevice&) = delete;
    GlDrawDevice& operator=(const GlDrawDevice&) = delete;

    void Clear(uint32_t colour, float depth) override;
    bool BeginScene() override;
    void EndScene() override;
    void SetWorldTransform(const Matrix4& matrix) override;
    void SetViewTransform(const Matrix4& matrix) override;
    void SetProjectionTransform(const Matrix4& matrix) override;
    TextureHandle FindTexture(const char* name) override;
    void SetTexture(TextureHandle texture) override;
    void SetMaterial(const SceneMaterial& material) override;
    void DrawIndexed(PrimitiveKind kind, const SceneVertex* vertices, int vertexCount, const uint16_t* indexes,
                     int indexCount) override;

    std::unique_ptr<GlDrawDeviceState> state;
};

// Makes the programs and buffers in the current context; false when the context cannot.
bool CreateGlDrawDevice(GlDrawDevice& device);

void SetDrawBatching(GlDrawDevice& device, bool batching);
void SetSceneLighting(GlDrawDevice& device, const SceneLighting& lighting);
// Depth test less-or-equal with depth writes, or neither.
void SetDepthTest(GlDrawDevice& device, bool enabled);
// Alpha test: texels whose alpha (0..255) is below the reference are discarded.
void SetAlphaTest(GlDrawDevice& device, bool enabled, int32_t reference);
void SetTextureStore(GlDrawDevice& device, TextureStore* store);
// Sends whatever is waiting in the buckets.
void FlushDraws(GlDrawDevice& device);
DrawStats LastSceneStats(const GlDrawDevice& device);
