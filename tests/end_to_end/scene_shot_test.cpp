// Frames of a built world as the game draws them, offscreen: what must be in the picture.

#include "shell/commands/scene_shot.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "../platform/offscreen_device.h"
#include "shell/commands/headless_game.h"
#include "world/world.h"

namespace {

// A 400 by 300 picture of the world from the view.
ShotPicture Shoot(GameSession& built, int32_t viewMode)
{
    UseOffscreenVideo();
    ShotSettings settings;
    settings.viewMode = viewMode;
    settings.width = 400;
    settings.height = 300;
    ShotPicture picture;
    std::ostringstream err;
    EXPECT_EQ(TakeShot(built, settings, picture, err), 0) << err.str();
    EXPECT_EQ(picture.rgba.size(), 400u * 300 * 4);
    return picture;
}

// The share of the pixels in the box (fractions of the picture) for which the test holds.
double Share(const ShotPicture& picture, double left, double top, double right, double bottom,
             const std::function<bool(Pixel)>& test)
{
    int count = 0, total = 0;
    for (int y = static_cast<int>(top * picture.height); y < static_cast<int>(bottom * picture.height); ++y)
        for (int x = static_cast<int>(left * picture.width); x < static_cast<int>(right * picture.width); ++x, ++total)
            count += test(PixelAt(picture.rgba, picture.width, x, y)) ? 1 : 0;
    return static_cast<double>(count) / total;
}

bool IsSky(Pixel p) { return p.red == 0x80 && p.green == 0xC0 && p.blue == 0xFF; }
bool IsGrass(Pixel p) { return p.green > p.red + 20 && p.green > p.blue && p.red < 140; }
bool IsGrey(Pixel p) { return std::abs(p.red - p.green) < 10 && std::abs(p.green - p.blue) < 10; }
bool IsLampRed(Pixel p) { return p.red > 150 && p.green < 90 && p.blue < 90; }
bool IsOrange(Pixel p) { return p.red > 100 && p.green * 10 > p.red * 3 && p.green * 10 < p.red * 7 && p.blue * 4 < p.red; }

}  // namespace

TEST(SceneShot, TheStartShowsSkyGrassTheTrackAheadAndItsSignalAndFromOutsideTheRailcar)
{
    // Scenery 1, 20 km, built as `tagvind shot --length 20 --seed 1` builds it.
    GameOptions options;
    options.totalLengthKm = 20;
    auto built = BuildHeadlessGame(options, 1);
    ShotPicture picture = Shoot(*built, ViewCab);
    EXPECT_GT(picture.stats.sceneDraws, 50);

    // Above the horizon nothing but the cleared sky; below it grass to both sides, beyond the
    // station's platforms.
    EXPECT_EQ(Share(picture, 0.0, 0.0, 1.0, 0.3, IsSky), 1.0);
    EXPECT_GT(Share(picture, 0.0, 0.52, 0.12, 0.58, IsGrass), 0.5);
    EXPECT_GT(Share(picture, 0.88, 0.52, 1.0, 0.58, IsGrass), 0.5);
    // The grey track runs ahead through the middle of the lower half.
    EXPECT_GT(Share(picture, 0.45, 0.8, 0.55, 1.0, IsGrey), 0.9);
    // The starting station's exit signal shows its red lamp near the vanishing point.
    EXPECT_GT(Share(picture, 0.35, 0.4, 0.65, 0.55, IsLampRed), 0.0);
    // The railcar is around the eye and not seen; from outside it shows from behind.
    EXPECT_EQ(Share(picture, 0.48, 0.76, 0.53, 0.86, IsOrange), 0.0);
    EXPECT_GT(Share(Shoot(*built, ViewOutside), 0.48, 0.76, 0.53, 0.86, IsOrange), 0.2);
}
