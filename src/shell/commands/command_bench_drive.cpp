// `tagvind bench drive`: how many times faster than real time the autopilot drives a line, the
// world build left out. A benchmark, not a test: it prints figures and judges nothing.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/command_numbers.h"
#include "shell/commands/command_drive.h"
#include "shell/commands/commands.h"
#include "shell/commands/headless_game.h"
#include "shell/commands/world_options_cli.h"
#include "world/world.h"

namespace {

constexpr WholeNumberRule RunsRule = {"--runs", "a whole number of runs", 1, 100};

struct BenchDriveInput {
    WorldOptionsInput world;
    std::string runs = "3";
    std::string step = "0.02";
};

struct TimedDrive {
    double gameSeconds;
    double wallSeconds;
    double timesRealTime;
    bool reached;
};

int RunBenchDrive(const BenchDriveInput& input, std::ostream& out, std::ostream& err)
{
    // The default options are the benchmark's line: preset 1, 100 km, meeting stations every 3 km.
    GameOptions chosen;
    uint32_t seed = 0;
    if (!ResolveWorldOptions(input.world, chosen, seed, err))
        return ExitUsage;
    std::optional<int64_t> runs = ReadWholeOption(RunsRule, input.runs, err);
    std::optional<double> step = ReadDecimalOption(StepRule, input.step, err);
    if (!runs || !step)
        return ExitUsage;

    DriveSettings settings;
    settings.autopilot = true;
    settings.stepSeconds = *step;

    auto game = std::make_unique<GameSession>();
    std::vector<TimedDrive> drives;
    for (int64_t run = 0; run < *runs; ++run) {
        game->options = chosen;
        SeedAsStartUp(game->world, game->options, seed);
        BuildWorld(game->world, game->options, seed);
        auto start = std::chrono::steady_clock::now();
        DriveSummary summary = DriveHeadless(*game, settings, nullptr);
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        drives.push_back({summary.gameSeconds, elapsed.count(), summary.gameSeconds / elapsed.count(),
                          summary.reachedDestination});
    }
    std::sort(drives.begin(), drives.end(),
              [](const TimedDrive& a, const TimedDrive& b) { return a.timesRealTime < b.timesRealTime; });
    const TimedDrive& median = drives[drives.size() / 2];

    char line[200];
    std::snprintf(line, sizeof line,
                  "Autopilot drive, scenery %d, %d km, meeting stations every %d km, step %.3f s: %d runs\n",
                  chosen.scenery, chosen.totalLengthKm, chosen.meetingDistanceKm, *step, static_cast<int>(*runs));
    out << line;
    std::snprintf(line, sizeof line, "  game time          %10.1f s (%s)\n", median.gameSeconds,
                  median.reached ? "destination reached" : "time ran out");
    out << line;
    std::snprintf(line, sizeof line, "  wall time, median  %10.3f s\n", median.wallSeconds);
    out << line;
    std::snprintf(line, sizeof line, "  real time x        %10.0f median, %.0f slowest, %.0f fastest\n",
                  median.timesRealTime, drives.front().timesRealTime, drives.back().timesRealTime);
    out << line;
    std::snprintf(line, sizeof line, "  steps per second   %10.0f\n",
                  median.gameSeconds / *step / median.wallSeconds);
    out << line;
    return ExitSuccess;
}

}  // namespace

void AddBenchDriveCommand(CLI::App& bench)
{
    auto input = std::make_shared<BenchDriveInput>();
    CLI::App* drive =
        bench.add_subcommand("drive", "Time autopilot drives and print how many times faster than real time they run");
    AddWorldOptions(*drive, input->world);
    drive->add_option("--runs", input->runs, "number of timed drives (1..100, default 3)");
    drive->add_option("--step", input->step, "seconds of game time per step (0.001..1, default 0.02)");
    drive->callback([input] {
        int status = RunBenchDrive(*input, std::cout, std::cerr);
        if (status != ExitSuccess)
            throw CLI::RuntimeError(status);
    });
}
