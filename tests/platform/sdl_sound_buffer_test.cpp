#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl_sound_buffer.h"
#include "shell/app_state.h"
#include "shell/game_flow.h"
#include "sound/engine_sound.h"
#include "world/game_options.h"
#include "world/world.h"

// The engine as the player hears it: the real streaming through SDL2's disk audio driver,
// which plays at the speed of a sound card and writes what it plays to a file.

namespace {

struct EngineRun {
    std::unique_ptr<World> world = std::make_unique<World>();
    AppState app;
    GameOptions options;
    EngineSound sound;
    bool framesRun = true;  // false while a modal dialog holds the frames
};

// A change to the run at a moment of the recording.
struct RunStep {
    double atSeconds;
    std::function<void(EngineRun&)> change;
};

// The left channel of what the disk driver played while the game ran for the given seconds,
// streaming once every 10 ms as a game running at 100 frames a second does.
std::vector<int16_t> RecordEngine(double seconds, float soundRate, const std::vector<RunStep>& steps = {})
{
    static int recordings = 0;
    std::filesystem::path file = std::filesystem::temp_directory_path() /
                                 ("tagvind_engine_" + std::to_string(::getpid()) + "_" +
                                  std::to_string(recordings++) + ".raw");
    EXPECT_FALSE(SDL_WasInit(SDL_INIT_AUDIO)) << "another audio driver is already running in this process";
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);

    EngineRun run;
    run.world->playerUnit = PlayerUnit;
    run.world->trains[PlayerUnit].soundRate = soundRate;
    std::string whyNot;
    auto openDisk = [&whyNot](const SoundBufferFormat& format) { return CreateSdlSoundBuffer(format, whyNot); };
    run.app.soundEnabled = InitEngineSound(run.sound, openDisk) ? 1 : 0;
    EXPECT_EQ(run.app.soundEnabled, 1) << "the disk audio driver did not open: " << whyNot;

    size_t nextStep = 0;
    auto start = std::chrono::steady_clock::now();
    for (;;) {
        double now = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (now >= seconds)
            break;
        while (nextStep < steps.size() && steps[nextStep].atSeconds <= now)
            steps[nextStep++].change(run);
        if (run.framesRun)
            StreamEngineSound(run.sound, run.world->trains[PlayerUnit].soundRate, EngineAudible(run.app, run.options));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Closing the device stops the driver and closes its file.
    ReleaseEngineSound(run.sound);
    ::unsetenv("SDL_AUDIODRIVER");
    ::unsetenv("SDL_DISKAUDIOFILE");

    std::vector<int16_t> left;
    std::ifstream in(file, std::ios::binary);
    unsigned char frame[4];
    while (in.read(reinterpret_cast<char*>(frame), 4))
        left.push_back(static_cast<int16_t>(static_cast<uint16_t>(frame[0] | (frame[1] << 8))));
    in.close();
    std::filesystem::remove(file);
    return left;
}

size_t FirstSound(const std::vector<int16_t>& samples)
{
    for (size_t i = 0; i < samples.size(); ++i)
        if (samples[i] != 0)
            return i;
    return samples.size();
}

double Rms(const std::vector<int16_t>& samples, size_t from, size_t count)
{
    double energy = 0.0;
    for (size_t i = from; i < from + count; ++i)
        energy += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(energy / static_cast<double>(count));
}

// The repetition period in frames: the first lag between 100 and 2000 at which the window
// correlates with itself nearly as well as at its best.
double RepetitionPeriod(const std::vector<double>& window)
{
    const size_t shortest = 100, longest = 2000;
    const size_t span = window.size() - longest - 1;
    std::vector<double> correlation(longest + 2, 0.0);
    double best = 0.0;
    for (size_t lag = shortest - 1; lag <= longest + 1; ++lag) {
        double sum = 0.0, energyA = 0.0, energyB = 0.0;
        for (size_t i = 0; i < span; ++i) {
            sum += window[i] * window[i + lag];
            energyA += window[i] * window[i];
            energyB += window[i + lag] * window[i + lag];
        }
        correlation[lag] = sum / std::sqrt(energyA * energyB);
        if (lag >= shortest && lag <= longest)
            best = std::max(best, correlation[lag]);
    }
    for (size_t lag = shortest; lag <= longest; ++lag)
        if (correlation[lag] >= 0.85 * best && correlation[lag] >= correlation[lag - 1] &&
            correlation[lag] >= correlation[lag + 1])
            return static_cast<double>(lag);
    return 0.0;
}

std::vector<double> Window(const std::vector<int16_t>& samples, size_t from, size_t count)
{
    return std::vector<double>(samples.begin() + static_cast<std::ptrdiff_t>(from),
                               samples.begin() + static_cast<std::ptrdiff_t>(from + count));
}

}  // namespace

