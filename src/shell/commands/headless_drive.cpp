#include "shell/commands/headless_drive.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include <nlohmann/json.hpp>

#include "shell/app_state.h"
#include "world/game_options.h"
#include "sim/autopilot.h"
#include "sim/camera.h"
#include "sim/controls.h"
#include "sim/simulation.h"
#include "world/world.h"

namespace {

// The cab display's clocks, on game time here.
constexpr double ScoreTickSeconds = 1.0;
constexpr double BlinkTickSeconds = 0.4;
// Game times are whole multiples of the step; this absorbs the rounding of those products.
constexpr double TimeSlack = 1e-9;

double Rounded(double value, double unit)
{
    return std::round(value / unit) * unit;
}

bool ReadWholeField(const nlohmann::json& line, const char* name, int32_t lowest, int32_t highest, int32_t& value,
                    std::string& problem)
{
    auto field = line.find(name);
    if (field == line.end()) {
        problem = std::string("has no \"") + name + "\"";
        return false;
    }
    if (!field->is_number_integer() || field->get<int64_t>() < lowest || field->get<int64_t>() > highest) {
        problem = std::string("\"") + name + "\" must be a whole number from " + std::to_string(lowest) + " to " +
                  std::to_string(highest);
        return false;
    }
    value = static_cast<int32_t>(field->get<int64_t>());
    return true;
}

bool ReadSettingLine(const std::string& text, ControlSetting& setting, std::string& problem)
{
    nlohmann::json line = nlohmann::json::parse(text, nullptr, false);
    if (line.is_discarded() || !line.is_object()) {
        problem = "is not a JSON object";
        return false;
    }
    auto time = line.find("t");
    if (time == line.end()) {
        problem = "has no \"t\"";
        return false;
    }
    if (!time->is_number() || !std::isfinite(time->get<double>()) || time->get<double>() < 0.0) {
        problem = "\"t\" must be a number of seconds, 0 or more";
        return false;
    }
    setting.time = time->get<double>();
    return ReadWholeField(line, "throttle", ThrottleClosed, ThrottleFull, setting.throttle, problem) &&
           ReadWholeField(line, "brake", BrakeFull, BrakeReleased, setting.brake, problem);
}

bool IsBlank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c) != 0; });
}

}  // namespace

bool IsMeetingStationExit(const World& world, int32_t segment)
{
    return segment >= FirstLineSegment && segment < TrackCapacity && world.track[segment].prevAlt != 0;
}

bool ReadControlSettings(std::istream& in, std::vector<ControlSetting>& settings, std::string& error)
{
    settings.clear();
    std::string text;
    int lineNumber = 0;
    while (std::getline(in, text)) {
        ++lineNumber;
        if (IsBlank(text))
            continue;
        ControlSetting setting = {};
        std::string problem;
        if (!ReadSettingLine(text, setting, problem)) {
            error = "line " + std::to_string(lineNumber) + " " + problem +
                    " (expected {\"t\": seconds, \"throttle\": 0..5, \"brake\": 1..8})";
            return false;
        }
        settings.push_back(setting);
    }
    if (in.bad()) {
        error = "could not be read";
        return false;
    }
    std::stable_sort(settings.begin(), settings.end(),
                     [](const ControlSetting& a, const ControlSetting& b) { return a.time < b.time; });
    return true;
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

void WriteControlSettingLine(std::ostream& out, const ControlSetting& setting)
{
    nlohmann::json line = {{"t", setting.time}, {"throttle", setting.throttle}, {"brake", setting.brake}};
    out << line.dump() << '\n';
}

DriveSummary RunHeadlessDrive(World& world, const GameOptions& options, const DriveSettings& settings,
                              std::ostream* trace, std::vector<ControlSetting>* controlChanges)
{
    AppState app;
    app.frameStep = static_cast<float>(settings.stepSeconds);
    Camera camera;
    DriveSummary summary;
    SignTally signs;

    const int64_t stepLimit =
        static_cast<int64_t>(std::ceil(settings.maxMinutes * 60.0 / settings.stepSeconds - TimeSlack));
    int64_t nextScoreTick = 1;
    int64_t nextBlinkTick = 1;
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
            StoreDriverControls(player, AutopilotControls(world, app.frameStep));
        DriverControls after = ReadDriverControls(player);
        if (controlChanges != nullptr && (after.throttle != before.throttle || after.brake != before.brake))
            controlChanges->push_back({startTime, after.throttle, after.brake});

        AddSignTally(signs, StepSimulation(world, {app.frameStep, app.pauseCount != 0, options.soundType}, camera, app.viewMode));
        time = static_cast<double>(step + 1) * settings.stepSeconds;

        summary.maxSpeed = std::max(summary.maxSpeed, player.speed);
        if (IsMeetingStationExit(world, player.segment) && player.segment > lastStationExit) {
            lastStationExit = player.segment;
            summary.meetingStations += 1;
        }

        // The run ends in the frame that reaches the destination, with the score it announces.
        if (world.destinationState == 1) {
            summary.reachedDestination = true;
            break;
        }

        while (time + TimeSlack >= static_cast<double>(nextScoreTick) * ScoreTickSeconds) {
            if (ScoreTick(world, app.pauseCount != 0) == TickSpeeding)
                summary.overspeedSeconds += 1;
            ++nextScoreTick;
        }
        while (time + TimeSlack >= static_cast<double>(nextBlinkTick) * BlinkTickSeconds) {
            BlinkTick(world);
            ++nextBlinkTick;
        }
        if (trace != nullptr && time + TimeSlack >= static_cast<double>(nextTraceSecond)) {
            WriteTraceLine(*trace, world, time);
            nextTraceSecond = static_cast<int64_t>(std::floor(time + TimeSlack)) + 1;
        }
    }

    const TrainUnit& player = world.trains[world.playerUnit];
    summary.score = world.score;
    summary.gameSeconds = time;
    summary.odometerKm = player.odometer / 1000.0;
    summary.stopSignalsPassed = signs.stopSignalsPassed;
    summary.highSpeedPenalties = signs.highSpeedPenalties;
    summary.finalSegment = player.segment;
    summary.finalSegmentDistance = player.segmentDistance;
    return summary;
}
