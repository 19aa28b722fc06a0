// Frames of a built world as the game draws them, offscreen: what must be in the picture, and
// that merging the draws leaves it unchanged.

#include "shell/commands/scene_shot.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>

#include "../platform/offscreen_device.h"
#include "run_tagvind.h"
#include "shell/commands/headless_game.h"
#include "world/world.h"

namespace {

constexpr int32_t ShotWidth = 400;
constexpr int32_t ShotHeight = 300;

// Scenery 1, 20 km, built as `tagvind shot --length 20 --seed 1` builds it.
std::unique_ptr<GameSession> BuildShotWorld()
{
    GameOptions options;
    options.totalLengthKm = 20;
    return BuildHeadlessGame(options, 1);
}

// Lets the autopilot drive until the world is as wanted, a second at a time.
bool DriveUntil(GameSession& built, double limitSeconds, const std::function<bool(const World&)>& wanted)
{
    for (double driven = 0.0; driven < limitSeconds; driven += 1.0) {
        if (wanted(built.world))
            return true;
        bool reached = false;
        DriveWorld(built, 1.0, reached);
        if (reached)
            return wanted(built.world);
    }
    return false;
}

ShotPicture Shoot(GameSession& built, int32_t viewMode, bool batching = true)
{
    UseOffscreenVideo();
    ShotSettings settings;
    settings.viewMode = viewMode;
    settings.width = ShotWidth;
    settings.height = ShotHeight;
    settings.batching = batching;
    ShotPicture picture;
    std::ostringstream err;
    EXPECT_EQ(TakeShot(built, settings, picture, err), 0) << err.str();
    EXPECT_EQ(picture.width, ShotWidth);
    EXPECT_EQ(picture.rgba.size(), static_cast<size_t>(ShotWidth * ShotHeight * 4));
    return picture;
}

// Pixels in the box (fractions of the picture) for which the test holds.
int CountPixels(const ShotPicture& picture, double left, double top, double right, double bottom,
                const std::function<bool(Pixel)>& test)
{
    int count = 0;
    for (int y = static_cast<int>(top * picture.height); y < static_cast<int>(bottom * picture.height); ++y) {
        for (int x = static_cast<int>(left * picture.width); x < static_cast<int>(right * picture.width); ++x)
            count += test(PixelAt(picture.rgba, picture.width, x, y)) ? 1 : 0;
    }
    return count;
}

int BoxArea(const ShotPicture& picture, double left, double top, double right, double bottom)
{
    return CountPixels(picture, left, top, right, bottom, [](Pixel) { return true; });
}

bool IsSky(Pixel p) { return p.red == 0x80 && p.green == 0xC0 && p.blue == 0xFF; }
bool IsGrass(Pixel p) { return p.green > p.red + 20 && p.green > p.blue && p.red < 140; }
bool IsGrey(Pixel p) { return std::abs(p.red - p.green) < 10 && std::abs(p.green - p.blue) < 10; }
bool IsLampRed(Pixel p) { return p.red > 150 && p.green < 90 && p.blue < 90; }
bool IsLake(Pixel p) { return p.blue > 230 && p.red < 100 && p.green > 140 && p.green < 190; }
bool IsOrange(Pixel p) { return p.red > 100 && p.green * 10 > p.red * 3 && p.green * 10 < p.red * 7 && p.blue * 4 < p.red; }

const TrackSegment& PlayerSegment(const World& world)
{
    return world.track[world.trains[world.playerUnit].segment];
}

}  // namespace

TEST(SceneShot, TheStartShowsSkyGrassTheTrackAheadAndItsSignal)
{
    auto built = BuildShotWorld();
    ShotPicture picture = Shoot(*built, ViewCab);
    EXPECT_GT(picture.stats.sceneDraws, 50);

    // Above the horizon nothing but the cleared sky; below it grass to both sides, beyond the
    // station's platforms.
    EXPECT_EQ(CountPixels(picture, 0.0, 0.0, 1.0, 0.3, IsSky), BoxArea(picture, 0.0, 0.0, 1.0, 0.3));
    EXPECT_GT(CountPixels(picture, 0.0, 0.52, 0.12, 0.58, IsGrass), BoxArea(picture, 0.0, 0.52, 0.12, 0.58) / 2);
    EXPECT_GT(CountPixels(picture, 0.88, 0.52, 1.0, 0.58, IsGrass), BoxArea(picture, 0.88, 0.52, 1.0, 0.58) / 2);
    // The grey track runs ahead through the middle of the lower half.
    EXPECT_GT(CountPixels(picture, 0.45, 0.8, 0.55, 1.0, IsGrey), BoxArea(picture, 0.45, 0.8, 0.55, 1.0) * 9 / 10);
    // The starting station's exit signal shows its red lamp near the vanishing point.
    EXPECT_GT(CountPixels(picture, 0.35, 0.4, 0.65, 0.55, IsLampRed), 0);
}

