// Pictures drawn through the OpenGL draw device, offscreen, on both drawing paths: what the
// scene relies on (orientation, culling, depth, lighting, textures with their transparent colour)
// and that merging draws does not change the picture.

#include "platform/gl_draw_device.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <vector>

#include "../device/bitmap_bytes.h"
#include "device/scene_lighting.h"
#include "offscreen_device.h"

namespace {

constexpr int32_t Width = 200;
constexpr int32_t Height = 150;
constexpr uint32_t Sky = 0x0080C0FFu;

// A 4 x 4 bitmap: its top-left 2 x 2 block black, the rest orange; black is its transparent colour.
std::vector<uint8_t> cornerBitmap;
std::vector<uint8_t> stripesBitmap;

bool FindTestBitmap(const char* name, const uint8_t*& bytes, size_t& size)
{
    const std::vector<uint8_t>* found = nullptr;
    if (std::string(name) == "corner.bmp")
        found = &cornerBitmap;
    else if (std::string(name) == "stripes.bmp")
        found = &stripesBitmap;
    if (found == nullptr)
        return false;
    bytes = found->data();
    size = found->size();
    return true;
}

void LoadTestTextures(TextureStore& store)
{
    cornerBitmap = MakeBitmap8(4, 4, {{0, 0, 0}, {200, 100, 50}}, [](int x, int y) { return x < 2 && y < 2 ? 0u : 1u; });
    stripesBitmap = MakeBitmap24(8, 8, [](int x, int) { return x % 2 == 0 ? 0x20A040u : 0xE0E0E0u; });
    BitmapSource source{FindTestBitmap, DecodeBitmapFile};
    std::string whyNot;
    ASSERT_EQ(AddTexture(store, "corner.bmp", 0, 2, source, whyNot), DeviceOk) << whyNot;
    ASSERT_EQ(AddTexture(store, "stripes.bmp", 0, 0, source, whyNot), DeviceOk) << whyNot;
}

Matrix4 LookAlongZ(Vector3 eye)
{
    Matrix4 view = IdentityMatrix();
    EXPECT_EQ(SetViewMatrix(view, eye, {eye.x, eye.y, eye.z + 1.0f}, {0.0f, 1.0f, 0.0f}), 0);
    return view;
}

// A board across the view at depth z, as a camera at the origin looking along +z sees it:
// x grows to the right, y upwards. Wound clockwise on the screen (its front) unless turned away.
void DrawBoard(DrawDevice& device, float left, float right, float bottom, float top, float z, bool facing = true)
{
    SceneVertex vertices[4] = {
        {left, top, z, 0, 0, -1, 0, 0},
        {right, top, z, 0, 0, -1, 1, 0},
        {right, bottom, z, 0, 0, -1, 1, 1},
        {left, bottom, z, 0, 0, -1, 0, 1},
    };
    const uint16_t front[6] = {0, 1, 2, 0, 2, 3};
    const uint16_t back[6] = {0, 2, 1, 0, 3, 2};
    device.DrawIndexed(PrimitiveKind::TriangleList, vertices, 4, facing ? front : back, 6);
}

// A stretch of ground at height y from z near to z far, with the given normal.
void DrawGround(DrawDevice& device, float left, float right, float y, float nearZ, float farZ, Vector3 normal)
{
    SceneVertex vertices[4] = {
        {left, y, farZ, normal.x, normal.y, normal.z, 0, 0},
        {right, y, farZ, normal.x, normal.y, normal.z, 1, 0},
        {right, y, nearZ, normal.x, normal.y, normal.z, 1, 1},
        {left, y, nearZ, normal.x, normal.y, normal.z, 0, 1},
    };
    const uint16_t indexes[6] = {0, 1, 2, 0, 2, 3};
    device.DrawIndexed(PrimitiveKind::TriangleList, vertices, 4, indexes, 6);
}

void UseColour(DrawDevice& device, float red, float green, float blue)
{
    device.SetMaterial(InitMaterial(red, green, blue));
    device.SetTexture(NoTexture);
}

int Expected(float channel)
{
    return static_cast<int>(channel * 255.0f + 0.5f);
}

class GlDrawDeviceTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(screen.Ready()) << "open " << std::hex << screen.openResult;
    }

    void BeginFrame(Vector3 eye = {0, 0, 0})
    {
        screen.Draw().SetViewTransform(LookAlongZ(eye));
        screen.Draw().SetWorldTransform(IdentityMatrix());
        screen.Draw().Clear(Sky, 1.0f);
        ASSERT_TRUE(screen.Draw().BeginScene());
    }

    std::vector<uint8_t> EndFrame()
    {
        screen.Draw().EndScene();
        return screen.Picture();
    }

    OffscreenDevice screen{Width, Height, GetParam()};
};

}  // namespace

