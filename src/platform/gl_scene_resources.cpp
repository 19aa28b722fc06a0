// The scene's per-device resources over OpenGL: textures of the store, material, lights, render
// states and projection.

#include <epoxy/gl.h>

#include "device/device_results.h"
#include "device/render_device.h"
#include "device/scene_resources.h"
#include "device/texture_store.h"
#include "platform/gl_draw_device.h"

namespace {

constexpr uint32_t SceneAmbientLight = 0x80808080u;
// Alpha-keyed texels have alpha 0; everything from 8 up is drawn.
constexpr int32_t SceneAlphaReference = 8;

uint32_t CreateTexture(const TextureImage& image, bool repeats)
{
    if (image.width <= 0 || image.height <= 0)
        return 0;
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Rows go up from the top of the bitmap, so texture coordinate v = 0 is its top row.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image.rgba.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    GLint wrap = repeats ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glBindTexture(GL_TEXTURE_2D, 0);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &texture);
        return 0;
    }
    return texture;
}

}  // namespace

int32_t CreateAllTextures(RenderDevice& device, TextureStore& store)
{
    if (device.drawDevice == nullptr)
        return DeviceInvalidArgument;
    FlushDraws(*device.drawDevice);
    int32_t result = DeviceOk;
    for (TextureEntry& entry : store.entries) {
        if (entry.deviceTexture != 0) {
            GLuint old = entry.deviceTexture;
            glDeleteTextures(1, &old);
        }
        entry.deviceTexture = CreateTexture(entry.image, TextureRepeats(entry.flags));
        if (entry.deviceTexture == 0)
            result = DeviceFailed;
    }
    return result;
}

void ReleaseAllTextures(RenderDevice& device, TextureStore& store)
{
    if (device.drawDevice != nullptr)
        FlushDraws(*device.drawDevice);
    for (TextureEntry& entry : store.entries) {
        if (entry.deviceTexture != 0 && device.glContext != nullptr) {
            GLuint texture = entry.deviceTexture;
            glDeleteTextures(1, &texture);
        }
        entry.deviceTexture = 0;
    }
}

int32_t CreateSceneResources(RenderDevice& device, TextureStore& store)
{
    if (device.drawDevice == nullptr || device.renderWidth <= 0 || device.renderHeight <= 0)
        return DeviceInvalidArgument;
    GlDrawDevice& draw = *device.drawDevice;
    SceneResources& scene = device.scene;

    // One white material; the drawers overwrite it before every draw.
    scene.material = InitMaterial(1.0f, 1.0f, 1.0f);
    scene.material.power = 40.0f;
    draw.SetMaterial(scene.material);

    SetDepthTest(draw, true);
    scene.lighting = SceneLightingOfDevice();
    scene.lighting.ambient = ColourFromArgb(SceneAmbientLight);

    // A texture that cannot be made leaves its name untextured; the scene is drawn regardless.
    scene.textureStore = &store;
    scene.created = 1;
    SetTextureStore(draw, &store);
    CreateAllTextures(device, store);

    SetAlphaTest(draw, true, SceneAlphaReference);

    float aspect = static_cast<float>(device.renderHeight) / static_cast<float>(device.renderWidth);
    int32_t result = SetProjectionMatrix(scene.projection, SceneFieldOfView, aspect, SceneNearPlane, SceneFarPlane);
    if (IsFailure(result))
        return result;
    draw.SetProjectionTransform(scene.projection);

    SetSceneLighting(draw, scene.lighting);
    return DeviceOk;
}

void ReleaseSceneResources(RenderDevice& device)
{
    SceneResources& scene = device.scene;
    if (scene.textureStore != nullptr)
        ReleaseAllTextures(device, *scene.textureStore);
    if (device.drawDevice != nullptr)
        SetTextureStore(*device.drawDevice, nullptr);
    scene = SceneResources{};
}

void FreeSceneResources(RenderDevice& device)
{
    ReleaseSceneResources(device);
}
