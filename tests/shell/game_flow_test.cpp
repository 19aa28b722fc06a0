#include "shell/game_flow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_shell_platform.h"
#include "resolve_arguments.h"
#include "shell/shell_commands.h"
#include "shell/state_dump.h"
#include "shell/window_procedure.h"
#include "shell_test_world.h"

namespace {

// Runs frames every stepMs of the platform's timer.
void RunFrames(StartedGame& started, int frames, uint32_t stepMs)
{
    for (int i = 0; i < frames; ++i) {
        started.platform().nowMs += stepMs;
        ASSERT_EQ(RunFrame(started.game(), started.platform()), DeviceOk);
    }
}

}  // namespace

TEST(GameFlow, TrainsMoveByThePreviousFramesStepOnlyWhileRunningAndSimulated)
{
    StartedGame started = StartGameForTest();
    TrainUnit& player = started.player();
    player.brake = BrakeReleased;
    player.throttle = ThrottleFull;
    RunFrames(started, 1, 100);
    // The first frame simulates the step measured before it: none.
    EXPECT_EQ(player.speed, 0.0f);
    EXPECT_NEAR(started.app().frameStep, 0.1f, 1e-6f);
    RunFrames(started, 50, 100);
    EXPECT_GT(player.odometer, 0.0);
    // Paused, or the simulation held by a dialog: frames run, nothing moves.
    for (auto [pauseCount, simulationEnabled] : {std::pair{1, 1}, std::pair{0, 0}}) {
        started.app().pauseCount = pauseCount;
        started.app().simulationEnabled = simulationEnabled;
        RunFrames(started, 2, 100);
        double odometer = player.odometer;
        RunFrames(started, 10, 100);
        EXPECT_EQ(player.odometer, odometer) << pauseCount;
        EXPECT_NEAR(started.app().frameStep, pauseCount ? 0.0f : 0.1f, 1e-6f);
    }
}

TEST(GameFlow, TheEndOfARunIsAnnouncedOnceAndOpensTheStartMenu)
{
    StartedGame started = StartGameForTest();
    FakeShellPlatform& platform = started.platform();
    started.game().world.score = 1234;
    started.game().world.destinationState = 1;
    platform.dialogMs = 3000;
    platform.optionsScript = [](OptionsDialog& dialog, GameOptions&, GameRandom&, AppState&) { PressCancel(dialog); };
    uint32_t clockStart = started.app().clockStartMs;

    RunFrames(started, 1, 20);
    EXPECT_EQ(platform.log, (std::vector<std::string>{"message End", "options RESTART", "scene", "overlay",
                                                      "present"}));
    EXPECT_EQ(platform.messages, std::vector<std::string>{"You have reached the destination\nYour final score is: 1234"});
    EXPECT_EQ(started.game().world.destinationState, 2);
    // Neither the message box nor the dialog reaches the game clock.
    EXPECT_EQ(started.app().clockStartMs, clockStart + 6000);
    EXPECT_EQ(started.app().isReady, 1);
    // Cancelled: back at the finished run, which is not announced again.
    RunFrames(started, 20, 20);
    EXPECT_EQ(std::count(platform.log.begin(), platform.log.end(), "message End"), 1);

}

TEST(GameFlow, PresentFailuresAreRepairedOrEndTheProgram)
{
    StartedGame started = StartGameForTest();
    started.platform().presentResult = DeviceSurfaceLost;
    RunFrames(started, 1, 20);
    EXPECT_EQ(started.platform().log.back(), "restore");
    started.platform().hasDevice = false;
    started.platform().nowMs += 20;
    EXPECT_TRUE(IsFailure(RunFrame(started.game(), started.platform())));
}

// The run a restart builds is the very world its command line builds.
TEST(GameFlow, EveryRestartBuildsTheWorldItsCommandLineNames)
{
    StartedGame started = StartGameForTest();
    GameSession& game = started.game();
    std::vector<std::string> digests = {game.worldDigest};
    for (const char* clicks : {"R", "", "RC"}) {
        std::string shown;
        started.platform().optionsScript = [&](OptionsDialog& dialog, GameOptions& options, GameRandom& random,
                                               AppState&) {
            for (const char* click = clicks; *click != '\0'; ++click)
                *click == 'R' ? PressRandom(dialog, options, random) : ChooseScenery(dialog, SceneryCustom);
            shown = ReplayCommandLine(dialog);
            PressStart(dialog, options);
        };
        HandleCommand(game, started.platform(), CommandStartMenu, false);
        ResolvedOptions replayed = ResolveCommandLine(shown);
        EXPECT_EQ(game.runCommandLine, shown);
        EXPECT_EQ(WorldDigest(WorldToJson(*BuildShellTestWorld(replayed.options, replayed.seed), replayed.options)),
                  game.worldDigest)
            << shown;
        EXPECT_EQ(std::count(digests.begin(), digests.end(), game.worldDigest), 0) << shown;
        digests.push_back(game.worldDigest);
    }
}
