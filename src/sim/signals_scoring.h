#pragma once
// What the line's signs do to the player's train, the score with its limits, the penalty
// message, and the two ticks the cab display runs: the once-per-second score tick and the
// lamp blink.

#include <cstdint>

struct World;

enum SignOutcome : int32_t {
    OutcomeNone = 0,
    OutcomeSpeedReward = 1,        // passed a limit sign within it: +100
    OutcomeHighSpeedPenalty = 2,   // passed a limit sign 5 km/h or more over it: -100
    OutcomeStopSignalPassed = 3,   // put back before the signal: -1000
    OutcomeDestinationReached = 4,
};

// How often each outcome came up, over one step or a whole drive.
struct SignTally {
    int32_t speedRewards = 0;
    int32_t highSpeedPenalties = 0;
    int32_t stopSignalsPassed = 0;
    int32_t destinationsReached = 0;
};

void CountSignOutcome(SignTally& tally, SignOutcome outcome);
void AddSignTally(SignTally& total, const SignTally& step);

enum ScoreTickOutcome : int32_t {
    TickNoChange = 0,
    TickWithinLimit = 1,   // +1, or nothing while paused
    TickSpeeding = 2,      // more than 5 km/h over the limit: -5, and -5 more with a new message
};

// The scores never shown: beyond these the score is held at the bound.
constexpr int32_t ScoreLowest = -9999;
constexpr int32_t ScoreHighest = 9999;

// Applies sign code sign to unit, which has just moved onto a new segment from leftSegment.
// Codes without an effect on the train change nothing.
SignOutcome ApplyPlayerSign(World& world, int32_t unit, int32_t sign, int32_t leftSegment);

// Holds the score within ScoreLowest..ScoreHighest; run after every step that is not paused.
void LimitScore(World& world);

// Shows text for the given whole seconds.
void SetMessage(World& world, const char* text, int32_t seconds);

// Counts the message down and rewards or charges the player's speed against the limit in force.
ScoreTickOutcome ScoreTick(World& world, bool paused);

// Flips the phase of the blinking signal lamps.
void BlinkTick(World& world);
