// `tagvind shot`: builds the world, lets the autopilot drive for a while, draws one frame
// offscreen as the game would show it and writes it as a PNG file.

#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "device/device_results.h"
#include "shell/command_numbers.h"
#include "shell/commands/commands.h"
#include "shell/commands/headless_game.h"
#include "shell/commands/render_commands.h"
#include "shell/commands/scene_shot.h"
#include "shell/commands/world_options_cli.h"
#include "shell/output_file.h"
#include "shell/png_file.h"
#include "world/world.h"

namespace {

// Six hours of game time: the longest line with every wait, and then some.
constexpr DecimalNumberRule DriveRule = {"--drive", "a number of seconds", 0.0, 6.0 * 3600.0};

struct ShotCommandInput {
    WorldOptionsInput world;
    std::string driveSeconds = "0";
    std::string view = "cab";
    std::string size = "1024x768";
    bool noBatch = false;
    std::string pngPath;
};

int RunShot(const ShotCommandInput& input, std::ostream& out, std::ostream& err)
{
    GameOptions options;
    uint32_t seed = 0;
    if (!ResolveWorldOptions(input.world, options, seed, err))
        return ExitUsage;
    std::optional<PictureSize> size =
        ReadPictureSizeOption("--size", input.size, SmallestPictureSide, LargestPictureSide, err);
    std::optional<double> driveSeconds = ReadDecimalOption(DriveRule, input.driveSeconds, err);
    if (!size || !driveSeconds)
        return ExitUsage;
    ShotSettings settings;
    settings.width = size->width;
    settings.height = size->height;
    settings.viewMode = input.view == "outside" ? ViewOutside : ViewCab;
    settings.driveSeconds = *driveSeconds;
    settings.batching = !input.noBatch;

    std::string reason;
    if (!CheckOutputPath(input.pngPath, reason)) {
        err << "tagvind: cannot write " << input.pngPath << ": " << reason << '\n';
        return ExitFailure;
    }

    std::unique_ptr<GameSession> game = BuildHeadlessGame(options, seed);
    ShotPicture picture;
    if (IsFailure(TakeShot(*game, settings, picture, err)))
        return ExitFailure;

    std::string png;
    if (!EncodePng(picture.width, picture.height, picture.rgba, png)) {
        err << "tagvind: the picture could not be encoded as PNG\n";
        return ExitFailure;
    }
    if (!WriteOutputFile(input.pngPath, png, reason)) {
        err << "tagvind: cannot write " << input.pngPath << ": " << reason << '\n';
        return ExitFailure;
    }
    // A picture on standard output stands alone, so that it can be piped into a viewer.
    if (input.pngPath == StandardOutputName)
        return ExitSuccess;
    const TrainUnit& player = game->world.trains[game->world.playerUnit];
    char line[256];
    std::snprintf(line, sizeof line,
                  "%s: %d x %d, %s view after %.1f s, segment %d, %.1f km/h; %d draws in %d GL calls, %lld "
                  "triangles (%s)\n",
                  input.pngPath.c_str(), picture.width, picture.height, input.view.c_str(), picture.drivenSeconds,
                  player.segment, static_cast<double>(player.speed), picture.stats.sceneDraws,
                  picture.stats.glDrawCalls, static_cast<long long>(picture.stats.triangles),
                  picture.renderer.c_str());
    out << line;
    return ExitSuccess;
}

void AddShotCommand(CLI::App& app)
{
    auto input = std::make_shared<ShotCommandInput>();
    CLI::App* command = app.add_subcommand("shot", "Draw one frame offscreen and write it as a PNG file");
    AddWorldOptions(*command, input->world);
    command->add_option("--drive", input->driveSeconds,
                        "game seconds the autopilot drives before the picture (0..21600, default 0)");
    command->add_option("--view", input->view, "cab or outside")->check(CLI::IsMember({"cab", "outside"}));
    command->add_option("--size", input->size, "picture size WIDTHxHEIGHT, each side 16..16384 (default 1024x768)");
    command->add_flag("--no-batch", input->noBatch, "send every draw as its own GL call");
    command->add_option("--png", input->pngPath, "the PNG file to write ('-' for standard output)")->required();
    command->callback([input] {
        int status = RunShot(*input, std::cout, std::cerr);
        if (status != ExitSuccess)
            throw CLI::RuntimeError(status);
    });
}

}  // namespace

void AddRenderCommands(CLI::App& app)
{
    AddShotCommand(app);
    AddBenchSceneCommand(app);
}
