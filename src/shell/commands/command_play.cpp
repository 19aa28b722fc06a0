// `tagvind play`: reads the world options and how the game is to run, then runs it. Without a
// subcommand the program plays with the default options, as a player expects of a game.

#include "shell/commands/command_play.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "platform/null_platform.h"
#include "platform/sdl_sound_buffer.h"
#include "shell/command_numbers.h"
#include "shell/commands/commands.h"
#include "shell/commands/world_options_cli.h"
#include "shell/game_app.h"
#include "shell/output_file.h"

namespace {

// Below this the cab display and its levers no longer fit.
constexpr int32_t SmallestWindowSide = 100;
constexpr DecimalNumberRule QuitAfterRule = {"--quit-after", "a number of seconds", 0.001, 7.0 * 24.0 * 3600.0};
constexpr WholeNumberRule FixedFrameRule = {"--fixed-frame-ms", "a whole number of milliseconds", 1, 1000};

struct PlayCommandInput {
    WorldOptionsInput world;
    bool autopilot = false;
    bool offscreen = false;
    bool fullScreen = false;
    bool uncapped = false;
    std::optional<std::string> quitAfter;
    std::optional<std::string> screenshotPath;
    std::optional<std::string> window;
    std::optional<std::string> eventsPath;
    std::optional<std::string> stateDumpPath;
    std::optional<std::string> liveStatePath;
    std::optional<std::string> fixedFrameMs;
};

// The files the game writes are known to be writable before it starts, so that a long run never
// ends in a write that fails. One of them may go to standard output: it then stands alone there,
// and what the game prints on standard output (the summary, the message boxes of an offscreen
// run) goes to standard error instead.
bool PrepareOutputs(const PlayCommandInput& input, PlaySettings& settings, std::ostream& err)
{
    struct Output {
        const char* option;
        const std::optional<std::string>& given;
        std::string& path;
    };
    const Output outputs[] = {{"--screenshot", input.screenshotPath, settings.screenshotPath},
                              {"--state-dump", input.stateDumpPath, settings.stateDumpPath},
                              {"--live-state", input.liveStatePath, settings.liveStatePath}};
    std::string* toStandardOutput = nullptr;
    for (const Output& output : outputs) {
        if (!output.given)
            continue;
        std::string reason;
        if (*output.given == StandardOutputName && toStandardOutput != nullptr) {
            err << "tagvind: " << output.option << ": only one file can go to standard output\n";
            return false;
        }
        if (*output.given == StandardOutputName) {
            toStandardOutput = &output.path;
        } else if (!CheckOutputPath(*output.given, reason)) {
            err << "tagvind: " << output.option << ": cannot write '" << *output.given << "': " << reason << "\n";
            return false;
        }
    }
    if (toStandardOutput != nullptr) {
        std::cout.flush();
        std::fflush(stdout);
        int fileOutput = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
        if (fileOutput < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
            err << "tagvind: cannot keep standard output for the file: " << std::strerror(errno) << "\n";
            return false;
        }
        *toStandardOutput = "/proc/self/fd/" + std::to_string(fileOutput);
    }
    return true;
}

int RunPlayCommand(const PlayCommandInput& input, std::ostream& out, std::ostream& err)
{
    PlaySettings settings;
    if (!ResolveWorldOptions(input.world, settings.options, settings.seed, err))
        return ExitUsage;
    settings.autopilot = input.autopilot;
    settings.offscreen = input.offscreen;
    settings.fullScreen = input.fullScreen;
    settings.uncapped = input.uncapped;
    if (input.quitAfter) {
        std::optional<double> seconds = ReadDecimalOption(QuitAfterRule, *input.quitAfter, err);
        if (!seconds)
            return ExitUsage;
        settings.quitAfterSeconds = *seconds;
    }
    if (input.window) {
        std::optional<PictureSize> size =
            ReadPictureSizeOption("--window", *input.window, SmallestWindowSide, LargestPictureSide, err);
        if (!size)
            return ExitUsage;
        settings.windowWidth = size->width;
        settings.windowHeight = size->height;
    }
    if (input.fixedFrameMs) {
        std::optional<int64_t> frameMs = ReadWholeOption(FixedFrameRule, *input.fixedFrameMs, err);
        if (!frameMs)
            return ExitUsage;
        settings.fixedFrameMs = static_cast<int32_t>(*frameMs);
    }
    settings.screenshotPath = input.screenshotPath.value_or("");
    settings.eventsPath = input.eventsPath.value_or("");
    settings.stateDumpPath = input.stateDumpPath.value_or("");
    settings.liveStatePath = input.liveStatePath.value_or("");
    if (!PrepareOutputs(input, settings, err))
        return ExitFailure;
    // Offscreen nobody hears the engine either: it streams into the null sound buffer.
    return RunGame(settings, settings.offscreen ? OpenNullSoundDevice : CreateSdlSoundBuffer, out, err);
}

}  // namespace

void AddPlayCommand(CLI::App& app)
{
    auto input = std::make_shared<PlayCommandInput>();
    CLI::App* command = app.add_subcommand("play", "Play the game (the default when no command is given)");
    AddWorldOptions(*command, input->world);
    command->add_flag("--autopilot", input->autopilot, "let the demo driver drive, with the keypad keys a player has");
    command->add_flag("--offscreen", input->offscreen,
                      "run without a window on a display: dialogs are answered as START would, message boxes "
                      "are printed, and the dialog after a run ends the program");
    command->add_option_function<std::string>(
        "--quit-after", [input](const std::string& text) { input->quitAfter = text; },
        "end the program after this many seconds (0.001..604800)");
    command->add_option_function<std::string>(
        "--screenshot", [input](const std::string& path) { input->screenshotPath = path; },
        "write the last frame to this PNG file as the program ends ('-' for standard output)");
    command->add_option_function<std::string>(
        "--window", [input](const std::string& text) { input->window = text; },
        "the window's size, WIDTHxHEIGHT, each side 100..16384 (default 300x300)");
    command->add_flag("--fullscreen", input->fullScreen, "switch to full screen once the game has started");
    command->add_flag("--uncapped", input->uncapped,
                      "draw frames as fast as the machine can, not paced to the display (for measuring)");
    // For tests: timed input, the state as JSON, and a timer that moves on by whole frames.
    command
        ->add_option_function<std::string>(
            "--events", [input](const std::string& path) { input->eventsPath = path; },
            "a file of timed input, one JSON object a line")
        ->group("");
    command
        ->add_option_function<std::string>(
            "--state-dump", [input](const std::string& path) { input->stateDumpPath = path; },
            "write the game's state as JSON to this file at the script's marks and at the end")
        ->group("");
    command
        ->add_option_function<std::string>(
            "--live-state", [input](const std::string& path) { input->liveStatePath = path; },
            "keep the game's state as JSON in this file, rewritten ten times a second")
        ->group("");
    command
        ->add_option_function<std::string>(
            "--fixed-frame-ms", [input](const std::string& text) { input->fixedFrameMs = text; },
            "move the game's timer on by this many milliseconds a turn of its loop")
        ->group("");
    command->callback([input] {
        int status = RunPlayCommand(*input, std::cout, std::cerr);
        if (status != ExitSuccess)
            throw CLI::RuntimeError(status);
    });
}

int RunDefaultCommand()
{
    return RunPlayCommand(PlayCommandInput{}, std::cout, std::cerr);
}
