#include "sound/engine_sample.h"

#include <algorithm>
#include <cmath>
#include <vector>

// The railcar's six-cylinder diesel, recorded as one second that loops: 42 firings, seven
// turns of the four-stroke cycle. At the idle rate of 0.5 the player hears 21 firings a second,
// the slow throb of an idling diesel; at full power (rate 1.5 and more) over 60, a hard roar.
//
// Each firing is an exhaust pulse: a sharp rise and a decay that rings in the exhaust pipe,
// a burst of exhaust noise, and the short metallic knock of the injection that makes a diesel
// clatter. The cylinders are not quite equal and no two firings are the same, which gives the
// engine its uneven beat. Every part is laid on a circle of one second, so the last firing's
// tail runs on into the start of the loop and the seam cannot click.

namespace {

constexpr int32_t Cylinders = 6;
constexpr int32_t FiringsPerLoop = 42;
constexpr double LoopSeconds = 1.0;
constexpr double TwoPi = 6.283185307179586;

// How hard each cylinder fires, in firing order: one strong, one weak, the rest in between.
constexpr double CylinderStrength[Cylinders] = {1.0, 0.82, 0.93, 0.88, 0.97, 0.76};

// The exhaust pulse: rise, decay and the ringing of the pipe.
constexpr double PulseRiseSeconds = 0.0012;
constexpr double PulseDecaySeconds = 0.0065;
constexpr double PipeRingHz = 150.0;
constexpr double PipeRingDecaySeconds = 0.012;
// The silencer's own, higher growl.
constexpr double SilencerRingHz = 390.0;
constexpr double SilencerRingDecaySeconds = 0.006;
// The exhaust noise burst, band-limited so it hisses rather than crackles.
constexpr double NoiseDecaySeconds = 0.009;
constexpr double NoiseLowPassHz = 2200.0;
constexpr double NoiseHighPassHz = 200.0;
// The injection knock.
constexpr double KnockHz = 1750.0;
constexpr double KnockDecaySeconds = 0.0016;
constexpr double KnockDelaySeconds = 0.0004;

constexpr double PulseLevel = 1.0;
constexpr double RingLevel = 0.55;
constexpr double SilencerLevel = 0.5;
constexpr double NoiseLevel = 1.1;
constexpr double KnockLevel = 0.28;
// The loudest point of the loop lands here, leaving headroom below the 8-bit limit.
constexpr double PeakLevel = 118.0;

// A small generator of its own for the variations and the noise, so the game's route
// generator is never touched and the table is the same at every build.
struct SampleNoise {
    uint32_t state;

    // Uniform in -1..1.
    double Next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    }
};

// Noise that repeats with the loop: white noise through a band-pass (two low-pass stages, so it
// rumbles rather than hisses, and one high-pass), filtered over two turns so the second turn
// starts where the first one ended.
std::vector<double> LoopedExhaustNoise(SampleNoise& noise)
{
    std::vector<double> band(EngineSampleLength);
    for (double& value : band)
        value = noise.Next();

    // The second turn filters the white noise again; each value is replaced by its filtered
    // value only then, so both turns read the same white noise.
    const double dt = 1.0 / EngineSampleLength;
    const double lowPass = 1.0 - std::exp(-TwoPi * NoiseLowPassHz * dt);
    const double highPass = 1.0 - std::exp(-TwoPi * NoiseHighPassHz * dt);
    double low = 0.0, lowAgain = 0.0, lower = 0.0;
    for (int32_t turn = 0; turn < 2; ++turn) {
        for (int32_t i = 0; i < EngineSampleLength; ++i) {
            low += lowPass * (band[i] - low);
            lowAgain += lowPass * (low - lowAgain);
            lower += highPass * (lowAgain - lower);
            if (turn == 1)
                band[i] = lowAgain - lower;
        }
    }
    double peak = 0.0;
    for (double value : band)
        peak = std::max(peak, std::abs(value));
    for (double& value : band)
        value /= peak;
    return band;
}

struct Firing {
    double time;      // seconds into the loop
    double strength;  // relative loudness
};

std::vector<Firing> PlanFirings(SampleNoise& noise)
{
    std::vector<Firing> firings;
    const double spacing = LoopSeconds / FiringsPerLoop;
    for (int32_t k = 0; k < FiringsPerLoop; ++k) {
        // A few per cent of timing and loudness scatter from one firing to the next.
        double jitter = 0.025 * spacing * noise.Next();
        double scatter = 1.0 + 0.08 * noise.Next();
        double time = k * spacing + jitter;
        if (time < 0.0)
            time += LoopSeconds;
        firings.push_back({time, CylinderStrength[k % Cylinders] * scatter});
    }
    return firings;
}

