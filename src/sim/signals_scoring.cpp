#include "sim/signals_scoring.h"

#include <cstdio>

#include "world/world.h"

namespace {

// Whole seconds each message stays on screen.
constexpr int32_t SpeedingMessageSeconds = 3;
constexpr int32_t StopSignalMessageSeconds = 10;

constexpr int32_t SpeedCheckPoints = 100;
constexpr int32_t StopSignalPoints = 1000;
constexpr int32_t SpeedingTickPoints = 5;
// The tick's own ceiling; the next step brings the score down to ScoreHighest.
constexpr int32_t TickScoreCeiling = 19999;

// The train stands this far before the end of the segment it is put back on.
constexpr float StopSignalSetBack = 20.0f;

// A new limit sign rewards passing it below limit + 5 and charges reaching that speed.
SignOutcome CheckSpeedAtSign(World& world, const TrainUnit& unit)
{
    if (static_cast<float>(unit.speedLimit) + 5.0f <= unit.speed) {
        SetMessage(world, "High speed: -100 points", SpeedingMessageSeconds);
        world.score -= SpeedCheckPoints;
        return OutcomeHighSpeedPenalty;
    }
    world.score += SpeedCheckPoints;
    return OutcomeSpeedReward;
}

// Passing a signal at danger puts the train back before it, stopped with the brake released.
SignOutcome PassStopSignal(World& world, TrainUnit& unit, int32_t leftSegment)
{
    unit.announcedLimit = NoAnnouncedLimit;
    unit.segment = leftSegment;
    unit.segmentDistance = world.track[leftSegment].length - StopSignalSetBack;
    unit.speed = 0.0f;
    unit.brake = BrakeReleased;
    unit.throttle = ThrottleClosed;
    unit.gear = 1;
    unit.soundRate = 0.0f;
    SetMessage(world, "Passing stop-signal: -1000 points", StopSignalMessageSeconds);
    world.score -= StopSignalPoints;
    return OutcomeStopSignalPassed;
}

}  // namespace

void CountSignOutcome(SignTally& tally, SignOutcome outcome)
{
    switch (outcome) {
    case OutcomeSpeedReward:
        tally.speedRewards += 1;
        break;
    case OutcomeHighSpeedPenalty:
        tally.highSpeedPenalties += 1;
        break;
    case OutcomeStopSignalPassed:
        tally.stopSignalsPassed += 1;
        break;
    case OutcomeDestinationReached:
        tally.destinationsReached += 1;
        break;
    default:
        break;
    }
}

void AddSignTally(SignTally& total, const SignTally& step)
{
    total.speedRewards += step.speedRewards;
    total.highSpeedPenalties += step.highSpeedPenalties;
    total.stopSignalsPassed += step.stopSignalsPassed;
    total.destinationsReached += step.destinationsReached;
}

SignOutcome ApplyPlayerSign(World& world, int32_t unitIndex, int32_t sign, int32_t leftSegment)
{
    TrainUnit& unit = world.trains[unitIndex];
    switch (sign) {
    case SignLineSpeed:
        unit.speedLimit = unit.lineSpeed;
        unit.announcedLimit = NoAnnouncedLimit;
        return CheckSpeedAtSign(world, unit);
    case SignStop:
        return PassStopSignal(world, unit, leftSegment);
    case SignLimit40:
        unit.speedLimit = 40;
        unit.announcedLimit = NoAnnouncedLimit;
        return CheckSpeedAtSign(world, unit);
    case SignDestination:
        // Once reached, the run stays reached: the shell announces it once and moves the state
        // on, and a held train cannot enter the segment again anyway.
        if (world.destinationState == 0)
            world.destinationState = 1;
        return OutcomeDestinationReached;
    case SignExpectStop:
        unit.announcedLimit = 0;
        return OutcomeNone;
    case SignExpect40:
        unit.announcedLimit = 40;
        return OutcomeNone;
    case SignExpectLineSpeed:
        unit.speedLimit = unit.lineSpeed;
        unit.announcedLimit = 130;
        return OutcomeNone;
    default:
        // Lamp codes and anything else only the signal drawer knows.
        return OutcomeNone;
    }
}

void LimitScore(World& world)
{
    if (world.score < ScoreLowest)
        world.score = ScoreLowest;
    if (world.score > ScoreHighest)
        world.score = ScoreHighest;
}

void SetMessage(World& world, const char* text, int32_t seconds)
{
    std::snprintf(world.messageText, sizeof world.messageText, "%s", text);
    world.messageSeconds = seconds;
}

ScoreTickOutcome ScoreTick(World& world, bool paused)
{
    if (world.messageSeconds > 0)
        world.messageSeconds -= 1;

    const TrainUnit& player = world.trains[world.playerUnit];
    float speed = player.speed;
    float limit = static_cast<float>(player.speedLimit);

    if (limit - 5.0f < speed && speed < limit + 5.0f) {
        // Driving close to the limit only earns while the game runs.
        if (!paused) {
            world.score += 1;
            if (world.score > TickScoreCeiling)
                world.score = TickScoreCeiling;
        }
        return TickWithinLimit;
    }
    if (speed > limit + 5.0f) {
        // Speeding costs even while paused. A message already showing (a stop signal's, say)
        // holds back the new one and its extra points, not the charge itself.
        if (world.messageSeconds == 0) {
            SetMessage(world, "High speed: -5 points", SpeedingMessageSeconds);
            world.score -= SpeedingTickPoints;
        }
        world.score -= SpeedingTickPoints;
        if (world.score < ScoreLowest)
            world.score = ScoreLowest;
        return TickSpeeding;
    }
    return TickNoChange;
}

void BlinkTick(World& world)
{
    world.signBlinkPhase = 1 - world.signBlinkPhase;
}
