// The scene as the OpenGL device really draws it: pixels of offscreen frames.

#include <gtest/gtest.h>

#include "offscreen_scene.h"
#include "world/model_library.h"

// Seen from the cab on the way in, the mouth shows the dark inside of the bore: the mountain
// over the first portal begins at its top edge and does not cut through the bore.
TEST(ScenePictures, TunnelMouthIsDarkFromAHundredAndThreeHundredMetres)
{
    auto world = MakeTestWorld();
    RemoveThePlayersRailcar(*world);
    TrackSegment tunnel = StraightSegment(0.0f, 0.0f, 0.0f, 1000.0f);
    tunnel.type = SegmentTunnel;
    world->strips[0] = StripAlong(tunnel, SideTunnel, SideTunnel);
    OffscreenScene scene(400, 300, *world);
    ASSERT_TRUE(scene.Ready());
    constexpr float portalZ = 100.0f;
    for (float distance : {100.0f, 300.0f}) {
        SCOPED_TRACE(distance);
        auto picture = scene.Shoot(*world, {0.0f, 3.0f, portalZ - distance}, {0.0f, 3.0f, portalZ});
        // Lines of sight through the upper middle of the mouth end on the vault, far inside.
        int area = 0;
        int dark = scene.Count(picture, {-1.5f, 7.0f, portalZ}, {1.5f, 5.0f, portalZ},
                               [](Pixel p) { return p.red < 60 && p.green < 60 && p.blue < 60; }, &area);
        EXPECT_GT(area, 0);
        EXPECT_EQ(dark, area);
    }
}

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

// Seen from above and behind, the railcar's roof carries its row of lamps once, at the front.
TEST(ScenePictures, RailcarRoofShowsItsLampsOnce)
{
    auto world = MakeTestWorld();
    BuildModelLibrary(world->models, world->groundNoise.data());
    PlacePlayer(*world, 0.0f, 0.0f);
    constexpr int32_t width = 160;
    OffscreenScene scene(width, 240, *world);
    ASSERT_TRUE(scene.Ready());
    auto picture = scene.Shoot(*world, {0.0f, 20.0f, -27.0f}, {0.0f, 3.0f, -7.5f});
    // Runs of rows with the red marker lamp, from the front of the roof down to the foot of its
    // back end (the red skirt lies lower still).
    const int frontRow = static_cast<int>(scene.PictureOf({0.0f, 3.35f, 0.0f}).second);
    const int backRow = static_cast<int>(scene.PictureOf({0.0f, 3.0f, -15.0f}).second);
    int clusters = 0;
    bool inCluster = false;
    for (int row = frontRow - 2; row <= backRow; ++row) {
        bool hasRed = false;
        for (int column = 0; column < width; ++column) {
            Pixel p = PixelAt(picture, width, column, row);
            hasRed = hasRed || (p.red > 120 && p.green * 3 < p.red && p.blue * 3 < p.red);
        }
        clusters += hasRed && !inCluster ? 1 : 0;
        inCluster = hasRed;
    }
    EXPECT_EQ(clusters, 1);
}
