// The scene as the OpenGL device really draws it: pixels of offscreen frames of a hand-laid
// world with the game's own bitmaps, for faults that show only in the picture (what linear
// filtering makes of a texture's edges).

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "../render/scene_test_support.h"
#include "offscreen_device.h"
#include "sim/camera.h"

namespace {

bool IsSky(Pixel p)
{
    return p.red == 0x80 && p.green == 0xC0 && p.blue == 0xFF;
}

// The player's railcar would otherwise stand at the start of the line, in the middle of the view.
void RemoveThePlayersRailcar(World& world)
{
    TrainUnit& player = world.trains[world.playerUnit];
    player.kind = TrainNone;
    world.scenery[player.objectIndex].type = SceneryEmpty;
}

class OffscreenScene {
public:
    OffscreenScene(int32_t width, int32_t height, const World& world) : screen(width, height)
    {
        if (!screen.Ready())
            return;
        std::string whyNot;
        LoadRegisteredTextures(screen.store, world.textures, GameBitmapSource(), whyNot);
        texturesResult = CreateAllTextures(screen.device, screen.store);
    }

    bool Ready() const { return screen.Ready() && texturesResult == DeviceOk; }

    std::vector<uint8_t> Shoot(World& world, Vector3 eye, Vector3 lookAt)
    {
        Camera camera;
        EXPECT_EQ(SetViewMatrix(camera.view, eye, lookAt, {0.0f, 1.0f, 0.0f}), 0);
        view = camera.view;
        DrawScene(screen.Draw(), world, camera);
        return screen.Picture();
    }

    // The pixels of the last picture between where two points of the world land in it, inner
    // edges rounded inwards, for which the test holds; area gets the box's size.
    int Count(const std::vector<uint8_t>& picture, Vector3 corner, Vector3 oppositeCorner,
              const std::function<bool(Pixel)>& test, int* area = nullptr) const
    {
        auto [x1, y1] = PictureOf(corner);
        auto [x2, y2] = PictureOf(oppositeCorner);
        int count = 0, size = 0;
        for (int y = static_cast<int>(std::ceil(std::min(y1, y2))); y < static_cast<int>(std::max(y1, y2)); ++y) {
            for (int x = static_cast<int>(std::ceil(std::min(x1, x2))); x < static_cast<int>(std::max(x1, x2)); ++x) {
                size += 1;
                count += test(PixelAt(picture, screen.device.renderWidth, x, y)) ? 1 : 0;
            }
        }
        if (area != nullptr)
            *area = size;
        return count;
    }

    // Column and row (from the top) at which a point in front of the last eye is seen.
    std::pair<double, double> PictureOf(Vector3 point) const
    {
        Vector3 seen = TransformByMatrix(view, point);
        Vector3 projected = TransformByMatrix(screen.device.scene.projection, seen);
        return {(1.0 + projected.x / seen.z) * 0.5 * screen.device.renderWidth,
                (1.0 - projected.y / seen.z) * 0.5 * screen.device.renderHeight};
    }

    OffscreenDevice screen;
    int32_t texturesResult = DeviceFailed;
    Matrix4 view = IdentityMatrix();
};

}  // namespace

// Against the sky nothing shows above the tree's crown: the tree's picture is not repeated, so
// filtering does not bring the trunk's foot back along the top edge of the board.
TEST(ScenePictures, NothingShowsAboveTheTreeCrown)
{
    auto world = MakeTestWorld();
    RemoveThePlayersRailcar(*world);
    PlacePlayer(*world, 0.0f, 0.0f);
    world->scenery[200] = {SceneryTree, 0.0f, 0.0f, 12.0f, 0.0f, 0.0f, 0.0f, 0};
    OffscreenScene scene(160, 240, *world);
    ASSERT_TRUE(scene.Ready());
    // Level with the top of the 10 m board, 12 m away: a texel of the picture is 4 pixels high.
    auto picture = scene.Shoot(*world, {0.0f, 10.0f, 0.0f}, {0.0f, 10.0f, 12.0f});
    int above = 0, below = 0;
    EXPECT_EQ(scene.Count(picture, {-1.0f, 10.3f, 12.0f}, {1.0f, 9.8f, 12.0f}, IsSky, &above), above);
    EXPECT_GT(above, 0);
    EXPECT_LT(scene.Count(picture, {-1.0f, 9.5f, 12.0f}, {1.0f, 8.5f, 12.0f}, IsSky, &below), below) << "no crown";
}
