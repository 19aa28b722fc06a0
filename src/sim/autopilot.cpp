#include "sim/autopilot.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "sim/train_motion.h"
#include "world/world.h"

namespace {

// The driver plans with a service braking well inside what the brake gives (1.75 m/s² and the
// resistance on top), so that a handle moved a step late still stops the train in time.
constexpr double PlanningDeceleration = 0.7;
// Limit signs are passed a little under the new limit, a few metres early.
constexpr float LimitApproachSpeed = 38.0f;
constexpr double LimitApproachLead = 5.0;
// The driver holds this far under the limit in force.
constexpr float LimitHeadroom = 1.0f;
// How far over the wanted speed a predicted speed may lie before a handle position is refused.
constexpr float SpeedTolerance = 0.5f;
// Standing within this distance of a stand point, the driver holds the full brake.
constexpr double StandHoldDistance = 2.0;
constexpr float StandHoldSpeed = 2.0f;

// The driver looks ahead about a second, in steps of at least a tenth of a second.
constexpr float PredictionSeconds = 1.0f;
constexpr float PredictionStepFloor = 0.1f;

// The walk ahead never reads more segments than this; the shortest segments are 50 m long.
constexpr int MaxSegmentsAhead = 128;

constexpr int32_t HandleFullBrake = 0;
constexpr int32_t HandleReleased = 7;
constexpr int32_t HandleFullPower = 12;

// A surface the driver's clicks are measured against, and the click positions on it.
constexpr int32_t LeverSurfaceSize = 1000;
constexpr double BrakeLeverX = 0.035;
constexpr double ThrottleLeverX = 0.965;
constexpr double BrakePositionY[8] = {0.72, 0.7575, 0.7925, 0.8275, 0.8625, 0.8975, 0.9325, 0.975};
constexpr double ThrottlePositionY[6] = {0.72, 0.7575, 0.7925, 0.8275, 0.8625, 0.94};

void AddRestriction(LineAhead& ahead, int32_t kind, double distance, float speed, int32_t segment)
{
    if (ahead.count >= MaxRestrictionsAhead)
        return;
    ahead.restrictions[ahead.count] = {kind, distance, speed, segment};
    ahead.count += 1;
}

DriverControls HandleControls(int32_t handle)
{
    if (handle > HandleReleased)
        return {handle - HandleReleased, BrakeReleased};
    return {ThrottleClosed, handle + 1};
}

uint16_t LeverPixel(double fraction)
{
    return static_cast<uint16_t>(fraction * LeverSurfaceSize);
}

DriverControls ClickBrakeLever(DriverControls controls, int32_t brake)
{
    return ClickCabLevers(controls, LeverPixel(BrakeLeverX), LeverPixel(BrakePositionY[brake - 1]),
                          LeverSurfaceSize, LeverSurfaceSize);
}

DriverControls ClickThrottleLever(DriverControls controls, int32_t throttle)
{
    return ClickCabLevers(controls, LeverPixel(ThrottleLeverX), LeverPixel(ThrottlePositionY[throttle]),
                          LeverSurfaceSize, LeverSurfaceSize);
}

// The nearest point ahead where the train must stand, or infinity when none is in sight.
double NearestStandPoint(const LineAhead& ahead)
{
    for (int i = 0; i < ahead.count; ++i) {
        const SpeedRestriction& r = ahead.restrictions[i];
        if (r.kind == RestrictionStopSignal || r.kind == RestrictionEndOfTrack)
            return r.distance;
    }
    return std::numeric_limits<double>::infinity();
}

// Whether holding the handle for the prediction time keeps the train under the wanted speed.
bool KeepsUnderAllowedSpeed(const LineAhead& ahead, int32_t limit, float speed, int32_t handle, float predictionStep,
                            int predictionSteps)
{
    DriverControls controls = HandleControls(handle);
    double travelled = 0.0;
    for (int step = 0; step < predictionSteps; ++step) {
        float accel = UnitAcceleration(speed, controls.throttle, controls.brake);
        speed = SpeedAfterStep(speed, accel, predictionStep, false);
        travelled += static_cast<double>(speed / 3.6f * predictionStep);
        if (speed > AllowedSpeedAhead(ahead, limit, travelled) + SpeedTolerance)
            return false;
    }
    return true;
}

}  // namespace

