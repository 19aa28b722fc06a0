#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "../shell_test_world.h"
#include "shell/commands/headless_game.h"
#include "shell/commands/route_report.h"

namespace {

std::unique_ptr<World> BuildCustomWorld(GameOptions& options)
{
    options.scenery = SceneryCustom;
    options.totalLengthKm = 12;
    options.meetingDistanceKm = 2;
    options.curvesPercent = 80;
    options.villagesPercent = 20;
    options.forestLevel = 5;
    return BuildShellTestWorld(options, 4242);
}

// A straight line of 10 km with the player's railcar standing at its start.
std::unique_ptr<World> BuildLongStraight()
{
    auto world = std::make_unique<World>();
    world->random.seed(1);
    WorldReset(*world);
    TrackSegment& segment = world->track[1];
    segment.type = SegmentStraight;
    segment.length = 10000.0f;
    segment.endZ = 10000.0f;
    return world;
}

// A game session around a world the test built, with the options it was built from.
std::unique_ptr<GameSession> SessionWith(std::unique_ptr<World> world, const GameOptions& options = {})
{
    auto game = std::make_unique<GameSession>();
    game->world = *world;
    game->options = options;
    return game;
}

}  // namespace

TEST(HeadlessDrive, TheAutopilotDrivesAShortPresetToTheDestinationThroughEveryStation)
{
    for (int32_t scenery : {2, 4}) {
        GameOptions options;
        options.scenery = scenery;
        options.totalLengthKm = 10;
        options.meetingDistanceKm = 2;
        auto game = SessionWith(BuildShellTestWorld(options, 99), options);
        size_t stations = SummarizeRoute(game->world).meetingVariants.size();
        ASSERT_GE(stations, 3u);

        DriveSettings settings;
        settings.autopilot = true;
        DriveSummary summary = DriveHeadless(*game, settings, nullptr);
        EXPECT_TRUE(summary.reachedDestination) << "scenery " << scenery;
        EXPECT_EQ(summary.stopSignalsPassed, 0);
        EXPECT_EQ(summary.highSpeedPenalties, 0);
        EXPECT_EQ(summary.overspeedSeconds, 0);
        EXPECT_EQ(summary.meetingStations, static_cast<int32_t>(stations));
        EXPECT_GT(summary.score, 0);
        EXPECT_LE(summary.maxSpeed, 130.0f);
        EXPECT_GT(summary.odometerKm, 10.0);
        EXPECT_EQ(game->world.destinationState, 2) << "announced";
    }
}

TEST(HeadlessDrive, TheAutopilotDrivesACustomRouteToTheDestination)
{
    GameOptions options;
    auto game = SessionWith(BuildCustomWorld(options), options);
    DriveSettings settings;
    settings.autopilot = true;
    DriveSummary summary = DriveHeadless(*game, settings, nullptr);
    EXPECT_TRUE(summary.reachedDestination);
    EXPECT_EQ(summary.stopSignalsPassed, 0);
    EXPECT_EQ(summary.highSpeedPenalties, 0);
    EXPECT_EQ(summary.meetingStations, static_cast<int32_t>(SummarizeRoute(game->world).meetingVariants.size()));
}

TEST(HeadlessDrive, ARecordedDriveReplaysToTheSameEnd)
{
    GameOptions options;
    options.totalLengthKm = 8;
    auto game = SessionWith(BuildShellTestWorld(options, 5), options);
    DriveSettings settings;
    settings.autopilot = true;
    std::vector<ControlSetting> changes;
    DriveSummary driven = DriveHeadless(*game, settings, nullptr, &changes);
    ASSERT_TRUE(driven.reachedDestination);
    ASSERT_GT(changes.size(), 10u);

    // Through the controls file's own format and back.
    std::stringstream file;
    for (const ControlSetting& change : changes)
        WriteControlSettingLine(file, change);
    DriveSettings replay;
    std::string error;
    ASSERT_TRUE(ReadControlSettings(file.str(), replay.controls, error)) << error;

    GameOptions again;
    again.totalLengthKm = 8;
    auto second = SessionWith(BuildShellTestWorld(again, 5), again);
    DriveSummary replayed = DriveHeadless(*second, replay, nullptr);
    EXPECT_TRUE(replayed.reachedDestination);
    EXPECT_EQ(replayed.score, driven.score);
    EXPECT_EQ(replayed.gameSeconds, driven.gameSeconds);
    EXPECT_EQ(replayed.odometerKm, driven.odometerKm);
    EXPECT_EQ(replayed.meetingStations, driven.meetingStations);
}

