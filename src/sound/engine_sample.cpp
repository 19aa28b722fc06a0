#include "sound/engine_sample.h"

#include <algorithm>
#include <cmath>

namespace {

// Six cylinders firing 30 times a second: the loop holds exactly 30 firings, so it repeats
// without a click. Each firing is a decaying burst of a few harmonics over a low rumble, and
// the cylinders are not quite equal, which gives the engine its lumpy beat.
constexpr int FiringsPerSecond = 30;
constexpr double CylinderStrength[6] = {1.0, 0.86, 0.94, 0.8, 0.97, 0.9};
constexpr double BurstDecaySeconds = 0.009;
constexpr double TwoPi = 6.283185307179586;

// A fixed hiss for the exhaust: a small generator of its own, so the game's route generator is
// never touched.
double ExhaustHiss(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return static_cast<double>((state >> 9) & 0x3FFF) / 8192.0 - 1.0;
}

}  // namespace

void FillEngineSample(EngineSample& sample)
{
    const double samplesPerFiring = static_cast<double>(EngineSampleLength) / FiringsPerSecond;
    uint32_t hissState = 0x7A6u;
    for (int i = 0; i < EngineSampleLength; ++i) {
        double t = static_cast<double>(i) / EngineSampleLength;
        int firing = static_cast<int>(i / samplesPerFiring);
        double sinceFiring = (i - firing * samplesPerFiring) / EngineSampleLength;
        double envelope = std::exp(-sinceFiring / BurstDecaySeconds) * CylinderStrength[firing % 6];

        double burst = std::sin(TwoPi * 95.0 * sinceFiring) + 0.55 * std::sin(TwoPi * 190.0 * sinceFiring) +
                       0.3 * std::sin(TwoPi * 285.0 * sinceFiring) + 0.25 * ExhaustHiss(hissState);
        double rumble = 0.35 * std::sin(TwoPi * FiringsPerSecond * t) + 0.15 * std::sin(TwoPi * 15.0 * t);

        double value = 70.0 * envelope * burst + 40.0 * rumble;
        sample[i] = static_cast<int32_t>(std::clamp(std::lround(value), -128L, 127L));
    }
}
