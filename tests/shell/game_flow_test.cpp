#include "shell/game_flow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "fake_shell_platform.h"
#include "shell/commands/world_options_cli.h"
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

size_t CountOf(const std::vector<std::string>& log, const std::string& entry)
{
    size_t count = 0;
    for (const std::string& line : log)
        count += line == entry ? 1 : 0;
    return count;
}

// The digest of the world that a command line like "tagvind play --scenery 3 --seed 9 ..."
// builds, read as the program reads its arguments.
std::string DigestOfCommandLine(const std::string& line)
{
    std::istringstream words(line);
    std::vector<std::string> arguments;
    for (std::string word; words >> word;)
        arguments.push_back(word);
    arguments.erase(arguments.begin(), arguments.begin() + 2);  // "tagvind play"
    CLI::App command;
    WorldOptionsInput input;
    AddWorldOptions(command, input);
    std::reverse(arguments.begin(), arguments.end());  // CLI11 takes the vector back to front
    command.parse(arguments);
    GameOptions options;
    uint32_t seed = 0;
    std::ostringstream notices;
    EXPECT_TRUE(ResolveWorldOptions(input, options, seed, notices)) << line;
    EXPECT_EQ(notices.str(), "") << line;
    return WorldDigest(WorldToJson(*BuildShellTestWorld(options, seed), options));
}

}  // namespace

TEST(GameFlow, FrameDrawsTheSceneThenTheCabDisplayThenPresents)
{
    StartedGame started = StartGameForTest();
    RunFrames(started, 1, 20);
    EXPECT_EQ(started.platform().log, (std::vector<std::string>{"scene", "overlay", "present"}));
    EXPECT_TRUE(started.platform().device.viewSet);
    // The cab display drew its dashboard on the canvas and measured the picture for the levers.
    EXPECT_FALSE(started.platform().canvas.polygons.empty());
    EXPECT_EQ(started.game().cabPicture.width, 800);
    EXPECT_EQ(started.game().cabPicture.height, 600);
}

TEST(GameFlow, TrainMovesByTheStepOfThePreviousFrame)
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
    EXPECT_GT(player.speed, 0.0f);
    EXPECT_GT(player.odometer, 0.0);

    // Paused: frames run, nothing moves, the step is 0.
    started.app().pauseCount = 1;
    RunFrames(started, 2, 100);
    double odometer = player.odometer;
    RunFrames(started, 10, 100);
    EXPECT_EQ(player.odometer, odometer);
    EXPECT_EQ(started.app().frameStep, 0.0f);
}

TEST(GameFlow, DisabledSimulationLeavesTheTrainsAlone)
{
    StartedGame started = StartGameForTest();
    TrainUnit& player = started.player();
    player.brake = BrakeReleased;
    player.throttle = ThrottleFull;
    player.speed = 50.0f;
    RunFrames(started, 3, 100);
    double odometer = player.odometer;
    started.app().simulationEnabled = 0;
    RunFrames(started, 5, 100);
    EXPECT_EQ(player.odometer, odometer);
}

TEST(GameFlow, EndOfRunIsAnnouncedOnceAndOpensTheStartMenu)
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
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0], "You have reached the destination\nYour final score is: 1234");
    EXPECT_EQ(started.game().world.destinationState, 2);
    // Neither the message box nor the dialog reaches the game clock.
    EXPECT_EQ(started.app().clockStartMs, clockStart + 6000);
    EXPECT_EQ(started.app().isReady, 1);

    // Cancelled: back at the finished run, which is not announced again.
    RunFrames(started, 20, 20);
    EXPECT_EQ(CountOf(platform.log, "message End"), 1u);
    EXPECT_EQ(started.game().endOfRunMessages, 1);
}

TEST(GameFlow, EndOfRunThenRestartStartsANewRun)
{
    StartedGame started = StartGameForTest();
    started.game().world.destinationState = 1;
    RunFrames(started, 1, 20);
    EXPECT_EQ(started.game().runsStarted, 2);
    EXPECT_EQ(started.game().world.destinationState, 0);
    RunFrames(started, 5, 20);
    EXPECT_EQ(CountOf(started.platform().log, "message End"), 1u);
}

TEST(GameFlow, WithNobodyThereTheDialogAfterARunExits)
{
    StartedGame started = StartGameForTest();
    started.game().endsAfterRun = 1;
    started.game().world.destinationState = 1;
    RunFrames(started, 1, 20);
    EXPECT_EQ(CountOf(started.platform().log, "message End"), 1u);
    EXPECT_EQ(CountOf(started.platform().log, "options RESTART"), 0u);
    EXPECT_EQ(started.app().exitRequested, 1);
    EXPECT_EQ(started.game().runsStarted, 1);
}

