#include "shell/commands/headless_game.h"

#include <algorithm>
#include <cmath>

#include <nlohmann/json.hpp>

#include "platform/null_platform.h"
#include "shell/world_options.h"
#include "sim/autopilot.h"
#include "sim/controls.h"

namespace {

// Game times are whole multiples of the step; this absorbs the rounding of those products.
constexpr double TimeSlack = 1e-9;

double Rounded(double value, double unit)
{
    return std::round(value / unit) * unit;
}

// A fresh run on the session's world: the clock at zero, frames of a fixed step, nobody there
// to choose what follows the run.
void StartHeadlessRun(GameSession& game, double stepSeconds)
{
    game.app = AppState{};
    game.app.gameStarted = 1;
    game.app.frameStep = static_cast<float>(stepSeconds);
    game.fixedStepSeconds = stepSeconds;
    game.camera = Camera{};
    game.ticks = FrameTicks{};
    game.signs = SignTally{};
    game.speedingTicks = 0;
    game.framesRun = 0;
    game.endOfRunMessages = 0;
    game.endsAfterRun = 1;
}

}  // namespace

bool IsMeetingStationExit(const World& world, int32_t segment)
{
    return segment >= FirstLineSegment && segment < TrackCapacity && world.track[segment].prevAlt != 0;
}

std::unique_ptr<GameSession> BuildHeadlessGame(const GameOptions& options, uint32_t seed)
{
    auto game = std::make_unique<GameSession>();
    game->options = options;
    SeedAsStartUp(game->world, game->options, seed);
    BuildWorld(game->world, game->options, seed);
    game->runSeed = seed;
    return game;
}

void WriteTraceLine(std::ostream& out, const World& world, double seconds)
{
    const TrainUnit& player = world.trains[world.playerUnit];
    nlohmann::json line;
    line["t"] = Rounded(seconds, 0.001);
    line["segment"] = player.segment;
    line["segmentDistance"] = Rounded(player.segmentDistance, 0.001);
    line["speed"] = Rounded(player.speed, 0.001);
    line["speedLimit"] = player.speedLimit;
    line["announcedLimit"] = player.announcedLimit;
    line["throttle"] = player.throttle;
    line["brake"] = player.brake;
    line["score"] = world.score;
    line["odometer"] = Rounded(player.odometer, 0.001);
    line["posX"] = Rounded(player.posX, 0.001);
    line["posZ"] = Rounded(player.posZ, 0.001);
    line["heading"] = Rounded(player.heading, 0.00001);
    nlohmann::json others = nlohmann::json::array();
    for (int32_t i = 1; i <= TrainCapacity - 2; ++i) {
        const TrainUnit& unit = world.trains[i];
        if (i == world.playerUnit || unit.kind == TrainNone)
            continue;
        others.push_back({{"index", i},
                          {"kind", unit.kind},
                          {"segment", unit.segment},
                          {"segmentDistance", Rounded(unit.segmentDistance, 0.001)},
                          {"speed", Rounded(unit.speed, 0.001)}});
    }
    line["other"] = std::move(others);
    out << line.dump() << '\n';
}

DriveSummary DriveHeadless(GameSession& game, const DriveSettings& settings, std::ostream* trace,
                           std::vector<ControlSetting>* controlChanges)
{
    StartHeadlessRun(game, settings.stepSeconds);
    NullPlatform platform;
    World& world = game.world;
    DriveSummary summary;

    const int64_t stepLimit =
        static_cast<int64_t>(std::ceil(settings.maxMinutes * 60.0 / settings.stepSeconds - TimeSlack));
    int64_t nextTraceSecond = 1;
    size_t nextSetting = 0;
    int32_t lastStationExit = 0;
    double time = 0.0;

    for (int64_t step = 0; step < stepLimit; ++step) {
        TrainUnit& player = world.trains[world.playerUnit];

        // The driver acts between frames, as the window's keys and clicks do.
        double startTime = static_cast<double>(step) * settings.stepSeconds;
        DriverControls before = ReadDriverControls(player);
        while (nextSetting < settings.controls.size() &&
               settings.controls[nextSetting].time <= startTime + TimeSlack) {
            const ControlSetting& setting = settings.controls[nextSetting];
            StoreDriverControls(player, {setting.throttle, setting.brake});
            ++nextSetting;
        }
        if (settings.autopilot)
            StoreDriverControls(player, AutopilotControls(world, game.app.frameStep));
        DriverControls after = ReadDriverControls(player);
        if (controlChanges != nullptr && (after.throttle != before.throttle || after.brake != before.brake))
            controlChanges->push_back({startTime, after.throttle, after.brake});

        RunFrame(game, platform);
        time = static_cast<double>(step + 1) * settings.stepSeconds;

        summary.maxSpeed = std::max(summary.maxSpeed, player.speed);
        if (IsMeetingStationExit(world, player.segment) && player.segment > lastStationExit) {
            lastStationExit = player.segment;
            summary.meetingStations += 1;
        }

        // The run ends in the frame that reaches the destination, with the score it announces.
        if (game.endOfRunMessages > 0) {
            summary.reachedDestination = true;
            break;
        }

        if (trace != nullptr && time + TimeSlack >= static_cast<double>(nextTraceSecond)) {
            WriteTraceLine(*trace, world, time);
            nextTraceSecond = static_cast<int64_t>(std::floor(time + TimeSlack)) + 1;
            // A trace that can no longer be written fails the drive, so there is no use going on.
            if (!*trace)
                break;
        }
    }

    const TrainUnit& player = world.trains[world.playerUnit];
    summary.score = world.score;
    summary.gameSeconds = time;
    summary.odometerKm = player.odometer / 1000.0;
    summary.stopSignalsPassed = game.signs.stopSignalsPassed;
    summary.highSpeedPenalties = game.signs.highSpeedPenalties;
    summary.overspeedSeconds = game.speedingTicks;
    summary.finalSegment = player.segment;
    summary.finalSegmentDistance = player.segmentDistance;
    return summary;
}
