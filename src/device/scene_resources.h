#pragma once
// The scene's per-device resources: the material, the ambient and two directional lights, the
// render states (depth test, alpha test at 8, modulated linear-filtered textures), the
// projection and every texture of the store. Made after the render device opens, released
// before it closes.

#include <cstdint>

struct RenderDevice;
struct TextureStore;

// The projection every device gets: field of view 0.75 rad, aspect height / width, near 1 m and
// far 50000 m.
constexpr float SceneFieldOfView = 0.75f;
constexpr float SceneNearPlane = 1.0f;
constexpr float SceneFarPlane = 50000.0f;

int32_t CreateSceneResources(RenderDevice& device, TextureStore& store);
void ReleaseSceneResources(RenderDevice& device);
// The same as ReleaseSceneResources; used when the program ends.
void FreeSceneResources(RenderDevice& device);

// Makes a texture of every entry of the store for the open device. One that cannot be made leaves
// its entry without texture and the result DeviceFailed; the others are made.
int32_t CreateAllTextures(RenderDevice& device, TextureStore& store);
void ReleaseAllTextures(RenderDevice& device, TextureStore& store);
