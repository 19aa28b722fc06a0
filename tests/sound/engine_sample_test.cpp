#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "sound/engine_sample.h"

namespace {

// Normalised autocorrelation of the looping table at lag (the table wraps around).
double LoopAutocorrelation(const EngineSample& sample, int32_t lag)
{
    double mean = 0.0;
    for (int32_t value : sample)
        mean += value;
    mean /= EngineSampleLength;
    double sum = 0.0, energy = 0.0;
    for (int32_t i = 0; i < EngineSampleLength; ++i) {
        double a = sample[i] - mean;
        double b = sample[(i + lag) % EngineSampleLength] - mean;
        sum += a * b;
        energy += a * a;
    }
    return sum / energy;
}

}  // namespace

TEST(EngineSample, FillsEveryEntryWithASignedByteTheSameWayEveryTime)
{
    auto first = std::make_unique<EngineSample>();
    auto second = std::make_unique<EngineSample>();
    first->fill(0);
    second->fill(12345);
    FillEngineSample(*first);
    FillEngineSample(*second);
    EXPECT_EQ(*first, *second) << "the table must not depend on what it held before";
    for (int32_t i = 0; i < EngineSampleLength; ++i) {
        ASSERT_GE((*first)[i], -128) << i;
        ASSERT_LE((*first)[i], 127) << i;
    }
}

TEST(EngineSample, IsLoudEnoughToHear)
{
    auto sample = std::make_unique<EngineSample>();
    FillEngineSample(*sample);
    double energy = 0.0;
    int32_t loudest = 0;
    for (int32_t value : *sample) {
        energy += static_cast<double>(value) * value;
        loudest = std::max(loudest, std::abs(value));
    }
    double rms = std::sqrt(energy / EngineSampleLength);
    // Eight-bit sound has little room: a quiet table drowns in its own rounding, a clipped one
    // crackles.
    EXPECT_GT(rms, 20.0);
    EXPECT_GE(loudest, 90);
    int32_t clipped = 0;
    for (int32_t value : *sample)
        clipped += value == 127 || value == -128;
    EXPECT_LT(clipped, EngineSampleLength / 200);
}

TEST(EngineSample, LoopsWithoutAClick)
{
    auto sample = std::make_unique<EngineSample>();
    FillEngineSample(*sample);
    std::vector<int32_t> steps;
    for (int32_t i = 0; i + 1 < EngineSampleLength; ++i)
        steps.push_back(std::abs((*sample)[i + 1] - (*sample)[i]));
    std::sort(steps.begin(), steps.end());
    int32_t typicalLargeStep = steps[steps.size() * 95 / 100];
    int32_t seam = std::abs((*sample)[0] - (*sample)[EngineSampleLength - 1]);
    EXPECT_LE(seam, typicalLargeStep) << "the jump from the last entry back to the first";
}

// The firing period: the first lag between 10 and 100 firings a second at which the loop
// repeats nearly as well as at its best, so a period of two or three firings does not hide
// the firing itself.
int32_t FiringPeriod(const EngineSample& sample)
{
    const int32_t shortest = EngineSampleLength / 100;
    const int32_t longest = EngineSampleLength / 10;
    std::vector<double> correlation(longest + 2);
    double best = -1.0;
    for (int32_t lag = shortest - 1; lag <= longest + 1; ++lag) {
        correlation[lag] = LoopAutocorrelation(sample, lag);
        if (lag >= shortest && lag <= longest)
            best = std::max(best, correlation[lag]);
    }
    for (int32_t lag = shortest; lag <= longest; ++lag)
        if (correlation[lag] >= 0.85 * best && correlation[lag] >= correlation[lag - 1] &&
            correlation[lag] >= correlation[lag + 1])
            return lag;
    return 0;
}

// Share of the table's energy (offset removed) in whole-hertz components from fromHz on.
double EnergyShareFrom(const EngineSample& sample, int32_t fromHz)
{
    double mean = 0.0;
    for (int32_t value : sample)
        mean += value;
    mean /= EngineSampleLength;
    double total = 0.0;
    for (int32_t value : sample)
        total += (value - mean) * (value - mean);
    // The table is one second long, so component k lies at k hertz; by Parseval the energy
    // below fromHz is the sum of those components.
    double below = 0.0;
    for (int32_t k = 1; k < fromHz; ++k) {
        double re = 0.0, im = 0.0;
        for (int32_t i = 0; i < EngineSampleLength; ++i) {
            double angle = 6.283185307179586 * k * i / EngineSampleLength;
            re += (sample[i] - mean) * std::cos(angle);
            im -= (sample[i] - mean) * std::sin(angle);
        }
        below += 2.0 * (re * re + im * im) / EngineSampleLength;
    }
    return 1.0 - below / total;
}

TEST(EngineSample, BeatsAtADieselsFiringRateWithPlentyOfHarmonics)
{
    auto sample = std::make_unique<EngineSample>();
    FillEngineSample(*sample);
    int32_t period = FiringPeriod(*sample);
    ASSERT_GT(period, 0);
    double firingsPerSecond = static_cast<double>(EngineSampleLength) / period;
    // Played at half speed when idling and at up to about one and three quarters at speed, a
    // firing rate of 20 to 60 a second becomes the 10 to 100 beats of a railcar diesel.
    EXPECT_GE(firingsPerSecond, 20.0);
    EXPECT_LE(firingsPerSecond, 60.0);
    EXPECT_GT(LoopAutocorrelation(*sample, period), 0.5) << "the firings repeat clearly";
    // Sharp pulses rather than a hum: much of the sound lies above the third harmonic of the
    // firing rate, where small loudspeakers can play it.
    double share = EnergyShareFrom(*sample, static_cast<int32_t>(3.5 * firingsPerSecond));
    EXPECT_GT(share, 0.3) << "firing rate " << firingsPerSecond;
}