TEST(GameFlow, AutopilotDrivesAShortLineToItsEnd)
{
    StartedGame started = StartGameForTest(5, 2);
    started.game().endsAfterRun = 1;
    started.platform().recordScene = false;
    // The demo driver presses the keypad keys between frames 50 ms apart.
    for (int frame = 0; frame < 60 * 60 * 20 && !started.app().exitRequested; ++frame) {
        PressDemoDriverKeys(started.game(), started.platform());
        EXPECT_EQ(DemoDriverKey(started.game().world, started.app().frameStep), KeyNone);
        started.platform().nowMs += 50;
        ASSERT_EQ(RunFrame(started.game(), started.platform()), DeviceOk);
    }
    EXPECT_EQ(started.game().endOfRunMessages, 1);
    EXPECT_EQ(started.game().world.destinationState, 2);
    ASSERT_EQ(started.platform().messages.size(), 1u);
    EXPECT_EQ(started.platform().messages[0], EndOfRunMessage(started.game().world.score));
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

// Whatever was clicked in the dialogs before, the line a dialog shows is the line its Start
// builds, and every restart builds a new line.
TEST(GameFlow, EveryRestartBuildsTheNewLineItsCommandLineNames)
{
    // The clicks in each dialog: R Random, C Custom, 1..5 a preset, 0 the curves edit set to 10,
    // x Cancel instead of Start. Cancel keeps the relief bounds Random drew, which Custom uses.
    const std::vector<std::vector<std::string>> cases = {
        {"R", "", ""}, {"RRR", "R"}, {"Rx", "C0", "R3"}, {"RC", "4", "C"}};
    for (const std::vector<std::string>& dialogs : cases) {
        StartedGame started = StartGameForTest();
        GameSession& game = started.game();
        std::vector<std::string> digests = {game.worldDigest};
        std::string shownLine;
        std::string previousLine = game.runCommandLine;
        for (const std::string& clicks : dialogs) {
            SCOPED_TRACE(testing::PrintToString(dialogs) + " at '" + clicks + "'");
            bool cancels = clicks.find('x') != std::string::npos;
            started.platform().optionsScript = [&](OptionsDialog& dialog, GameOptions& options, GameRandom& random,
                                                   AppState&) {
                for (char click : clicks) {
                    if (click == 'R')
                        PressRandom(dialog, options, random);
                    else if (click == '0')
                        dialog.editTexts[2] = "10";
                    else if (click != 'x')
                        ChooseScenery(dialog, click == 'C' ? SceneryCustom : click - '0');
                }
                shownLine = ReplayCommandLine(dialog);
                cancels ? PressCancel(dialog) : PressStart(dialog, options);
            };
            HandleCommand(game, started.platform(), CommandStartMenu, false);
            if (cancels) {
                EXPECT_EQ(game.worldDigest, digests.back());
                continue;
            }
            EXPECT_EQ(game.runCommandLine, shownLine);
            EXPECT_EQ(DigestOfCommandLine(shownLine), game.worldDigest) << shownLine;
            EXPECT_EQ(std::count(digests.begin(), digests.end(), game.worldDigest), 0);
            digests.push_back(game.worldDigest);
            // Without a click a random line keeps its values; only the seed is new.
            auto values = [](const std::string& line) { return line.substr(line.find(" --length")); };
            if (clicks.empty()) {
                EXPECT_EQ(values(shownLine), values(previousLine));
            }
            previousLine = shownLine;
        }
    }
}

TEST(GameFlow, TheEngineIsHeardOnlyWhileSwitchedOnChosenAndRunning)
{
    struct Case {
        const char* what;
        int32_t soundOn;
        int32_t pauseCount;
        int32_t soundType;
        bool audible;
    };
    const Case cases[] = {
        {"driving", 1, 0, SoundDieselAutomatic, true},
        {"diesel-electric", 1, 0, SoundDieselElectric, true},
        {"muted with S", 0, 0, SoundDieselAutomatic, false},
        {"paused", 1, 1, SoundDieselAutomatic, false},
        {"resuming at the next frame", 1, 2, SoundDieselAutomatic, false},
        {"sound type Off", 1, 0, SoundOff, false},
    };
    for (const Case& c : cases) {
        AppState app;
        app.soundOn = c.soundOn;
        app.pauseCount = c.pauseCount;
        GameOptions options;
        options.soundType = c.soundType;
        EXPECT_EQ(EngineAudible(app, options), c.audible) << c.what;
    }
}
