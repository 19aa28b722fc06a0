#pragma once
// The engine of the player's railcar: the one-second engine sample resampled at the rate the
// simulation sets and streamed, a tenth of a second at a time, into a three-second looping
// buffer just ahead of where the hardware plays. Silence (sound off, paused) is written as
// zero samples while the buffer keeps playing, so the engine comes back at once.

#include <cstdint>
#include <memory>

#include "sound/engine_sample.h"
#include "sound/sound_buffer.h"

// 22050 frames a second, two channels of 16 bits: 88200 bytes a second. The buffer holds 30
// blocks of 2205 frames (0.1 s each), three seconds in all.
constexpr int32_t SoundFramesPerSecond = 22050;
constexpr int32_t SoundBytesPerFrame = 4;
constexpr int32_t SoundBlockFrames = 2205;
constexpr uint32_t SoundBlockBytes = 8820;
constexpr int32_t SoundBlockCount = 30;
constexpr uint32_t SoundBufferBytes = 264600;
constexpr SoundBufferFormat EngineSoundFormat = {SoundFramesPerSecond, 2, 16, SoundBufferBytes};

struct EngineSound {
    std::unique_ptr<SoundBuffer> buffer;  // none: sound is disabled for the whole program run
    EngineSample sample = {};             // filled when the buffer is created
    float samplePhase = 0.0f;             // read position in the engine sample, 0 <= phase < 22050
    int32_t soundBlock = -1;              // the next block to write; -1 before the first write
};

// Fills the engine sample and creates the looping buffer through the factory. False (sound
// stays disabled) when there is no sound device.
bool InitEngineSound(EngineSound& sound, const SoundBufferFactory& createBuffer);

// Writes the next block of the engine sample, read at soundRate samples per frame (the player's
// engine rate), if the hardware has played far enough to make room for it: at most one block per
// call, so the writer stays about one block ahead while frames come ten times a second or more.
// Not audible (sound off, paused) writes zero samples.
void StreamEngineSound(EngineSound& sound, float soundRate, bool audible);

// Clears the whole buffer at once so an interruption is silent at once. Streaming later goes
// on from the same block and sample position.
void SilenceEngineSound(EngineSound& sound);

// Closes the sound device; sound stays disabled.
void ReleaseEngineSound(EngineSound& sound);
