#include "device/scene_lighting.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

float Clamp01(float value)
{
    return std::min(1.0f, std::max(0.0f, value));
}

}  // namespace

SceneMaterial InitMaterial(float red, float green, float blue)
{
    SceneMaterial material{};
    material.diffuse = {red, green, blue, 1.0f};
    material.ambient = {red, green, blue, 1.0f};
    return material;
}

SceneLight InitLight(int32_t type, float x, float y, float z)
{
    SceneLight light{};
    light.type = type;
    light.colour = {1.0f, 1.0f, 1.0f, 1.0f};
    light.direction = {x, y, z};
    return light;
}

Colour4 ColourFromArgb(uint32_t argb)
{
    return {static_cast<float>((argb >> 16) & 0xFFu) / 255.0f, static_cast<float>((argb >> 8) & 0xFFu) / 255.0f,
            static_cast<float>(argb & 0xFFu) / 255.0f, static_cast<float>((argb >> 24) & 0xFFu) / 255.0f};
}

Vector3 NormalisedVector(Vector3 v)
{
    float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0f)
        return v;
    return {v.x / length, v.y / length, v.z / length};
}

SceneLighting SceneLightingOfDevice()
{
    SceneLighting lighting{};
    lighting.ambient = ColourFromArgb(0x80808080u);
    float range = std::sqrt(FLT_MAX);

    Vector3 down = NormalisedVector({-0.5f, -1.0f, -0.3f});
    lighting.lights[0] = InitLight(LightDirectional, down.x, down.y, down.z);
    lighting.lights[0].range = range;
    lighting.lights[0].attenuation0 = 1.0f;

    Vector3 up = NormalisedVector({0.5f, 1.0f, 0.3f});
    lighting.lights[1] = InitLight(LightDirectional, up.x, up.y, up.z);
    lighting.lights[1].colour = {0.5f, 0.5f, 0.5f, 1.0f};
    lighting.lights[1].range = range;
    lighting.lights[1].attenuation0 = 1.0f;

    lighting.lightCount = 2;
    return lighting;
}

Colour4 LightVertex(const SceneLighting& lighting, const SceneMaterial& material, Vector3 worldNormal)
{
    float red = material.emissive.red + material.ambient.red * lighting.ambient.red;
    float green = material.emissive.green + material.ambient.green * lighting.ambient.green;
    float blue = material.emissive.blue + material.ambient.blue * lighting.ambient.blue;
    for (int32_t i = 0; i < lighting.lightCount; ++i) {
        const SceneLight& light = lighting.lights[i];
        float facing = -(worldNormal.x * light.direction.x + worldNormal.y * light.direction.y +
                         worldNormal.z * light.direction.z);
        if (facing <= 0.0f)
            continue;
        red += material.diffuse.red * light.colour.red * facing;
        green += material.diffuse.green * light.colour.green * facing;
        blue += material.diffuse.blue * light.colour.blue * facing;
    }
    return {Clamp01(red), Clamp01(green), Clamp01(blue), Clamp01(material.diffuse.alpha)};
}