TEST(SceneShot, TheOutsideViewShowsThePlayersRailcarFromBehind)
{
    auto built = BuildShotWorld();
    ShotPicture picture = Shoot(*built, ViewOutside);
    EXPECT_GT(CountPixels(picture, 0.48, 0.76, 0.53, 0.86, IsOrange), BoxArea(picture, 0.48, 0.76, 0.53, 0.86) / 5);
    // In the cab view the railcar is around the eye and not seen.
    ShotPicture cab = Shoot(*built, ViewCab);
    EXPECT_EQ(CountPixels(cab, 0.48, 0.76, 0.53, 0.86, IsOrange), 0);
}

TEST(SceneShot, APortalStandsInTheMountainAheadOfATunnel)
{
    auto built = BuildShotWorld();
    ASSERT_TRUE(DriveUntil(*built, 1200.0, [](const World& world) {
        const TrainUnit& player = world.trains[world.playerUnit];
        const TrackSegment& segment = world.track[player.segment];
        return world.track[segment.next].type == SegmentTunnel && segment.length - player.segmentDistance < 150.0f &&
               segment.type == SegmentStraight;
    }));
    ShotPicture picture = Shoot(*built, ViewCab);
    // The mountain rises above the horizon, grass all across, with the grey portal in the middle.
    EXPECT_GT(CountPixels(picture, 0.0, 0.35, 0.3, 0.45, IsGrass), BoxArea(picture, 0.0, 0.35, 0.3, 0.45) / 2);
    EXPECT_GT(CountPixels(picture, 0.46, 0.4, 0.54, 0.52, IsGrey), 30);
    // Only the daylight at the far end shows through the bore.
    EXPECT_LT(CountPixels(picture, 0.46, 0.4, 0.54, 0.52, IsSky), BoxArea(picture, 0.46, 0.4, 0.54, 0.52) / 20);
}

TEST(SceneShot, ALakeLiesInsideALeftCurveAndTheMergedDrawsGiveTheSamePicture)
{
    auto built = BuildShotWorld();
    ASSERT_TRUE(DriveUntil(*built, 1200.0, [](const World& world) {
        const TrainUnit& player = world.trains[world.playerUnit];
        if (PlayerSegment(world).type != SegmentCurveLeft)
            return false;
        for (int i = 0; i < world.stripCount; ++i) {
            if (world.strips[i].segment == player.segment)
                return world.strips[i].leftSide == 2;
        }
        return false;
    }));
    ShotPicture batched = Shoot(*built, ViewCab, true);
    ShotPicture unbatched = Shoot(*built, ViewCab, false);

    // Water on the left of the picture, none on the right.
    EXPECT_GT(CountPixels(batched, 0.0, 0.55, 0.3, 1.0, IsLake), BoxArea(batched, 0.0, 0.55, 0.3, 1.0) / 4);
    EXPECT_EQ(CountPixels(batched, 0.7, 0.55, 1.0, 1.0, IsLake), 0);

    double different = ShareOfDifferentPixels(batched.rgba, unbatched.rgba, 16);
    std::printf("lake curve: %d draws, batched in %d GL calls, unbatched in %d; %.3f %% of the pixels differ by "
                "more than 16 levels\n",
                batched.stats.sceneDraws, batched.stats.glDrawCalls, unbatched.stats.glDrawCalls, different * 100.0);
    EXPECT_LT(different, 0.01);
    EXPECT_EQ(batched.stats.triangles, unbatched.stats.triangles);
    EXPECT_EQ(unbatched.stats.glDrawCalls, unbatched.stats.sceneDraws - unbatched.stats.refusedDraws);
    EXPECT_LE(batched.stats.glDrawCalls, 30);
}

TEST(ShotCommand, WritesThePictureAsAPngFile)
{
    UseOffscreenVideo();
    // The program loads and unloads the display drivers once, and their own small leaks cannot be
    // named after they are unloaded; its drawing is leak-checked in this process by the tests above.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    std::string previousSanitizer = sanitizer != nullptr ? sanitizer : "";
    setenv("ASAN_OPTIONS", (previousSanitizer + ":detect_leaks=0").c_str(), 1);
    ScratchFolder folder;
    std::string png = (folder / "frame.png").string();
    TagvindRun run = RunTagvind("shot --length 5 --seed 3 --size 160x120 --view outside --png '" + png + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    std::string bytes = ReadWholeFile(png);
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    EXPECT_NE(run.out.find("160 x 120"), std::string::npos) << run.out;

    EXPECT_EQ(RunTagvind("shot --size 12x9 --png '" + png + "'").status, 2);
    EXPECT_EQ(RunTagvind("shot --size wide --png '" + png + "'").status, 2);
    EXPECT_EQ(RunTagvind("shot --view above --png '" + png + "'").status, 2);
    EXPECT_EQ(RunTagvind("shot --size 160x120").status, 2) << "--png is required";
    if (sanitizer != nullptr)
        setenv("ASAN_OPTIONS", previousSanitizer.c_str(), 1);
    else
        unsetenv("ASAN_OPTIONS");
}
