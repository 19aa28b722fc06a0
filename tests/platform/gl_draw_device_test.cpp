// Pictures drawn through the OpenGL draw device, offscreen, on both drawing paths: what the
// scene relies on (orientation, culling, depth, lighting, textures with their transparent colour).

#include "platform/gl_draw_device.h"

#include <gtest/gtest.h>

#include <vector>

#include "../device/bitmap_bytes.h"
#include "device/scene_lighting.h"
#include "offscreen_device.h"

namespace {

constexpr int32_t Width = 200, Height = 150;

// corner.bmp: 4 x 4, its top-left 2 x 2 block black (its transparent colour), the rest orange.
std::vector<uint8_t> cornerBitmap;

void BeginFrame(DrawDevice& draw)
{
    Matrix4 view = IdentityMatrix();
    EXPECT_EQ(SetViewMatrix(view, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}), 0);
    draw.SetViewTransform(view);
    draw.SetWorldTransform(IdentityMatrix());
    draw.Clear(0x0080C0FFu, 1.0f);
    ASSERT_TRUE(draw.BeginScene());
}

// A board across the view at depth z, as a camera at the origin looking along +z sees it:
// x grows to the right, y upwards. Wound clockwise on the screen (its front) unless turned away.
void DrawBoard(DrawDevice& device, float left, float right, float bottom, float top, float z, bool facing = true,
               Vector3 n = {0, 0, -1})
{
    SceneVertex vertices[4] = {{left, top, z, n.x, n.y, n.z, 0, 0}, {right, top, z, n.x, n.y, n.z, 1, 0},
                               {right, bottom, z, n.x, n.y, n.z, 1, 1}, {left, bottom, z, n.x, n.y, n.z, 0, 1}};
    const uint16_t front[6] = {0, 1, 2, 0, 2, 3};
    const uint16_t back[6] = {0, 2, 1, 0, 3, 2};
    device.DrawIndexed(PrimitiveKind::TriangleList, vertices, 4, facing ? front : back, 6);
}

void UseColour(DrawDevice& device, float red, float green, float blue)
{
    device.SetMaterial(InitMaterial(red, green, blue));
    device.SetTexture(NoTexture);
}

// A channel of a grey material lit by the scene's light from the normal, modulated by a texel.
int Lit(float grey, Vector3 normal = {0, 0, -1}, float texel = 1.0f)
{
    float lit = LightVertex(SceneLightingOfDevice(), InitMaterial(grey, grey, grey), normal).red;
    return static_cast<int>(texel * lit * 255.0f + 0.5f);
}

class GlDrawDeviceTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { ASSERT_TRUE(screen.Ready()) << "open " << std::hex << screen.openResult; }
    Pixel At(const std::vector<uint8_t>& picture, int x, int y) { return PixelAt(picture, Width, x, y); }

    OffscreenDevice screen{Width, Height, GetParam()};
    DrawDevice& draw = screen.Draw();
};

}  // namespace

TEST_P(GlDrawDeviceTest, FrontFacesAreClockwiseTheLeftStaysLeftAndTheNearerSurfaceWinsWithinThePlanes)
{
    BeginFrame(draw);
    UseColour(draw, 1, 0, 0);
    DrawBoard(draw, -6, -2, -2, 2, 20);       // left, in front of a far green one drawn after it
    UseColour(draw, 0, 0, 1);
    DrawBoard(draw, 2, 6, -2, 2, 20, false);  // right, turned away: culled
    UseColour(draw, 0, 1, 0);
    DrawBoard(draw, -10, 0, -4, 4, 40);
    DrawBoard(draw, -1, 1, 3, 6, 20);         // above the axis
    // Two boards 5 cm apart 300 m away, the farther drawn last: a 16-bit depth buffer could not
    // tell them apart.
    DrawBoard(draw, -15, 15, -75, -35, 300.0f);
    UseColour(draw, 1, 0, 0);
    DrawBoard(draw, -15, 15, -75, -35, 300.05f);
    draw.EndScene();
    std::vector<uint8_t> picture = screen.Picture();
    EXPECT_TRUE(PixelIs(At(picture, 60, 75), Lit(1), 0, 0));
    EXPECT_TRUE(PixelIs(At(picture, 140, 75), 0x80, 0xC0, 0xFF)) << "culled";
    EXPECT_TRUE(PixelIs(At(picture, 100, 32), 0, Lit(1), 0)) << "above";
    EXPECT_TRUE(PixelIs(At(picture, 100, 112), 0, Lit(1), 0)) << "300 m";

    BeginFrame(draw);
    UseColour(draw, 1, 0, 0);
    DrawBoard(draw, -0.5f, -0.05f, -0.3f, 0.3f, 0.5f);        // before the near plane
    DrawBoard(draw, 2000, 30000, -15000, 15000, 60000.0f);    // beyond the far plane
    UseColour(draw, 0, 1, 0);
    DrawBoard(draw, 0.05f, 0.3f, -0.6f, 0.6f, 1.5f);          // just beyond the near plane
    DrawBoard(draw, -20000, -12000, -10000, 10000, 40000.0f); // near the far plane
    draw.EndScene();
    picture = screen.Picture();
    EXPECT_TRUE(PixelIs(At(picture, 75, 75), 0x80, 0xC0, 0xFF)) << "before the near plane";
    EXPECT_TRUE(PixelIs(At(picture, 125, 75), 0, Lit(1), 0)) << "just beyond the near plane";
    EXPECT_TRUE(PixelIs(At(picture, 20, 75), 0, Lit(1), 0)) << "near the far plane";
    EXPECT_TRUE(PixelIs(At(picture, 190, 75), 0x80, 0xC0, 0xFF)) << "beyond the far plane";
}

