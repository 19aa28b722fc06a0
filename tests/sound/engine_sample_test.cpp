#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "sound/engine_sample.h"

namespace {

// The table with its offset removed, the way a loudspeaker plays it.
std::vector<double> Centred(const EngineSample& sample)
{
    double mean = 0.0;
    for (int32_t value : sample)
        mean += value / double(EngineSampleLength);
    std::vector<double> centred;
    for (int32_t value : sample)
        centred.push_back(value - mean);
    return centred;
}

// Normalised autocorrelation of the looping table at lag (the table wraps around).
double LoopAutocorrelation(const std::vector<double>& centred, int32_t lag)
{
    double sum = 0.0, energy = 0.0;
    for (int32_t i = 0; i < EngineSampleLength; ++i) {
        sum += centred[i] * centred[(i + lag) % EngineSampleLength];
        energy += centred[i] * centred[i];
    }
    return sum / energy;
}

}  // namespace

TEST(EngineSample, FillsTheSameLoudSignedBytesEveryTimeAndLoopsWithoutAClick)
{
    auto first = std::make_unique<EngineSample>(), second = std::make_unique<EngineSample>();
    first->fill(0);
    second->fill(12345);
    FillEngineSample(*first);
    FillEngineSample(*second);
    EXPECT_EQ(*first, *second) << "the table must not depend on what it held before";
    // Eight-bit sound has little room: a quiet table drowns in its own rounding, a clipped one
    // crackles.
    double energy = 0.0;
    int32_t loudest = 0, clipped = 0;
    std::vector<int32_t> steps;
    for (int32_t i = 0; i < EngineSampleLength; ++i) {
        int32_t value = (*first)[i];
        ASSERT_TRUE(value >= -128 && value <= 127) << i;
        energy += double(value) * value;
        loudest = std::max(loudest, std::abs(value));
        clipped += value == 127 || value == -128;
        if (i + 1 < EngineSampleLength)
            steps.push_back(std::abs((*first)[i + 1] - value));
    }
    EXPECT_GT(std::sqrt(energy / EngineSampleLength), 20.0);
    EXPECT_GE(loudest, 90);
    EXPECT_LT(clipped, EngineSampleLength / 200);
    std::sort(steps.begin(), steps.end());
    EXPECT_LE(std::abs((*first)[0] - (*first)[EngineSampleLength - 1]), steps[steps.size() * 95 / 100])
        << "the jump from the last entry back to the first";
}

TEST(EngineSample, BeatsAtADieselsFiringRateWithPlentyOfHarmonics)
{
    auto sample = std::make_unique<EngineSample>();
    FillEngineSample(*sample);
    std::vector<double> centred = Centred(*sample);
    // The firing period: the first lag between 10 and 100 firings a second at which the loop
    // repeats nearly as well as at its best, so a period of two or three firings does not
    // hide the firing itself.
    const int32_t shortest = EngineSampleLength / 100, longest = EngineSampleLength / 10;
    std::vector<double> correlation(longest + 2);
    for (int32_t lag = shortest - 1; lag <= longest + 1; ++lag)
        correlation[lag] = LoopAutocorrelation(centred, lag);
    double best = *std::max_element(correlation.begin() + shortest, correlation.begin() + longest + 1);
    int32_t period = shortest;
    while (period <= longest && !(correlation[period] >= 0.85 * best && correlation[period] >= correlation[period - 1] &&
                                  correlation[period] >= correlation[period + 1]))
        ++period;
    ASSERT_LE(period, longest);
    // Played at half speed when idling and at up to about one and three quarters at speed, a
    // firing rate of 20 to 60 a second becomes the 10 to 100 beats of a railcar diesel.
    double firingsPerSecond = double(EngineSampleLength) / period;
    EXPECT_TRUE(firingsPerSecond >= 20.0 && firingsPerSecond <= 60.0) << firingsPerSecond;
    EXPECT_GT(correlation[period], 0.5) << "the firings repeat clearly";
    // Sharp pulses rather than a hum: much of the energy lies above the third harmonic of the
    // firing rate. The table is one second long, so component k lies at k hertz; by Parseval
    // the energy below is the sum of those components.
    double total = 0.0, below = 0.0;
    for (double value : centred)
        total += value * value;
    for (int32_t k = 1; k < int32_t(3.5 * firingsPerSecond); ++k) {
        double re = 0.0, im = 0.0;
        for (int32_t i = 0; i < EngineSampleLength; ++i) {
            re += centred[i] * std::cos(6.283185307179586 * k * i / EngineSampleLength);
            im -= centred[i] * std::sin(6.283185307179586 * k * i / EngineSampleLength);
        }
        below += 2.0 * (re * re + im * im) / EngineSampleLength;
    }
    EXPECT_GT(1.0 - below / total, 0.3) << "firing rate " << firingsPerSecond;
}
