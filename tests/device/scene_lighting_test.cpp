#include "device/scene_lighting.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(SceneLighting, TheDeviceHasHalfAmbientAndTwoOpposedDirectionalLights)
{
    SceneLighting lighting = SceneLightingOfDevice();
    EXPECT_NEAR(lighting.ambient.red, 128.0f / 255.0f, 1e-6f);
    EXPECT_NEAR(lighting.ambient.alpha, 128.0f / 255.0f, 1e-6f);
    ASSERT_EQ(lighting.lightCount, 2);
    float length = std::sqrt(0.25f + 1.0f + 0.09f);
    EXPECT_NEAR(lighting.lights[0].direction.x, -0.5f / length, 1e-6f);
    EXPECT_NEAR(lighting.lights[0].direction.y, -1.0f / length, 1e-6f);
    EXPECT_NEAR(lighting.lights[0].direction.z, -0.3f / length, 1e-6f);
    EXPECT_FLOAT_EQ(lighting.lights[0].colour.green, 1.0f);
    EXPECT_NEAR(lighting.lights[1].direction.y, 1.0f / length, 1e-6f);
    EXPECT_FLOAT_EQ(lighting.lights[1].colour.green, 0.5f);
    EXPECT_EQ(lighting.lights[1].type, LightDirectional);
}

TEST(SceneLighting, AVertexTakesAmbientPlusDiffuseOfTheLightsItFaces)
{
    SceneLighting lighting = SceneLightingOfDevice();
    float ambient = 128.0f / 255.0f;
    float facing = 1.0f / std::sqrt(1.34f);  // up against the main light, which comes from above
    struct Case {
        const char* what;
        float grey;
        Vector3 normal;
        float expected;
    };
    const Case cases[] = {
        {"ground facing up", 0.4f, {0, 1, 0}, 0.4f * ambient + 0.4f * facing},
        // Normals are not normalised: twice as long, twice the diffuse light.
        {"normal twice as long", 0.4f, {0, 2, 0}, 0.4f * ambient + 0.8f * facing},
        {"facing down takes the half light", 0.4f, {0, -1, 0}, 0.4f * ambient + 0.4f * 0.5f * facing},
        {"edge-on to both lights", 0.4f, {0.3f, 0, -0.5f}, 0.4f * ambient},
        // Colours above 1 light beyond white and are cut to white.
        {"a sign's colour 2.0", 2.0f, {1, 0, 0}, 1.0f},
    };
    for (const Case& c : cases) {
        Colour4 lit = LightVertex(lighting, InitMaterial(c.grey, c.grey, c.grey), c.normal);
        EXPECT_NEAR(lit.red, c.expected, 1e-5f) << c.what;
        EXPECT_NEAR(lit.blue, c.expected, 1e-5f) << c.what;
        EXPECT_FLOAT_EQ(lit.alpha, 1.0f) << c.what;
    }
}

TEST(SceneLighting, EmissiveAndColouredMaterialsAddPerChannel)
{
    SceneLighting lighting = SceneLightingOfDevice();
    SceneMaterial material = InitMaterial(0.2f, 0.5f, 1.0f);
    material.diffuse.alpha = 0.5f;
    material.emissive = {0.1f, 0.0f, 0.0f, 0.0f};
    Colour4 lit = LightVertex(lighting, material, {0, 1, 0});
    float ambient = 128.0f / 255.0f;
    float facing = 1.0f / std::sqrt(1.34f);
    EXPECT_NEAR(lit.red, 0.1f + 0.2f * ambient + 0.2f * facing, 1e-5f);
    EXPECT_NEAR(lit.green, 0.5f * ambient + 0.5f * facing, 1e-5f);
    EXPECT_NEAR(lit.blue, 1.0f, 1e-5f);
    EXPECT_FLOAT_EQ(lit.alpha, 0.5f);
}