TEST(EngineSoundSdl, DrivingIsHeardAndMutingSilencesItWithinABlockOrTwo)
{
    // A second of engine at rate 1.0, then the player presses S.
    std::vector<int16_t> played =
        RecordEngine(1.8, 1.0f, {{1.0, [](EngineRun& run) { run.app.soundOn = 0; }}});
    ASSERT_GT(played.size(), 22050u);
    size_t start = FirstSound(played);
    ASSERT_LT(start, 11025u) << "the engine starts within half a second";
    EXPECT_GT(Rms(played, start, 11025), 2000.0) << "a clearly audible engine";

    // The pitch is the table's own: the firing period of the sample at rate 1.0.
    auto table = std::make_unique<EngineSample>();
    FillEngineSample(*table);
    std::vector<double> tableLoop;
    for (int repeat = 0; repeat < 2; ++repeat)
        for (int32_t value : *table)
            tableLoop.push_back(value);
    double tablePeriod = RepetitionPeriod(Window(std::vector<int16_t>(tableLoop.begin(), tableLoop.end()), 0, 15000));
    double playedPeriod = RepetitionPeriod(Window(played, start + 2205, 15000));
    EXPECT_NEAR(playedPeriod, tablePeriod, tablePeriod * 0.02);

    // Muted at 1.0 s, with at most 0.2 s written ahead: the last half second is silent.
    size_t lastHalfSecond = played.size() - 11025;
    for (size_t i = lastHalfSecond; i < played.size(); ++i)
        ASSERT_EQ(played[i], 0) << "frame " << i << " of " << played.size();
}

TEST(EngineSoundSdl, PitchFollowsTheSoundRate)
{
    std::vector<int16_t> slow = RecordEngine(1.0, 1.0f);
    std::vector<int16_t> fast = RecordEngine(1.0, 2.0f);
    size_t slowStart = FirstSound(slow), fastStart = FirstSound(fast);
    ASSERT_LT(slowStart + 2205 + 12000, slow.size());
    ASSERT_LT(fastStart + 2205 + 12000, fast.size());
    double slowPeriod = RepetitionPeriod(Window(slow, slowStart + 2205, 12000));
    double fastPeriod = RepetitionPeriod(Window(fast, fastStart + 2205, 12000));
    ASSERT_GT(fastPeriod, 0.0);
    // Twice the rate: the firings come twice as often.
    EXPECT_NEAR(slowPeriod / fastPeriod, 2.0, 0.1) << slowPeriod << " and " << fastPeriod << " frames";
}

TEST(EngineSoundSdl, PausedOrSwitchedOffTheBufferPlaysSilence)
{
    struct Case {
        const char* what;
        std::function<void(EngineRun&)> setUp;
    };
    const Case cases[] = {
        {"paused", [](EngineRun& run) { run.app.pauseCount = 1; }},
        {"muted with S", [](EngineRun& run) { run.app.soundOn = 0; }},
        {"sound type Off", [](EngineRun& run) { run.options.soundType = SoundOff; }},
    };
    for (const Case& c : cases) {
        std::vector<int16_t> played = RecordEngine(0.6, 1.0f, {{0.0, c.setUp}});
        ASSERT_GT(played.size(), 5000u) << c.what;
        EXPECT_EQ(FirstSound(played), played.size()) << c.what;
    }
}

TEST(EngineSoundSdl, SilencedBeforeADialogTheLoopPlaysNoStaleEngine)
{
    // The start menu opens: the shell silences the engine, and no frame runs while the dialog
    // is open, so nothing is streamed; the buffer goes on looping by itself. The engine has run
    // long enough to fill the whole three-second loop first.
    std::vector<int16_t> played = RecordEngine(4.0, 1.0f, {{3.3, [](EngineRun& run) {
                                                                run.app.pauseCount = 1;
                                                                SilenceEngineSound(run.sound);
                                                                run.framesRun = false;
                                                            }}});
    size_t start = FirstSound(played);
    ASSERT_LT(start, played.size());
    // What the device had taken before the silence (a callback's worth) has long played out.
    for (size_t i = played.size() - 8820; i < played.size(); ++i)
        ASSERT_EQ(played[i], 0) << "frame " << i << " of " << played.size();
}
