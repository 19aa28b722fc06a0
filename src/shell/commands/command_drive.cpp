// `tagvind drive`: builds the world exactly as the game does, then runs the simulation with a
// fixed time step until the destination is reached or the game time runs out, and prints a
// JSON summary. The driver is the autopilot, a recorded list of control settings, or nobody.

#include "shell/commands/command_drive.h"

#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "shell/commands/commands.h"
#include "shell/commands/headless_game.h"
#include "shell/commands/world_options_cli.h"
#include "shell/output_file.h"
#include "sim/autopilot.h"
#include "world/world.h"

namespace {

// A day of game time: the longest line with every wait takes a few hours, and a day without a
// driver is already a trace of 86400 lines.
constexpr DecimalNumberRule MaxMinutesRule = {"--max-minutes", "a number of game minutes", 0.0, 24.0 * 60.0};

struct DriveCommandInput {
    WorldOptionsInput world;
    bool autopilot = false;
    std::optional<std::string> controlsPath;
    std::optional<std::string> step;
    std::optional<std::string> maxMinutes;
    std::optional<std::string> tracePath;
    std::optional<std::string> recordPath;
};

nlohmann::json SummaryToJson(const DriveSummary& summary, const GameOptions& options, uint32_t seed)
{
    nlohmann::json json;
    json["reachedDestination"] = summary.reachedDestination;
    json["score"] = summary.score;
    json["gameSeconds"] = std::round(summary.gameSeconds * 1000.0) / 1000.0;
    json["odometerKm"] = std::round(summary.odometerKm * 1000.0) / 1000.0;
    json["stopSignalsPassed"] = summary.stopSignalsPassed;
    json["overspeedSeconds"] = summary.overspeedSeconds;
    json["highSpeedPenalties"] = summary.highSpeedPenalties;
    json["meetingStations"] = summary.meetingStations;
    json["maxSpeed"] = std::round(static_cast<double>(summary.maxSpeed) * 1000.0) / 1000.0;
    json["seed"] = seed;
    json["options"] = RunOptionsJson(options);
    return json;
}

// Says where the train stood when the time ran out and what it stood before, so that a route
// with a signal that nothing clears can be told from a driver that was too slow.
void ReportTimeRanOut(const World& world, const DriveSummary& summary, uint32_t seed, std::ostream& err)
{
    err << "tagvind: the game time ran out (seed " << seed << ") with the train on segment "
        << summary.finalSegment << ", " << summary.finalSegmentDistance << " m in";
    LineAhead ahead = ReadLineAhead(world, AutopilotSightDistance);
    for (int i = 0; i < ahead.count; ++i) {
        const SpeedRestriction& r = ahead.restrictions[i];
        if (r.kind == RestrictionStopSignal) {
            err << ", " << (r.distance + StopSignalStandOff) << " m before a stop signal at the entry of segment "
                << r.segment;
            break;
        }
        if (r.kind == RestrictionEndOfTrack) {
            err << ", " << (r.distance + StopSignalStandOff) << " m before the end of the track";
            break;
        }
    }
    err << "\n";
}

int RunDriveCommand(const DriveCommandInput& input, std::ostream& out, std::ostream& err)
{
    GameOptions options;
    uint32_t seed = 0;
    if (!ResolveWorldOptions(input.world, options, seed, err))
        return ExitUsage;

    DriveSettings settings;
    settings.autopilot = input.autopilot;
    std::optional<double> step = input.step ? ReadDecimalOption(StepRule, *input.step, err) : settings.stepSeconds;
    std::optional<double> maxMinutes =
        input.maxMinutes ? ReadDecimalOption(MaxMinutesRule, *input.maxMinutes, err) : settings.maxMinutes;
    if (!step || !maxMinutes)
        return ExitUsage;
    settings.stepSeconds = *step;
    settings.maxMinutes = *maxMinutes;

    if (input.controlsPath) {
        std::string problem;
        if (!ReadControlsFile(*input.controlsPath, settings.controls, problem)) {
            err << "tagvind: cannot read the controls file '" << *input.controlsPath << "': " << problem << "\n";
            return ExitFailure;
        }
    }

    // Both outputs are known to be writable before the drive, which may take hours; the trace is
    // open from the start, and is written as the drive goes.
    bool traceToOutput = input.tracePath && *input.tracePath == StandardOutputName;
    bool recordToOutput = input.recordPath && *input.recordPath == StandardOutputName;
    if (traceToOutput && recordToOutput) {
        err << "tagvind: --trace and --record cannot both go to standard output\n";
        return ExitUsage;
    }
    std::string reason;
    if (input.recordPath && !CheckOutputPath(*input.recordPath, reason)) {
        err << "tagvind: cannot write the recorded controls '" << *input.recordPath << "': " << reason << "\n";
        return ExitFailure;
    }
    OutputFile traceFile;
    if (input.tracePath && !OpenOutputFile(*input.tracePath, traceFile, reason)) {
        err << "tagvind: cannot write the trace '" << *input.tracePath << "': " << reason << "\n";
        return ExitFailure;
    }
    OutputFileBuffer traceBuffer(traceFile);
    std::ostream trace(&traceBuffer);

    std::unique_ptr<GameSession> game = BuildHeadlessGame(options, seed);
    World& world = game->world;

    std::vector<ControlSetting> changes;
    DriveSummary summary = DriveHeadless(*game, settings, input.tracePath ? &trace : nullptr,
                                         input.recordPath ? &changes : nullptr);

    if (input.tracePath) {
        trace.flush();
        if (!CloseOutputFile(traceFile, reason)) {
            err << "tagvind: cannot write the trace '" << *input.tracePath << "': " << reason << "\n";
            return ExitFailure;
        }
    }
    if (input.recordPath) {
        std::ostringstream record;
        for (const ControlSetting& change : changes)
            WriteControlSettingLine(record, change);
        if (!WriteOutputFile(*input.recordPath, record.str(), reason)) {
            err << "tagvind: cannot write the recorded controls '" << *input.recordPath << "': " << reason << "\n";
            return ExitFailure;
        }
    }

    // What goes to standard output stands alone, so that it can be piped into a reader.
    if (!traceToOutput && !recordToOutput) {
        out << SummaryToJson(summary, game->options, seed).dump(2) << '\n';
        if (!out.flush()) {
            err << "tagvind: cannot write to standard output\n";
            return ExitFailure;
        }
    }
    if (!summary.reachedDestination) {
        ReportTimeRanOut(world, summary, seed, err);
        return ExitTimeRanOut;
    }
    return ExitSuccess;
}

}  // namespace