TEST_P(GlDrawDeviceTest, FrontFacesAreClockwiseOnScreenAndTheLeftStaysOnTheLeft)
{
    BeginFrame();
    UseColour(screen.Draw(), 1.0f, 0.0f, 0.0f);
    DrawBoard(screen.Draw(), -6, -2, -2, 2, 20);
    UseColour(screen.Draw(), 0.0f, 0.0f, 1.0f);
    DrawBoard(screen.Draw(), 2, 6, -2, 2, 20, false);
    UseColour(screen.Draw(), 0.0f, 1.0f, 0.0f);
    DrawBoard(screen.Draw(), -1, 1, 3, 6, 20);
    std::vector<uint8_t> picture = EndFrame();

    Colour4 red = LightVertex(SceneLightingOfDevice(), InitMaterial(1, 0, 0), {0, 0, -1});
    // Left of the view axis on the left of the picture, above it in the upper half; the board
    // wound counter-clockwise shows its back and is culled.
    EXPECT_TRUE(PixelIs(PixelAt(picture, Width, 60, 75), Expected(red.red), 0, 0));
    EXPECT_TRUE(PixelIs(PixelAt(picture, Width, 140, 75), 0x80, 0xC0, 0xFF));
    EXPECT_TRUE(PixelIs(PixelAt(picture, Width, 100, 32), 0, Expected(red.red), 0));
    EXPECT_TRUE(PixelIs(PixelAt(picture, Width, 100, 120), 0x80, 0xC0, 0xFF));
}

TEST_P(GlDrawDeviceTest, LightingFollowsTheMaterialAndTheNormalAsGiven)
{
    BeginFrame();
    UseColour(screen.Draw(), 0.4f, 0.4f, 0.4f);
    const Vector3 normals[3] = {{0, 1, 0}, {0, 2, 0}, {0, -1, 0}};
    DrawGround(screen.Draw(), -6, -2, -2, 5, 30, normals[0]);
    DrawGround(screen.Draw(), -1, 1, -2, 5, 30, normals[1]);
    DrawGround(screen.Draw(), 2, 6, -2, 5, 30, normals[2]);
    std::vector<uint8_t> picture = EndFrame();

    const int columns[3] = {24, 100, 176};
    for (int i = 0; i < 3; ++i) {
        Colour4 lit = LightVertex(SceneLightingOfDevice(), InitMaterial(0.4f, 0.4f, 0.4f), normals[i]);
        int grey = Expected(lit.red);
        EXPECT_TRUE(PixelIs(PixelAt(picture, Width, columns[i], 113), grey, grey, grey)) << "normal " << i;
    }
}

TEST_P(GlDrawDeviceTest, TexturesModulateTheLitColourAndTheirTransparentColourIsCutAway)
{
    LoadTestTextures(screen.store);
    ASSERT_EQ(CreateAllTextures(screen.device, screen.store), DeviceOk);
    BeginFrame();
    TextureHandle corner = screen.Draw().FindTexture("CORNER.BMP");
    ASSERT_NE(corner, NoTexture);
    EXPECT_EQ(screen.Draw().FindTexture("missing.bmp"), NoTexture);
    screen.Draw().SetMaterial(InitMaterial(1, 1, 1));
    screen.Draw().SetTexture(corner);
    DrawBoard(screen.Draw(), -4, 4, -3, 3, 10);
    std::vector<uint8_t> picture = EndFrame();

    Colour4 lit = LightVertex(SceneLightingOfDevice(), InitMaterial(1, 1, 1), {0, 0, -1});
    int red = Expected(200.0f / 255.0f * lit.red);
    int green = Expected(100.0f / 255.0f * lit.green);
    int blue = Expected(50.0f / 255.0f * lit.blue);
    // Texture row 0 is the bitmap's top row, column 0 its left: the black block is top left.
    EXPECT_TRUE(PixelIs(PixelAt(picture, Width, 62, 46), 0x80, 0xC0, 0xFF)) << "top left is cut away";
    EXPECT_TRUE(PixelIs(PixelAt(picture, Width, 138, 46), red, green, blue)) << "top right";
    EXPECT_TRUE(PixelIs(PixelAt(picture, Width, 62, 104), red, green, blue)) << "bottom left";
    EXPECT_TRUE(PixelIs(PixelAt(picture, Width, 138, 104), red, green, blue)) << "bottom right";
}

