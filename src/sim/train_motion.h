#pragma once
// Motion of every train unit: throttle, brake and resistance give the speed; the speed carries
// the unit along the chain of segments through the switches as they are set; leaving a segment
// fires its scripted events, and the player's train reads the sign of the segment it enters.

#include <cstdint>

#include "sim/signals_scoring.h"
#include "world/track.h"

struct SimStep;
struct TrainUnit;
struct World;

// Traction of each throttle notch (m/s²): (v/160)² for the speed v the notch settles at on
// level track with the brake released, 0, 40, 70, 100, 130 and 160 km/h.
constexpr float NotchAcceleration[6] = {0.0f, 0.0625f, 0.19140625f, 0.390625f, 0.66015625f, 1.0f};

// The highest speed a unit other than the player's railcar reaches (km/h).
constexpr float OtherUnitTopSpeed = 200.0f;

// Acceleration (m/s²) of a unit at speed (km/h) under the given throttle notch and brake step.
float UnitAcceleration(float speed, int32_t throttle, int32_t brake);

// Speed after a step of frameStep seconds at accel, held within 0..1000 km/h, and within
// OtherUnitTopSpeed unless capped is false.
float SpeedAfterStep(float speed, float accel, float frameStep, bool capped);

// The automatic gearbox (Diesel-automatic) or the notch-following engine rate (Off and
// Diesel-electric): gear and soundRate of one unit after a step.
void UpdateEngineRate(TrainUnit& unit, float frameStep, int32_t soundType);

// Acceleration, speed, gear and engine rate of every active unit. Nothing while paused.
void UpdateTrainDynamics(World& world, const SimStep& step);

// Moves every active unit along the track, fires the events of the segments left, applies the
// signs the player's train passes, places every unit and holds the score within its limits.
// Holds the player's train at rest once the destination is reached. Returns what the signs did.
SignTally MoveTrainsAlongTrack(World& world, const SimStep& step);

// posX, posZ, posY and heading of unit from its segment and segmentDistance.
void PlaceUnitOnSegment(World& world, int32_t unit);

// One simulation step: the dynamics, then the movement.
SignTally StepTrains(World& world, const SimStep& step);

// A segment a unit can move onto: a real index holding a segment.
bool IsUsableSegment(const TrackTable& track, int32_t segment);

// Where a forward unit leaving segment goes as the switch is set now (0: nowhere).
int32_t NextSegmentForward(const TrackTable& track, int32_t segment);
// Where a backward unit leaving segment goes as the rear switch is set now (0: nowhere).
int32_t NextSegmentBackward(const TrackTable& track, int32_t segment);

// The sign a forward unit reads when it leaves segment and enters the next one. The signs of
// both forward links count, whichever way the switch lies, and the diverging track's sign wins:
// a station's entry signal stands before the facing switch and covers both its tracks.
int32_t SignAheadOf(const TrackTable& track, int32_t segment);
