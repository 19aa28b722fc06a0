#pragma once
// The demo driver: drives the player's railcar with the controls a player has, reading the line
// ahead as the switches lie now. It keeps within the limit in force, brakes in time for a lower
// limit or a signal at danger, waits at such a signal until the line's events clear it, and
// stops in the destination.

#include <cstdint>

#include "sim/controls.h"

struct World;

enum RestrictionKind : int32_t {
    RestrictionLimit = 1,        // a limit sign: pass it at or below the speed
    RestrictionStopSignal = 2,   // a signal at danger: stand before it
    RestrictionDestination = 3,  // stop inside the destination segment
    RestrictionEndOfTrack = 4,   // no segment to move onto: stand before the end
    RestrictionEndOfSight = 5,   // more of the line than the driver reads: be able to stand there
};

// A point ahead that the train must reach at or below a speed.
struct SpeedRestriction {
    int32_t kind;
    double distance;  // metres ahead of the train's position now
    float speed;      // km/h; 0 to stand there
    int32_t segment;  // the segment whose entry the restriction guards
};

constexpr int MaxRestrictionsAhead = 16;

struct LineAhead {
    int count = 0;
    SpeedRestriction restrictions[MaxRestrictionsAhead];
};

// How far ahead the driver reads the line: more than the braking distance from top speed.
constexpr double AutopilotSightDistance = 3000.0;
// A signal at danger is stopped at this far before it.
constexpr double StopSignalStandOff = 10.0;
// The destination train stops this far into the destination segment.
constexpr double DestinationStopDepth = 25.0;

// Reads the line ahead of the player's train up to sightDistance metres, following the
// switches as they lie now. The walk ends at the first signal at danger, the destination or the
// end of the track; a walk cut short before the sight distance ends with RestrictionEndOfSight.
LineAhead ReadLineAhead(const World& world, double sightDistance);

// The highest speed (km/h) the driver accepts at x metres ahead: just under the limit in force,
// and under the braking curve of every restriction ahead.
float AllowedSpeedAhead(const LineAhead& ahead, int32_t limitInForce, double x);

// The position of the combined handle the driver wants now: 0..6 brake 1..7, 7 released and
// no power, 8..12 throttle notch 1..5.
int32_t ChooseAutopilotHandle(const World& world, float frameStep);

// Moves the controls to a handle position the way a player does it: by clicking the levers.
DriverControls MoveHandleTo(DriverControls controls, int32_t handle);

// One decision: the player's controls after the driver's lever work for the next step.
DriverControls AutopilotControls(const World& world, float frameStep);
