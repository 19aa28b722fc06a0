#pragma once
// The game without a window: the game's own frame driver on null platform parts, with frames
// of a fixed step of game time, and the driver's input from the autopilot or a recorded list of
// control settings. Used by `tagvind drive`, its benchmark, `tagvind shot` and the tests.

#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

#include "shell/commands/control_settings.h"
#include "shell/game_flow.h"

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

// A game session with the line for the options built as the command line builds it.
std::unique_ptr<GameSession> BuildHeadlessGame(const GameOptions& options, uint32_t seed);

// Plays the session's built world from where it stands until the destination is reached or the
// time runs out, a frame every settings.stepSeconds of game time. With trace, writes one JSON
// line after the frame that reaches each whole game second, and stops early once the trace
// cannot be written. With controlChanges, lists every
// change the driver made to the controls, at the start time of its frame, so that the drive can
// be replayed setting by setting.
DriveSummary DriveHeadless(GameSession& game, const DriveSettings& settings, std::ostream* trace,
                           std::vector<ControlSetting>* controlChanges = nullptr);

// One line of the trace at game time seconds.
void WriteTraceLine(std::ostream& out, const World& world, double seconds);