// A decaying exponential, exp(-t / decaySeconds), stepped one sample at a time.
struct Decay {
    double value;
    double factor;

    Decay(double t, double decaySeconds, double step)
        : value(std::exp(-t / decaySeconds)), factor(std::exp(-step / decaySeconds))
    {
    }
    void Step() { value *= factor; }
};

// sin(2π · hz · t), stepped one sample at a time by turning a unit vector.
struct Oscillator {
    double sine;
    double cosine;
    double stepSine;
    double stepCosine;

    Oscillator(double t, double hz, double step)
        : sine(std::sin(TwoPi * hz * t)), cosine(std::cos(TwoPi * hz * t)), stepSine(std::sin(TwoPi * hz * step)),
          stepCosine(std::cos(TwoPi * hz * step))
    {
    }
    void Step()
    {
        double turnedSine = sine * stepCosine + cosine * stepSine;
        cosine = cosine * stepCosine - sine * stepSine;
        sine = turnedSine;
    }
};

// Adds one firing to the loop, from the first sample at or after it fired until it has died
// away: its exhaust pulse with the ringing of the pipe and the silencer's growl, the injection
// knock, and the envelope of its exhaust noise. The decays and tones are stepped from sample to
// sample rather than evaluated afresh, which keeps a world build quick.
void AddFiring(const Firing& firing, std::vector<double>& wave, std::vector<double>& noiseEnvelope)
{
    const double step = LoopSeconds / EngineSampleLength;
    // A tenth of a second is over eight times the slowest decay (the pipe's ring): by then every
    // part of a firing has fallen below a hundredth of a level step of the table.
    const int32_t samples = static_cast<int32_t>(0.1 / step);
    int32_t first = static_cast<int32_t>(std::ceil(firing.time / step));
    double since = first * step - firing.time;

    Decay rise(since, PulseRiseSeconds, step);
    Decay pulse(since, PulseDecaySeconds, step);
    Decay ring(since, PipeRingDecaySeconds, step);
    Decay growl(since, SilencerRingDecaySeconds, step);
    Decay noise(since, NoiseDecaySeconds, step);
    Oscillator pipe(since, PipeRingHz, step);
    Oscillator silencer(since, SilencerRingHz, step);
    // The knock starts at the first sample after its delay.
    double untilKnock = since > KnockDelaySeconds ? 0.0 : KnockDelaySeconds - since;
    int32_t knockFirst = static_cast<int32_t>(std::ceil(untilKnock / step));
    double knockSince = since + knockFirst * step - KnockDelaySeconds;
    Decay knock(knockSince, KnockDecaySeconds, step);
    Oscillator knockTone(knockSince, KnockHz, step);

    int32_t i = first % EngineSampleLength;
    for (int32_t k = 0; k < samples; ++k, i = (i + 1 == EngineSampleLength ? 0 : i + 1)) {
        double risen = 1.0 - rise.value;
        double value = PulseLevel * risen * pulse.value + RingLevel * risen * ring.value * pipe.sine +
                       SilencerLevel * risen * growl.value * silencer.sine;
        if (k >= knockFirst) {
            value += KnockLevel * knock.value * knockTone.sine;
            knock.Step();
            knockTone.Step();
        }
        wave[i] += firing.strength * value;
        noiseEnvelope[i] += firing.strength * risen * noise.value;
        rise.Step();
        pulse.Step();
        ring.Step();
        growl.Step();
        noise.Step();
        pipe.Step();
        silencer.Step();
    }
}

}  // namespace

void FillEngineSample(EngineSample& sample)
{
    SampleNoise noise = {0x5EED1E5u};
    std::vector<Firing> firings = PlanFirings(noise);
    std::vector<double> exhaustNoise = LoopedExhaustNoise(noise);

    std::vector<double> wave(EngineSampleLength, 0.0);
    std::vector<double> noiseEnvelope(EngineSampleLength, 0.0);
    for (const Firing& firing : firings)
        AddFiring(firing, wave, noiseEnvelope);
    for (int32_t i = 0; i < EngineSampleLength; ++i)
        wave[i] += NoiseLevel * noiseEnvelope[i] * exhaustNoise[i];

    // No offset, and the loudest moment at PeakLevel.
    double mean = 0.0;
    for (double value : wave)
        mean += value;
    mean /= EngineSampleLength;
    double peak = 0.0;
    for (double value : wave)
        peak = std::max(peak, std::abs(value - mean));
    for (int32_t i = 0; i < EngineSampleLength; ++i) {
        long level = std::lround((wave[i] - mean) / peak * PeakLevel);
        sample[i] = static_cast<int32_t>(std::clamp(level, -128L, 127L));
    }
}
