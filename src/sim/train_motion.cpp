// Sections: dynamics and engine rate; the track links; movement and placement; the step.

#include "sim/train_motion.h"

#include <cmath>

#include "sim/route_events_run.h"
#include "sim/simulation.h"
#include "world/game_options.h"
#include "world/track_geometry.h"
#include "world/world.h"

namespace {

// The game's own half turn and full turn, as the headings have always been wrapped with.
constexpr float HalfTurn = 3.1416f;
constexpr float FullTurn = 6.2832f;

// The engine rate each open notch settles towards without the gearbox, and how fast it follows.
constexpr float NotchEngineRate[6] = {0.5f, 0.7f, 0.9f, 1.1f, 1.3f, 1.5f};
constexpr float IdleEngineRate = 0.5f;
constexpr float EngineRateChangePerSecond = 0.1f;

constexpr float SpeedCeiling = 1000.0f;

bool IsTrackIndex(int32_t segment)
{
    return segment > 0 && segment < TrackCapacity;
}

bool IsForward(const TrainUnit& unit)
{
    // The signed remainder: -1 runs backward like 1 does.
    return unit.direction % 2 == 0;
}

void MoveOntoSegment(World& world, TrainUnit& unit, int32_t leftSegment, int32_t chosen)
{
    world.track[leftSegment].occupancy = 1;
    unit.segmentDistance -= world.track[leftSegment].length;
    unit.segment = chosen;
    world.track[chosen].occupancy = 2;
}

// The unit has run past the end of its segment: the segment's events fire first, since they
// may set the switch the unit is about to pass or change the unit itself; then the unit moves
// on by at most one segment, the rest of its step carrying over to the next one.
void LeaveSegment(World& world, int32_t index, SignTally& tally)
{
    TrainUnit& unit = world.trains[index];
    int32_t leftSegment = unit.segment;
    FireRouteEvents(world, index, leftSegment);

    if (IsForward(unit)) {
        int32_t chosen = NextSegmentForward(world.track, unit.segment);
        int32_t sign = SignAheadOf(world.track, unit.segment);
        if (!IsUsableSegment(world.track, chosen))
            return;
        MoveOntoSegment(world, unit, leftSegment, chosen);
        // Other trains pass the signs without effect.
        if (sign != SignNone && index == world.playerUnit)
            CountSignOutcome(tally, ApplyPlayerSign(world, index, sign, leftSegment));
        return;
    }

    int32_t chosen = NextSegmentBackward(world.track, unit.segment);
    if (IsUsableSegment(world.track, chosen))
        MoveOntoSegment(world, unit, leftSegment, chosen);
}

// After the destination the railcar stands, whatever the controls say.
void HoldPlayerAtRest(TrainUnit& player)
{
    player.speed = 0.0f;
    player.brake = BrakeReleased;
    player.throttle = ThrottleClosed;
    player.gear = 1;
    player.soundRate = 0.0f;
}

}  // namespace

// --- Dynamics and engine rate --------------------------------------------------------------

float UnitAcceleration(float speed, int32_t throttle, int32_t brake)
{
    float accel = (throttle >= 1 && throttle <= ThrottleFull) ? NotchAcceleration[throttle] : 0.0f;
    // Air and rolling resistance.
    accel -= (speed / 160.0f) * (speed / 160.0f);
    // Brake 1 gives 1.75 m/s², brake 7 a quarter, brake 8 nothing.
    accel -= static_cast<float>(BrakeReleased - brake) / 4.0f;
    return accel;
}

float SpeedAfterStep(float speed, float accel, float frameStep, bool capped)
{
    speed += accel * frameStep * 3.6f;
    if (speed < 0.0f)
        speed = 0.0f;
    if (speed > SpeedCeiling)
        speed = SpeedCeiling;
    if (capped && speed > OtherUnitTopSpeed)
        speed = OtherUnitTopSpeed;
    return speed;
}

void UpdateEngineRate(TrainUnit& unit, float frameStep, int32_t soundType)
{
    if (soundType == SoundDieselAutomatic) {
        // Each change sees the one before, so a jump from 35 to 75 km/h shifts 1 to 2 to 3.
        if (unit.gear == 1 && unit.speed > 40.0f)
            unit.gear = 2;
        if (unit.gear == 2 && unit.speed > 70.0f)
            unit.gear = 3;
        if (unit.gear == 3 && unit.speed < 60.0f)
            unit.gear = 2;
        if (unit.gear == 2 && unit.speed < 30.0f)
            unit.gear = 1;

        if (unit.speed == 0.0f)
            unit.soundRate = IdleEngineRate;
        else if (unit.gear == 1)
            unit.soundRate = unit.speed / 40.0f + 0.5f;
        else if (unit.gear == 2)
            unit.soundRate = unit.speed / 70.0f + 0.5f;
        else if (unit.gear == 3)
            unit.soundRate = unit.speed / 130.0f + 0.5f;
        return;
    }

    // Without the gearbox the engine follows the notch slowly.
    float change = EngineRateChangePerSecond * frameStep;
    if (unit.throttle == ThrottleClosed) {
        if (unit.soundRate > IdleEngineRate)
            unit.soundRate -= change;
        else
            unit.soundRate = IdleEngineRate;
        return;
    }
    if (unit.throttle < 1 || unit.throttle > ThrottleFull)
        return;
    float target = NotchEngineRate[unit.throttle];
    if (unit.soundRate < target)
        unit.soundRate += change;
    else if (unit.soundRate > target)
        unit.soundRate -= change;
}