TEST(HeadlessDrive, ASettingTakesEffectFromTheFirstStepStartingAtOrAfterItsTime)
{
    // Steps of 0.02 s start at 0, 0.02, 0.04 and 0.06: a setting for 0.05 s drives only the
    // fourth of them.
    for (int steps : {3, 4}) {
        auto game = SessionWith(BuildLongStraight());
        GameOptions options;
        DriveSettings settings;
        settings.maxMinutes = steps * 0.02 / 60.0;
        settings.controls = {{0.0, 0, 8}, {0.05, 5, 8}};
        DriveSummary summary = DriveHeadless(*game, settings, nullptr);
        EXPECT_FALSE(summary.reachedDestination);
        EXPECT_NEAR(summary.gameSeconds, steps * 0.02, 1e-12);
        const TrainUnit& player = game->world.trains[1];
        if (steps == 3) {
            EXPECT_EQ(player.speed, 0.0f);
            EXPECT_EQ(player.throttle, 0);
        } else {
            EXPECT_FLOAT_EQ(player.speed, 0.02f * 3.6f);
            EXPECT_EQ(player.throttle, 5);
        }
    }
}

TEST(HeadlessDrive, TheTicksRunOnWholeSecondsAndTenthsOfGameTime)
{
    // At 100 km/h under a limit of 40 every tick charges, and the lamps blink every 0.4 s.
    struct Case {
        double seconds;
        int32_t ticks;
        int32_t blinkPhase;
    } cases[] = {{10.0, 10, 1}, {10.4, 10, 0}, {0.98, 0, 0}, {1.0, 1, 0}};
    for (const Case& c : cases) {
        auto game = SessionWith(BuildLongStraight());
        game->world.trains[1].speed = 100.0f;
        GameOptions options;
        DriveSettings settings;
        settings.maxMinutes = c.seconds / 60.0;
        settings.controls = {{0.0, 5, 8}};
        DriveSummary summary = DriveHeadless(*game, settings, nullptr);
        EXPECT_EQ(summary.overspeedSeconds, c.ticks) << c.seconds << " s";
        EXPECT_EQ(game->world.signBlinkPhase, c.blinkPhase) << c.seconds << " s";
    }
}

TEST(HeadlessDrive, TheTraceHasALinePerGameSecondWithThePlayerAndTheOtherTrains)
{
    GameOptions options;
    options.totalLengthKm = 5;
    auto game = SessionWith(BuildShellTestWorld(options, 3), options);
    DriveSettings settings;
    settings.autopilot = true;
    settings.maxMinutes = 10.5 / 60.0;
    std::ostringstream trace;
    DriveHeadless(*game, settings, &trace);

    std::istringstream lines(trace.str());
    std::string text;
    int count = 0;
    while (std::getline(lines, text)) {
        ++count;
        auto line = nlohmann::json::parse(text);
        EXPECT_DOUBLE_EQ(line["t"].get<double>(), count);
        for (const char* key : {"segment", "segmentDistance", "speed", "speedLimit", "announcedLimit", "throttle",
                                "brake", "score", "odometer", "posX", "posZ", "heading", "other"})
            EXPECT_TRUE(line.contains(key)) << key;
        EXPECT_EQ(line["segment"], 1);
        // The oncoming train of the starting station is on its way.
        ASSERT_EQ(line["other"].size(), 1u);
        EXPECT_EQ(line["other"][0]["index"], 2);
        EXPECT_EQ(line["other"][0]["kind"], TrainStartingOncoming);
        for (const char* key : {"segment", "segmentDistance", "speed"})
            EXPECT_TRUE(line["other"][0].contains(key)) << key;
    }
    EXPECT_EQ(count, 10);
}

TEST(HeadlessDrive, WithoutADriverTheTrainStandsUntilTheTimeRunsOut)
{
    GameOptions options;
    options.totalLengthKm = 5;
    auto game = SessionWith(BuildShellTestWorld(options, 3), options);
    DriveSettings settings;
    settings.maxMinutes = 2.0;
    DriveSummary summary = DriveHeadless(*game, settings, nullptr);
    EXPECT_FALSE(summary.reachedDestination);
    EXPECT_NEAR(summary.gameSeconds, 120.0, 1e-9);
    EXPECT_EQ(summary.odometerKm, 0.0);
    EXPECT_EQ(summary.finalSegment, 1);
}
