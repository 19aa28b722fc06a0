// `tagvind bench world`: times whole world builds (reset, engine sample, models, plan, track
// with scenery and scripts) and prints the figures. A benchmark, not a test: it judges nothing.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/command_numbers.h"
#include "shell/commands/commands.h"
#include "shell/commands/world_options_cli.h"
#include "world/world.h"

namespace {

constexpr int WarmUpBuilds = 3;
constexpr WholeNumberRule BuildsRule = {"--builds", "a whole number of builds", 1, 10000};

struct BenchWorldInput {
    WorldOptionsInput world;
    std::string builds = "31";
};

int RunBenchWorld(const BenchWorldInput& input, std::ostream& out, std::ostream& err)
{
    // The default options are the benchmark's line: preset 1, 100 km, meeting stations every 3 km.
    GameOptions chosen;
    uint32_t seed = 0;
    if (!ResolveWorldOptions(input.world, chosen, seed, err))
        return ExitUsage;
    std::optional<int64_t> timedBuilds = ReadWholeOption(BuildsRule, input.builds, err);
    if (!timedBuilds)
        return ExitUsage;
    int builds = static_cast<int>(*timedBuilds);

    auto world = std::make_unique<World>();
    std::vector<double> buildMs;
    for (int build = 0; build < WarmUpBuilds + builds; ++build) {
        // Every build starts from the chosen options, as a restart from the dialog would.
        GameOptions options = chosen;
        SeedAsStartUp(*world, options, seed);
        auto start = std::chrono::steady_clock::now();
        BuildWorld(*world, options, seed);
        std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        if (build >= WarmUpBuilds)
            buildMs.push_back(elapsed.count());
    }
    std::sort(buildMs.begin(), buildMs.end());
    size_t middle = buildMs.size() / 2;
    double median = buildMs.size() % 2 == 1 ? buildMs[middle] : (buildMs[middle - 1] + buildMs[middle]) / 2.0;

    char line[160];
    std::snprintf(line, sizeof line,
                  "World build, scenery %d, %d km, meeting stations every %d km: %d builds after %d warm-up\n",
                  chosen.scenery, chosen.totalLengthKm, chosen.meetingDistanceKm, builds, WarmUpBuilds);
    out << line;
    std::snprintf(line, sizeof line, "  median        %8.3f ms\n", median);
    out << line;
    std::snprintf(line, sizeof line, "  min           %8.3f ms\n", buildMs.front());
    out << line;
    std::snprintf(line, sizeof line, "  max           %8.3f ms\n", buildMs.back());
    out << line;
    std::snprintf(line, sizeof line, "  world tables  %8.3f MB (sizeof(World) = %zu bytes)\n",
                  static_cast<double>(sizeof(World)) / 1.0e6, sizeof(World));
    out << line;
    std::snprintf(line, sizeof line, "  last build       %d segments, %d strips, %d events\n", world->segmentCount,
                  world->stripCount, world->eventCount);
    out << line;
    return ExitSuccess;
}

}  // namespace

void AddBenchCommand(CLI::App& app)
{
    CLI::App* bench = app.add_subcommand("bench", "Time parts of the program and print the figures");
    bench->require_subcommand(1);

    auto input = std::make_shared<BenchWorldInput>();
    CLI::App* world = bench->add_subcommand("world", "Time whole world builds (median, min and max)");
    AddWorldOptions(*world, input->world);
    world->add_option("--builds", input->builds, "number of timed builds (1..10000, default 31)");
    world->callback([input] {
        int status = RunBenchWorld(*input, std::cout, std::cerr);
        if (status != ExitSuccess)
            throw CLI::RuntimeError(status);
    });
}