TEST_P(GlDrawDeviceTest, TheNearerSurfaceWinsInEitherOrderFromTheNearToTheFarPlane)
{
    BeginFrame();
    // Left: near first; right: far first.
    UseColour(screen.Draw(), 0, 1, 0);
    DrawBoard(screen.Draw(), -6, -2, -2, 2, 20);
    UseColour(screen.Draw(), 1, 0, 0);
    DrawBoard(screen.Draw(), -10, 0, -4, 4, 40);
    DrawBoard(screen.Draw(), 0, 10, -4, 4, 40);
    UseColour(screen.Draw(), 0, 1, 0);
    DrawBoard(screen.Draw(), 2, 6, -2, 2, 20);
    // Above: two boards 5 cm apart 300 m away; the farther one drawn last stays hidden. A
    // 16-bit depth buffer could not tell them apart there.
    UseColour(screen.Draw(), 0, 1, 0);
    DrawBoard(screen.Draw(), -15, 15, 35, 75, 300.0f);
    UseColour(screen.Draw(), 1, 0, 0);
    DrawBoard(screen.Draw(), -15, 15, 35, 75, 300.05f);
    std::vector<uint8_t> picture = EndFrame();

    const int places[3][2] = {{60, 75}, {140, 75}, {100, 40}};
    for (const auto& place : places) {
        Pixel pixel = PixelAt(picture, Width, place[0], place[1]);
        EXPECT_GT(pixel.green, 100) << place[0] << ", " << place[1];
        EXPECT_EQ(pixel.red, 0) << place[0] << ", " << place[1];
    }
}

TEST_P(GlDrawDeviceTest, OnlyWhatLiesBetweenTheNearAndFarPlanesIsDrawn)
{
    BeginFrame();
    UseColour(screen.Draw(), 1, 0, 0);
    DrawBoard(screen.Draw(), -0.5f, -0.05f, -0.3f, 0.3f, 0.5f);        // before the near plane
    UseColour(screen.Draw(), 0, 1, 0);
    DrawBoard(screen.Draw(), 0.05f, 0.3f, -0.6f, 0.6f, 1.5f);           // just beyond it
    DrawBoard(screen.Draw(), -20000, -12000, -10000, 10000, 40000.0f); // near the far plane
    UseColour(screen.Draw(), 1, 0, 0);
    DrawBoard(screen.Draw(), 2000, 30000, -15000, 15000, 60000.0f);    // beyond it
    std::vector<uint8_t> picture = EndFrame();

    EXPECT_TRUE(PixelIs(PixelAt(picture, Width, 75, 75), 0x80, 0xC0, 0xFF)) << "before the near plane";
    EXPECT_GT(PixelAt(picture, Width, 125, 75).green, 100) << "just beyond the near plane";
    EXPECT_GT(PixelAt(picture, Width, 20, 75).green, 100) << "near the far plane";
    EXPECT_TRUE(PixelIs(PixelAt(picture, Width, 190, 75), 0x80, 0xC0, 0xFF)) << "beyond the far plane";
}

TEST_P(GlDrawDeviceTest, ADrawNamingAVertexItWasNotGivenIsRefused)
{
    BeginFrame();
    UseColour(screen.Draw(), 1, 0, 0);
    SceneVertex vertices[3] = {{-5, 5, 10, 0, 0, -1, 0, 0}, {5, 5, 10, 0, 0, -1, 0, 0}, {5, -5, 10, 0, 0, -1, 0, 0}};
    const uint16_t indexes[6] = {0, 1, 2, 0, 2, 3};
    screen.Draw().DrawIndexed(PrimitiveKind::TriangleList, vertices, 3, indexes, 6);
    std::vector<uint8_t> picture = EndFrame();
    EXPECT_EQ(LastSceneStats(screen.Gl()).refusedDraws, 1);
    EXPECT_EQ(LastSceneStats(screen.Gl()).glDrawCalls, 0);
    EXPECT_TRUE(PixelIs(PixelAt(picture, Width, 120, 60), 0x80, 0xC0, 0xFF));
}

INSTANTIATE_TEST_SUITE_P(BothPaths, GlDrawDeviceTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Batched" : "Unbatched";
                         });

