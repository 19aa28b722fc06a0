#pragma once
// The lighting the scene is drawn with: one material at a time, an ambient light and two
// directional lights. Kept as plain records so the device can light vertices itself when it
// merges draws, and so the lighting rule can be tested without a display.

#include <cstdint>

#include "device/draw_device.h"
#include "device/matrix.h"

constexpr int32_t LightDirectional = 3;
constexpr int32_t SceneLightCapacity = 2;

struct SceneLight {
    int32_t type;
    Colour4 colour;
    Vector3 direction;  // the way the light travels, in world axes
    float range;
    float attenuation0;
};

struct SceneLighting {
    Colour4 ambient;
    SceneLight lights[SceneLightCapacity];
    int32_t lightCount;
};

// A material whose diffuse and ambient colours are (r, g, b, 1); nothing else.
SceneMaterial InitMaterial(float red, float green, float blue);

// A light of the type with colour (1, 1, 1) travelling along (x, y, z).
SceneLight InitLight(int32_t type, float x, float y, float z);

// 0xAARRGGBB as four channels of 0..1.
Colour4 ColourFromArgb(uint32_t argb);

Vector3 NormalisedVector(Vector3 v);

// The ambient light and the two directional lights every opened device gets: a white light from
// above, slightly from the left and behind, and a half-bright one from the opposite side.
SceneLighting SceneLightingOfDevice();

// The colour of a lit vertex: emissive + material ambient x ambient light + for each light the
// material diffuse x light colour x max(0, normal . -direction), each channel clamped to 0..1,
// alpha the diffuse alpha. The normal is used as it stands, not normalised, as the scene gives
// it; a world matrix turns it without changing its length.
Colour4 LightVertex(const SceneLighting& lighting, const SceneMaterial& material, Vector3 worldNormal);