TEST_P(GlDrawDeviceTest, LightingFollowsTheNormalAsGivenAndTexturesModulateItCuttingTheirTransparentColour)
{
    cornerBitmap = MakeBitmap8(4, 4, {{0, 0, 0}, {200, 100, 50}}, [](int x, int y) { return x < 2 && y < 2 ? 0u : 1u; });
    auto find = [](const char*, const uint8_t*& bytes, size_t& size) {
        bytes = cornerBitmap.data();
        size = cornerBitmap.size();
        return true;
    };
    std::string whyNot;
    ASSERT_EQ(AddTexture(screen.store, "corner.bmp", 0, 2, {find, DecodeBitmapFile}, whyNot), DeviceOk) << whyNot;
    ASSERT_EQ(CreateAllTextures(screen.device, screen.store), DeviceOk);
    BeginFrame(draw);
    const Vector3 normals[3] = {{0, 1, 0}, {0, 2, 0}, {0, -1, 0}};
    UseColour(draw, 0.4f, 0.4f, 0.4f);
    for (int i = 0; i < 3; ++i)
        DrawBoard(draw, -4.5f + 3.5f * i, -2.5f + 3.5f * i, -3.5f, -2.5f, 10, true, normals[i]);
    TextureHandle corner = draw.FindTexture("CORNER.BMP");
    ASSERT_NE(corner, NoTexture);
    EXPECT_EQ(draw.FindTexture("missing.bmp"), NoTexture);
    draw.SetMaterial(InitMaterial(1, 1, 1));
    draw.SetTexture(corner);
    DrawBoard(draw, -4, 4, -2, 4, 10);
    // A draw naming a vertex it was not given is refused.
    SceneVertex three[3] = {{-5, 5, 10, 0, 0, -1, 0, 0}, {5, 5, 10, 0, 0, -1, 0, 0}, {5, -5, 10, 0, 0, -1, 0, 0}};
    const uint16_t six[6] = {0, 1, 2, 0, 2, 3};
    draw.DrawIndexed(PrimitiveKind::TriangleList, three, 3, six, 6);
    draw.EndScene();
    std::vector<uint8_t> picture = screen.Picture();
    EXPECT_EQ(LastSceneStats(screen.Gl()).refusedDraws, 1);

    for (int i = 0; i < 3; ++i) {
        int grey = Lit(0.4f, normals[i]);
        EXPECT_TRUE(PixelIs(At(picture, 30 + 70 * i, 135), grey, grey, grey)) << "normal " << i;
    }
    // Texture row 0 is the bitmap's top row, column 0 its left: the black block is top left.
    int red = Lit(1, {0, 0, -1}, 200.0f / 255.0f), green = Lit(1, {0, 0, -1}, 100.0f / 255.0f),
        blue = Lit(1, {0, 0, -1}, 50.0f / 255.0f);
    EXPECT_TRUE(PixelIs(At(picture, 62, 30), 0x80, 0xC0, 0xFF)) << "top left is cut away";
    EXPECT_TRUE(PixelIs(At(picture, 138, 30), red, green, blue)) << "top right";
    EXPECT_TRUE(PixelIs(At(picture, 62, 80), red, green, blue)) << "bottom left";
}

INSTANTIATE_TEST_SUITE_P(BothPaths, GlDrawDeviceTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Batched" : "Unbatched"; });
