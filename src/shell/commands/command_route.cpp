// `tagvind route`: builds the world for the options and prints the route report, or writes the
// world as JSON to a file or to standard output.

#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "shell/commands/commands.h"
#include "shell/commands/route_report.h"
#include "shell/commands/world_options_cli.h"
#include "shell/output_file.h"
#include "shell/world_json.h"
#include "world/world.h"

namespace {

struct RouteCommandInput {
    WorldOptionsInput world;
    std::optional<std::string> jsonPath;  // "-" for standard output
};

int RunRouteCommand(const RouteCommandInput& input, std::ostream& out, std::ostream& err)
{
    GameOptions options;
    uint32_t seed = 0;
    if (!ResolveWorldOptions(input.world, options, seed, err))
        return ExitUsage;

    auto world = std::make_unique<World>();
    SeedAsStartUp(*world, options, seed);
    auto buildStart = std::chrono::steady_clock::now();
    BuildWorld(*world, options, seed);
    std::chrono::duration<double, std::milli> buildTime = std::chrono::steady_clock::now() - buildStart;

    bool jsonToOutput = input.jsonPath && *input.jsonPath == StandardOutputName;
    if (input.jsonPath) {
        std::string reason;
        if (!WriteOutputFile(*input.jsonPath, FormatWorldJson(WorldToJson(*world, options)), reason)) {
            err << "tagvind: cannot write '" << *input.jsonPath << "': " << reason << "\n";
            return ExitFailure;
        }
    }
    // The JSON on standard output stands alone, so that it can be piped into a reader.
    if (!jsonToOutput)
        WriteRouteReport(out, *world, options, seed, buildTime.count());

    if (!out.flush()) {
        err << "tagvind: cannot write to standard output\n";
        return ExitFailure;
    }
    return ExitSuccess;
}

}  // namespace

void AddRouteCommand(CLI::App& app)
{
    auto input = std::make_shared<RouteCommandInput>();
    CLI::App* command = app.add_subcommand("route", "Build the line for the options and report what it holds");
    AddWorldOptions(*command, input->world);
    command->add_option_function<std::string>(
        "--json", [input](const std::string& path) { input->jsonPath = path; },
        "write the built world as JSON to this file ('-' for standard output)");
    command->callback([input] {
        int status = RunRouteCommand(*input, std::cout, std::cerr);
        if (status != ExitSuccess)
            throw CLI::RuntimeError(status);
    });
}
