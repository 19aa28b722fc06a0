#pragma once
// The clocks that run beside the simulation, once every frame: the once-a-second tick that counts
// the message down and scores the player's speed, the lamps' blink, and the frame rate measured
// at every score tick, which cuts the sound off when it stays too low to feed the engine.
//
// The game ticks on the timer, through pauses and from one run to the next, as the player sees
// time pass. A headless run has no timer worth reading: it ticks on game time at whole
// multiples of each period, so that a drive comes out the same on every machine.

#include <cstdint>

struct World;

struct FrameTicks {
    // On the timer, in seconds since the program started.
    int32_t frameCounter = 0;    // frames since the last score tick
    float lastTickTime = 0.0f;
    float lastBlinkTime = 0.0f;
    bool hasTicked = false;      // the first frame always ticks, whatever the timer reads
    float framesPerSecond = 0.0f;  // measured at the last score tick
    int32_t lowRateSeconds = 0;  // score ticks in a row below the lowest rate the sound can live with
    // On game time: the next ticks due, counted in whole periods.
    int64_t nextScoreTick = 1;
    int64_t nextBlinkTick = 1;
};

// What the ticks of one frame did.
struct TicksTaken {
    int32_t speedingTicks = 0;  // score ticks that charged for speeding
    bool cutSoundOff = false;   // the frame rate stayed too low: the engine must go quiet
};

// The ticks due at nowSeconds on the timer.
TicksTaken RunTimerTicks(FrameTicks& ticks, World& world, bool paused, float nowSeconds);

// The ticks due at gameSeconds of game time (every tick passed since the last call).
TicksTaken RunGameTimeTicks(FrameTicks& ticks, World& world, bool paused, double gameSeconds);
