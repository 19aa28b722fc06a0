#include "shell/frame_ticks.h"

#include "sim/signals_scoring.h"

namespace {

constexpr float TickSeconds = 1.0f;
constexpr float BlinkSeconds = 0.4f;
// Below this many frames a second the sound cannot be fed in time and only repeats stale
// blocks; after more than LowRateTicksBeforeCutOff such seconds in a row it is switched off.
constexpr float LowFrameRate = 10.0f;
constexpr int32_t LowRateTicksBeforeCutOff = 10;

// Game times are whole multiples of the step; this absorbs the rounding of those products.
constexpr double GameTimeSlack = 1e-9;
constexpr double GameTickSeconds = 1.0;
constexpr double GameBlinkSeconds = 0.4;

}  // namespace

TicksTaken RunTimerTicks(FrameTicks& ticks, World& world, bool paused, float nowSeconds)
{
    TicksTaken taken;
    ticks.frameCounter += 1;

    float sinceTick = nowSeconds - ticks.lastTickTime;
    if (!ticks.hasTicked || sinceTick > TickSeconds) {
        // The very first tick measures from time zero; a timer still at zero gives no rate.
        ticks.framesPerSecond = sinceTick > 0.0f ? static_cast<float>(ticks.frameCounter) / sinceTick : 0.0f;
        ticks.frameCounter = 0;
        ticks.lastTickTime = nowSeconds;
        ticks.hasTicked = true;

        if (ticks.framesPerSecond < LowFrameRate)
            ticks.lowRateSeconds += 1;
        else
            ticks.lowRateSeconds = 0;
        // The player can switch the sound back on (key S); it goes off again as long as the
        // rate stays low.
        taken.cutSoundOff = ticks.lowRateSeconds > LowRateTicksBeforeCutOff;

        if (ScoreTick(world, paused) == TickSpeeding)
            taken.speedingTicks += 1;
    }

    if (nowSeconds - ticks.lastBlinkTime > BlinkSeconds) {
        ticks.lastBlinkTime = nowSeconds;
        BlinkTick(world);
    }
    return taken;
}

TicksTaken RunGameTimeTicks(FrameTicks& ticks, World& world, bool paused, double gameSeconds)
{
    TicksTaken taken;
    while (gameSeconds + GameTimeSlack >= static_cast<double>(ticks.nextScoreTick) * GameTickSeconds) {
        if (ScoreTick(world, paused) == TickSpeeding)
            taken.speedingTicks += 1;
        ++ticks.nextScoreTick;
    }
    while (gameSeconds + GameTimeSlack >= static_cast<double>(ticks.nextBlinkTick) * GameBlinkSeconds) {
        BlinkTick(world);
        ++ticks.nextBlinkTick;
    }
    return taken;
}