void UpdateTrainDynamics(World& world, const SimStep& step)
{
    if (step.paused)
        return;
    for (int32_t i = 1; i <= TrainCapacity - 2; ++i) {
        TrainUnit& unit = world.trains[i];
        if (unit.kind == TrainNone)
            continue;
        unit.accel = UnitAcceleration(unit.speed, unit.throttle, unit.brake);
        // Only unit 1 may run faster than the other trains.
        unit.speed = SpeedAfterStep(unit.speed, unit.accel, step.seconds, i != 1);
        UpdateEngineRate(unit, step.seconds, step.soundType);
    }
}

// --- Track links ----------------------------------------------------------------------------

bool IsUsableSegment(const TrackTable& track, int32_t segment)
{
    return IsTrackIndex(segment) && track[segment].type != SegmentNone;
}

int32_t NextSegmentForward(const TrackTable& track, int32_t segment)
{
    if (!IsTrackIndex(segment))
        return 0;
    const TrackSegment& current = track[segment];
    return current.forwardSwitch == 1 ? current.next : current.nextAlt;
}

int32_t NextSegmentBackward(const TrackTable& track, int32_t segment)
{
    if (!IsTrackIndex(segment))
        return 0;
    const TrackSegment& current = track[segment];
    return current.rearSwitch == 1 ? current.prev : current.prevAlt;
}

int32_t SignAheadOf(const TrackTable& track, int32_t segment)
{
    if (!IsTrackIndex(segment))
        return SignNone;
    const TrackSegment& current = track[segment];
    int32_t sign = SignNone;
    if (IsTrackIndex(current.next) && track[current.next].signPresent != 0)
        sign = track[current.next].forwardSign;
    if (IsTrackIndex(current.nextAlt) && track[current.nextAlt].signPresent != 0)
        sign = track[current.nextAlt].forwardSign;
    return sign;
}

// --- Movement and placement -----------------------------------------------------------------

SignTally MoveTrainsAlongTrack(World& world, const SimStep& step)
{
    SignTally tally;
    // Held even while paused, so that the controls have no effect after the destination.
    if (world.destinationState != 0)
        HoldPlayerAtRest(world.trains[world.playerUnit]);
    if (step.paused)
        return tally;

    // Units placed by an event during this pass are moved in it too when their index is higher.
    for (int32_t i = 1; i <= TrainCapacity - 2; ++i) {
        TrainUnit& unit = world.trains[i];
        if (unit.kind == TrainNone)
            continue;
        float distance = unit.speed / 3.6f * step.seconds;
        unit.segmentDistance += distance;
        unit.odometer += static_cast<double>(distance);
        if (IsTrackIndex(unit.segment) && unit.segmentDistance > world.track[unit.segment].length)
            LeaveSegment(world, i, tally);
        PlaceUnitOnSegment(world, i);
    }
    LimitScore(world);
    return tally;
}

void PlaceUnitOnSegment(World& world, int32_t index)
{
    TrainUnit& unit = world.trains[index];
    if (!IsTrackIndex(unit.segment))
        return;
    const TrackSegment& segment = world.track[unit.segment];
    bool forward = IsForward(unit);
    float length = segment.length;
    // Distance from the segment's start, whichever way the unit runs; not clamped, so a unit
    // beyond either end stands on the extension of the line or arc.
    float d = forward ? unit.segmentDistance : length - unit.segmentDistance;
    float h0 = segment.startHeading;

    switch (segment.type) {
    case SegmentStraight:
    case SegmentTunnel:
        unit.posX = segment.startX + Sine(h0) * d;
        unit.posZ = segment.startZ + Cosine(h0) * d;
        unit.heading = h0;
        if (!forward) {
            unit.heading = h0 + HalfTurn;
            if (unit.heading > HalfTurn)
                unit.heading -= FullTurn;
        }
        break;
    case SegmentCurveLeft:
    case SegmentCurveRight: {
        float radius = segment.radius;
        float angle = h0 + (d / length) * (segment.endHeading - h0);
        CurveCentre centre = MakeCurveCentre(segment.startX, segment.startZ, h0, radius, CurveTurn(segment.type));
        GroundPoint point = CurvePoint(centre, angle, radius);
        unit.posX = point.x;
        unit.posZ = point.z;
        unit.heading = forward ? angle : angle + HalfTurn;
        if (unit.heading > HalfTurn)
            unit.heading -= FullTurn;
        break;
    }
    default:
        break;
    }

    // Every segment is level today; a segment without length has no slope to follow.
    if (length != 0.0f)
        unit.posY = segment.startHeight + (segment.endHeight - segment.startHeight) * unit.segmentDistance / length;
    else
        unit.posY = segment.startHeight;
}

// --- The step -------------------------------------------------------------------------------

SignTally StepTrains(World& world, const SimStep& step)
{
    UpdateTrainDynamics(world, step);
    return MoveTrainsAlongTrack(world, step);
}
