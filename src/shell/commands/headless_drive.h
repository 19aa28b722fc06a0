#pragma once
// Driving a built world without a window: the frame loop with a fixed time step, the score and
// blink ticks on game time, and the driver's input from the autopilot or a recorded list of
// control settings. Used by `tagvind drive`, its benchmark and the end-to-end tests.

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

struct GameOptions;
struct World;

// One recorded control setting: applied before the first step that starts at or after time.
struct ControlSetting {
    double time;  // game seconds
    int32_t throttle;
    int32_t brake;
};

struct DriveSettings {
    double stepSeconds = 0.02;
    double maxMinutes = 240.0;
    bool autopilot = false;
    std::vector<ControlSetting> controls;  // in time order; empty: nobody touches the controls
};

struct DriveSummary {
    bool reachedDestination = false;
    int32_t score = 0;
    double gameSeconds = 0.0;
    double odometerKm = 0.0;
    int32_t stopSignalsPassed = 0;
    int32_t overspeedSeconds = 0;    // score ticks that charged for speeding
    int32_t highSpeedPenalties = 0;  // limit signs passed 5 km/h or more over the limit
    int32_t meetingStations = 0;     // meeting stations the player's train came through
    float maxSpeed = 0.0f;
    // Where the train stood when the time ran out, to tell a signal nothing clears.
    int32_t finalSegment = 0;
    float finalSegmentDistance = 0.0f;
};

// The number of the first segment after the starting station.
constexpr int32_t FirstLineSegment = 8;

// Whether segment is where a meeting station's second track rejoins the line: the train that
// enters it has come through the station.
bool IsMeetingStationExit(const World& world, int32_t segment);

// Reads control settings, one JSON object a line: {"t": seconds, "throttle": 0..5, "brake": 1..8}.
// Blank lines are skipped. The result is put in time order, later lines winning at equal times.
// Returns false with a message naming the line when a line is not such an object.
bool ReadControlSettings(std::istream& in, std::vector<ControlSetting>& settings, std::string& error);

// Runs the simulation on the built world until the destination is reached or the time runs out.
// With trace, writes one JSON line after the step that reaches each whole game second. With
// controlChanges, lists every change the driver made to the controls, at the start time of its
// step, so that the drive can be replayed setting by setting.
DriveSummary RunHeadlessDrive(World& world, const GameOptions& options, const DriveSettings& settings,
                              std::ostream* trace, std::vector<ControlSetting>* controlChanges = nullptr);

// One line of a controls file.
void WriteControlSettingLine(std::ostream& out, const ControlSetting& setting);

// One line of the trace at game time seconds.
void WriteTraceLine(std::ostream& out, const World& world, double seconds);