LineAhead ReadLineAhead(const World& world, double sightDistance)
{
    LineAhead ahead;
    const TrainUnit& player = world.trains[world.playerUnit];
    int32_t segment = player.segment;
    if (!IsUsableSegment(world.track, segment))
        return ahead;

    // Distance from the train to the end of the segment it is on.
    double boundary = static_cast<double>(world.track[segment].length) - static_cast<double>(player.segmentDistance);
    for (int walked = 0; walked < MaxSegmentsAhead && boundary < sightDistance; ++walked) {
        int32_t next = NextSegmentForward(world.track, segment);
        if (!IsUsableSegment(world.track, next)) {
            AddRestriction(ahead, RestrictionEndOfTrack, boundary - StopSignalStandOff, 0.0f, 0);
            return ahead;
        }
        // The sign the train will read when it crosses this boundary.
        int32_t sign = SignAheadOf(world.track, segment);
        if (sign == SignStop) {
            AddRestriction(ahead, RestrictionStopSignal, boundary - StopSignalStandOff, 0.0f, next);
            return ahead;
        }
        if (sign == SignDestination) {
            AddRestriction(ahead, RestrictionDestination, boundary + DestinationStopDepth, 0.0f, next);
            return ahead;
        }
        if (sign == SignLimit40) {
            // The last place is kept for the end of what has been read.
            if (ahead.count >= MaxRestrictionsAhead - 1)
                break;
            AddRestriction(ahead, RestrictionLimit, boundary - LimitApproachLead, LimitApproachSpeed, next);
        }
        segment = next;
        boundary += static_cast<double>(world.track[segment].length);
    }
    // A walk cut short within sight leaves the line beyond unknown: the train must be able to
    // stand where the reading ended.
    if (boundary < sightDistance)
        AddRestriction(ahead, RestrictionEndOfSight, boundary, 0.0f, segment);
    return ahead;
}

float AllowedSpeedAhead(const LineAhead& ahead, int32_t limitInForce, double x)
{
    double allowed = static_cast<double>(limitInForce) - LimitHeadroom;
    for (int i = 0; i < ahead.count; ++i) {
        const SpeedRestriction& r = ahead.restrictions[i];
        double remaining = std::max(0.0, r.distance - x);
        double speedThere = static_cast<double>(r.speed) / 3.6;
        // The speed from which planned braking reaches the restriction's speed at its point.
        double braking = std::sqrt(speedThere * speedThere + 2.0 * PlanningDeceleration * remaining) * 3.6;
        allowed = std::min(allowed, braking);
    }
    return static_cast<float>(std::max(0.0, allowed));
}

int32_t ChooseAutopilotHandle(const World& world, float frameStep)
{
    const TrainUnit& player = world.trains[world.playerUnit];
    LineAhead ahead = ReadLineAhead(world, AutopilotSightDistance);

    // Waiting at a signal, or at the end of the track, with the brake on rather than creeping.
    if (NearestStandPoint(ahead) <= StandHoldDistance && player.speed < StandHoldSpeed)
        return HandleFullBrake;

    // Predict with the step the simulation takes, or a tenth of a second when that is finer.
    float predictionStep = std::max(frameStep, PredictionStepFloor);
    int predictionSteps = std::max(1, static_cast<int>(std::ceil(PredictionSeconds / predictionStep)));

    // The most power that keeps the train under the wanted speed for the next second.
    for (int32_t handle = HandleFullPower; handle > HandleFullBrake; --handle) {
        if (KeepsUnderAllowedSpeed(ahead, player.speedLimit, player.speed, handle, predictionStep, predictionSteps))
            return handle;
    }
    return HandleFullBrake;
}

DriverControls MoveHandleTo(DriverControls controls, int32_t handle)
{
    handle = std::clamp(handle, HandleFullBrake, HandleFullPower);
    if (handle > HandleReleased)
        return ClickThrottleLever(controls, handle - HandleReleased);
    if (handle < HandleReleased)
        return ClickBrakeLever(controls, handle + 1);
    // Released without power: close the throttle on its lever, then release the brake on the
    // bottom position of the brake lever, which leaves the throttle alone.
    if (controls.throttle != ThrottleClosed)
        controls = ClickThrottleLever(controls, ThrottleClosed);
    if (controls.brake != BrakeReleased)
        controls = ClickBrakeLever(controls, BrakeReleased);
    return controls;
}

DriverControls AutopilotControls(const World& world, float frameStep)
{
    const TrainUnit& player = world.trains[world.playerUnit];
    DriverControls current = ReadDriverControls(player);
    int32_t handle = ChooseAutopilotHandle(world, frameStep);
    DriverControls wanted = HandleControls(handle);
    // The levers are only touched when the handle has to move.
    if (wanted.throttle == current.throttle && wanted.brake == current.brake)
        return current;
    return MoveHandleTo(current, handle);
}
