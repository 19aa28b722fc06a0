#include "device/scene_lighting.h"

#include <gtest/gtest.h>

#include <cmath>

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