void AddDriveCommand(CLI::App& app)
{
    auto input = std::make_shared<DriveCommandInput>();
    CLI::App* command = app.add_subcommand(
        "drive", "Drive the line without a window and print a JSON summary (exit 3 when the time runs out)");
    AddWorldOptions(*command, input->world);
    CLI::Option* autopilot =
        command->add_flag("--autopilot", input->autopilot, "let the demo driver drive, by the player's controls");
    CLI::Option* controls = command->add_option_function<std::string>(
        "--controls", [input](const std::string& path) { input->controlsPath = path; },
        "drive by recorded settings, one JSON line each: {\"t\": seconds, \"throttle\": 0..5, \"brake\": 1..8}, "
        "each applied before the first step that starts at or after t ('-' for standard input)");
    autopilot->excludes(controls);
    controls->excludes(autopilot);
    command->add_option_function<std::string>(
        "--step", [input](const std::string& text) { input->step = text; },
        "seconds of game time each simulation step covers (0.001..1, default 0.02)");
    command->add_option_function<std::string>(
        "--max-minutes", [input](const std::string& text) { input->maxMinutes = text; },
        "game minutes after which the drive gives up (0..1440, default 240)");
    command->add_option_function<std::string>(
        "--trace", [input](const std::string& path) { input->tracePath = path; },
        "write one JSON line per game second to this file as the drive goes ('-' for standard output)");
    command->add_option_function<std::string>(
        "--record", [input](const std::string& path) { input->recordPath = path; },
        "write every change the driver made to the controls to this file, as a --controls file that "
        "replays the drive ('-' for standard output)");
    command->callback([input] {
        int status = RunDriveCommand(*input, std::cout, std::cerr);
        if (status != ExitSuccess)
            throw CLI::RuntimeError(status);
    });

    // The benchmark of a drive joins the bench command when there is one.
    for (CLI::App* bench : app.get_subcommands([](CLI::App* sub) { return sub->get_name() == "bench"; }))
        AddBenchDriveCommand(*bench);
}
