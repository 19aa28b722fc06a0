#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "../scratch_folder.h"
#include "platform/sdl_sound_buffer.h"
#include "shell/app_state.h"
#include "shell/game_flow.h"
#include "sound/engine_sound.h"
#include "world/game_options.h"

// The engine as the player hears it: the real streaming through SDL2's disk audio driver,
// which plays at the speed of a sound card and writes what it plays to a file.

namespace {

struct EngineRun {
    AppState app;
    GameOptions options;
    EngineSound sound;
    bool framesRun = true;  // false while a modal dialog holds the frames
};

// The left channel of what the disk driver played while the game ran for the given seconds,
// streaming once every 10 ms as a game running at 100 frames a second does, and on until the
// driver has played `framesWanted` frames: a loaded machine plays late, so the run waits for the
// frames rather than for the clock (20 s at most). A change to the run comes at its moment.
std::vector<int16_t> RecordEngine(double seconds, double changeAt, const std::function<void(EngineRun&)>& change,
                                  size_t framesWanted)
{
    ScratchFolder folder;
    std::filesystem::path file = folder / "engine.raw";
    EXPECT_FALSE(SDL_WasInit(SDL_INIT_AUDIO)) << "another audio driver is already running in this process";
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);

    EngineRun run;
    std::string whyNot;
    auto openDisk = [&whyNot](const SoundBufferFormat& format) { return CreateSdlSoundBuffer(format, whyNot); };
    run.app.soundEnabled = InitEngineSound(run.sound, openDisk) ? 1 : 0;
    EXPECT_EQ(run.app.soundEnabled, 1) << "the disk audio driver did not open: " << whyNot;

    auto start = std::chrono::steady_clock::now();
    for (;;) {
        double now = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::error_code noSize;
        size_t framesPlayed = std::filesystem::file_size(file, noSize) / 4;
        if ((now >= seconds && framesPlayed >= framesWanted) || now >= 20.0)
            break;
        if (now >= changeAt) {
            change(run);
            changeAt = std::numeric_limits<double>::infinity();
        }
        if (run.framesRun)
            StreamEngineSound(run.sound, 1.0f, EngineAudible(run.app, run.options));
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
    return left;
}

double Rms(const std::vector<int16_t>& samples, size_t from, size_t count)
{
    double energy = 0.0;
    for (size_t i = from; i < from + count; ++i)
        energy += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(energy / static_cast<double>(count));
}

}  // namespace

// Played from the start unless a case says otherwise at its moment; from 0.3 s after it (at most
// 0.2 s is written ahead) the recording must be silent. A dialog's silence must also reach the
// loop the buffer goes on playing by itself while no frame runs (the engine has filled the
// whole three-second loop by then). The moment is counted on the clock: a driver that plays
// late has played less by then, so a late machine cannot fail the check, only a loud one.
TEST(EngineSoundSdl, TheEngineIsHeardUntilMutedPausedSwitchedOffOrSilencedForADialog)
{
    struct Case {
        const char* what;
        double seconds, atSeconds;
        std::function<void(EngineRun&)> change;
        size_t silentFrames;  // from 0.3 s after the change
    };
    const Case cases[] = {
        {"muted with S", 1.8, 1.0, [](EngineRun& run) { run.app.soundOn = 0; }, 11025},
        {"paused", 0.6, 0.0, [](EngineRun& run) { run.app.pauseCount = 1; }, 0},
        {"resuming at the next frame", 0.6, 0.0, [](EngineRun& run) { run.app.pauseCount = 2; }, 0},
        {"sound type Off", 0.6, 0.0, [](EngineRun& run) { run.options.soundType = SoundOff; }, 0},
        {"a dialog", 4.0, 3.3, [](EngineRun& run) {
             run.app.pauseCount = 1;
             SilenceEngineSound(run.sound);
             run.framesRun = false;
         }, 8820},
    };
    for (const Case& c : cases) {
        size_t silentFrom = c.atSeconds == 0.0 ? 0 : static_cast<size_t>((c.atSeconds + 0.3) * 22050);
        std::vector<int16_t> played = RecordEngine(c.seconds, c.atSeconds, c.change, silentFrom + c.silentFrames);
        ASSERT_GT(played.size(), static_cast<size_t>(c.seconds * 0.4 * 22050)) << c.what;
        size_t start = std::find_if(played.begin(), played.end(), [](int16_t s) { return s != 0; }) - played.begin();
        if (c.atSeconds == 0.0) {
            EXPECT_EQ(start, played.size()) << c.what;
            continue;
        }
        ASSERT_LT(start, 11025u) << c.what << ": the engine starts within half a second";
        EXPECT_GT(Rms(played, start, 11025), 2000.0) << c.what << ": a clearly audible engine";
        ASSERT_GE(played.size(), silentFrom + c.silentFrames) << c.what << ": the driver played too little";
        for (size_t i = silentFrom; i < played.size(); ++i)
            ASSERT_EQ(played[i], 0) << c.what << ": frame " << i << " of " << played.size();
    }
}
