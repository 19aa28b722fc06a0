#pragma once
// What the engine sound needs of the sound hardware: one looping buffer that plays on its own
// while the game writes blocks into it ahead of the write cursor. The SDL back end implements
// it for the game; tests use a fake that records the writes.

#include <cstdint>
#include <functional>
#include <memory>

enum SoundResult : int32_t {
    SoundOk = 0,
    SoundFailed = -1,
    // The buffer's memory was taken away (the device was lost); Restore brings it back.
    SoundBufferLost = -2,
};

// PCM as the buffer plays it: interleaved signed 16-bit little-endian frames.
struct SoundBufferFormat {
    int32_t framesPerSecond;
    int32_t channels;
    int32_t bitsPerSample;
    uint32_t bufferBytes;
};

class SoundBuffer {
public:
    virtual ~SoundBuffer() = default;

    // The offset in bytes from which writing is safe: everything before it up to the play
    // position may already be on its way to the speakers.
    virtual SoundResult GetWriteCursor(uint32_t& cursor) = 0;
    // Copies count bytes into the buffer at offset; the region never wraps past its end.
    virtual SoundResult WriteRegion(uint32_t offset, const uint8_t* bytes, uint32_t count) = 0;
    // Fills count bytes at offset with silence.
    virtual SoundResult ClearRegion(uint32_t offset, uint32_t count) = 0;
    virtual SoundResult Restore() = 0;
    // Starts playing from the buffer's start, over and over.
    virtual SoundResult PlayLooping() = 0;
};

// Opens the sound device and creates a buffer of the format; nullptr when there is no device.
using SoundBufferFactory = std::function<std::unique_ptr<SoundBuffer>(const SoundBufferFormat&)>;