namespace {

// A fixed jumble of lists, strips and fans in many materials and three textures, turned and
// moved by their own world matrices: the kind of stream the scene sends.
struct RecordedDraw {
    Matrix4 world;
    SceneMaterial material;
    int texture;  // 0 none, 1 corner, 2 stripes
    PrimitiveKind kind;
    std::vector<SceneVertex> vertices;
    std::vector<uint16_t> indexes;
};

std::vector<RecordedDraw> MakeJumble()
{
    std::mt19937 random(20240611u);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<RecordedDraw> draws;
    for (int i = 0; i < 600; ++i) {
        RecordedDraw draw;
        Matrix4 turn = IdentityMatrix();
        SetRotateY(turn, (unit(random) - 0.5f) * 1.5f);
        Matrix4 move = IdentityMatrix();
        move.m[3][0] = (unit(random) - 0.5f) * 80.0f;
        move.m[3][1] = (unit(random) - 0.5f) * 30.0f;
        move.m[3][2] = 15.0f + unit(random) * 150.0f;
        MultiplyMatrix(draw.world, move, turn);
        float grey = 0.2f + unit(random) * 1.8f;
        draw.material = InitMaterial(grey * unit(random), grey * unit(random), grey * unit(random));
        draw.texture = static_cast<int>(unit(random) * 3.0f) % 3;
        draw.kind = static_cast<PrimitiveKind>(1 + static_cast<int>(unit(random) * 3.0f) % 3);
        float size = 1.0f + unit(random) * 6.0f;
        int corners = 4 + static_cast<int>(unit(random) * 6.0f);
        Vector3 normal = {unit(random) - 0.5f, unit(random), -1.0f};
        for (int c = 0; c < corners; ++c) {
            float angle = -6.2832f * static_cast<float>(c) / static_cast<float>(corners);
            float x = std::cos(angle) * size;
            float y = std::sin(angle) * size;
            if (draw.kind == PrimitiveKind::TriangleStrip) {
                x = (static_cast<float>(c / 2) - 1.0f) * size * 0.7f;
                y = c % 2 == 0 ? size : -size;
            }
            draw.vertices.push_back({x, y, unit(random) * 2.0f, normal.x, normal.y, normal.z, x / size + 0.5f,
                                     0.5f - y / size});
        }
        if (draw.kind == PrimitiveKind::TriangleList) {
            for (int c = 1; c + 1 < corners; ++c) {
                draw.indexes.push_back(0);
                draw.indexes.push_back(static_cast<uint16_t>(c));
                draw.indexes.push_back(static_cast<uint16_t>(c + 1));
            }
        } else {
            for (int c = 0; c < corners; ++c)
                draw.indexes.push_back(static_cast<uint16_t>(c));
        }
        draws.push_back(draw);
    }
    return draws;
}

std::vector<uint8_t> DrawJumble(bool batching, DrawStats& stats)
{
    OffscreenDevice screen(Width * 2, Height * 2, batching);
    EXPECT_TRUE(screen.Ready());
    LoadTestTextures(screen.store);
    EXPECT_EQ(CreateAllTextures(screen.device, screen.store), DeviceOk);
    TextureHandle textures[3] = {NoTexture, screen.Draw().FindTexture("corner.bmp"),
                                 screen.Draw().FindTexture("stripes.bmp")};
    screen.Draw().SetViewTransform(LookAlongZ({0, 2, 0}));
    screen.Draw().Clear(Sky, 1.0f);
    EXPECT_TRUE(screen.Draw().BeginScene());
    for (const RecordedDraw& draw : MakeJumble()) {
        screen.Draw().SetWorldTransform(draw.world);
        screen.Draw().SetMaterial(draw.material);
        screen.Draw().SetTexture(textures[draw.texture]);
        screen.Draw().DrawIndexed(draw.kind, draw.vertices.data(), static_cast<int>(draw.vertices.size()),
                                  draw.indexes.data(), static_cast<int>(draw.indexes.size()));
    }
    screen.Draw().EndScene();
    stats = LastSceneStats(screen.Gl());
    return screen.Picture();
}

}  // namespace

TEST(GlDrawDeviceBatching, MergingTheDrawsGivesTheSamePictureInAFewCalls)
{
    DrawStats batchedStats{};
    DrawStats unbatchedStats{};
    std::vector<uint8_t> batched = DrawJumble(true, batchedStats);
    std::vector<uint8_t> unbatched = DrawJumble(false, unbatchedStats);

    double different = ShareOfDifferentPixels(batched, unbatched, 16);
    std::printf("batched and unbatched pictures: %.3f %% of the pixels differ by more than 16 levels\n",
                different * 100.0);
    EXPECT_LT(different, 0.01);
    // Something was drawn: most of the picture is not sky.
    std::vector<uint8_t> sky(batched.size());
    for (size_t i = 0; i < sky.size(); i += 4) {
        sky[i] = 0x80;
        sky[i + 1] = 0xC0;
        sky[i + 2] = 0xFF;
    }
    EXPECT_GT(ShareOfDifferentPixels(batched, sky, 16), 0.3);

    EXPECT_EQ(batchedStats.sceneDraws, 600);
    EXPECT_EQ(unbatchedStats.glDrawCalls, 600);
    EXPECT_EQ(batchedStats.triangles, unbatchedStats.triangles);
    // One call for the untextured draws and one per texture.
    EXPECT_LE(batchedStats.glDrawCalls, 3);
}
