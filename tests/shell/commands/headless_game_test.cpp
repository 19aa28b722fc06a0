#include <gtest/gtest.h>

#include "shell/commands/headless_game.h"

TEST(HeadlessDrive, SettingsAndTicksRunOnTheStepsOfGameTime)
{
    // Steps of 0.02 s start at 0, 0.02, 0.04 and 0.06: full power set for 0.05 s drives only
    // the fourth. At 100 km/h under a limit of 40 every whole second charges, and the lamps
    // blink every 0.4 s.
    struct Case {
        double seconds;
        float startSpeed, speed;
        int32_t ticks, blinkPhase;
    } cases[] = {{0.06, 0.0f, 0.0f, 0, 0}, {0.08, 0.0f, 0.02f * 3.6f, 0, 0}, {0.98, 100.0f, -1, 0, 0},
                 {1.0, 100.0f, -1, 1, 0}, {10.0, 100.0f, -1, 10, 1}, {10.4, 100.0f, -1, 10, 0}};
    for (const Case& c : cases) {
        // A straight line of 10 km with the player's railcar standing at its start.
        auto game = std::make_unique<GameSession>();
        game->world.random.seed(1);
        WorldReset(game->world);
        game->world.track[1].type = SegmentStraight;
        game->world.track[1].length = game->world.track[1].endZ = 10000.0f;
        game->world.trains[1].speed = c.startSpeed;
        DriveSettings settings;
        settings.maxMinutes = c.seconds / 60.0;
        settings.controls = {{0.0, 0, 8}, {0.05, 5, 8}};
        DriveSummary summary = DriveHeadless(*game, settings, nullptr);
        EXPECT_NEAR(summary.gameSeconds, c.seconds, 1e-9) << c.seconds;
        if (c.speed >= 0.0f)
            EXPECT_FLOAT_EQ(game->world.trains[1].speed, c.speed) << c.seconds;
        EXPECT_EQ(summary.overspeedSeconds, c.ticks) << c.seconds;
        EXPECT_EQ(game->world.signBlinkPhase, c.blinkPhase) << c.seconds;
    }
}
