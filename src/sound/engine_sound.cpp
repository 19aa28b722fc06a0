#include "sound/engine_sound.h"

#include <array>
#include <cmath>

namespace {

// The write cursor as it stands before block 0 is written again: inside the last block.
constexpr uint32_t LastBlockOffset = SoundBufferBytes - SoundBlockBytes;

// Whether block may be written with the hardware's write cursor at cursor: only once the cursor
// has reached the block before it, so a block is never written while it might still be
// playing, nor more than about a block ahead.
bool IsBlockDue(int32_t block, uint32_t cursor)
{
    if (block < 0)
        return true;
    if (block == 0)
        return cursor >= LastBlockOffset;
    if (block == 1)
        return cursor < LastBlockOffset;
    return cursor >= static_cast<uint32_t>(block - 1) * SoundBlockBytes;
}

// Keeps the read position within the table. The simulation's rates are small and positive, so
// one subtraction does; anything else must still never read outside the table.
float WrapPhase(float phase)
{
    constexpr float length = static_cast<float>(EngineSampleLength);
    if (phase >= length)
        phase -= length;
    if (phase >= 0.0f && phase < length)
        return phase;
    if (!std::isfinite(phase))
        return 0.0f;
    phase = std::fmod(phase, length);
    if (phase < 0.0f)
        phase += length;
    return phase < length ? phase : 0.0f;
}

}  // namespace

bool InitEngineSound(EngineSound& sound, const SoundBufferFactory& createBuffer)
{
    FillEngineSample(sound.sample);
    sound.buffer = createBuffer ? createBuffer(EngineSoundFormat) : nullptr;
    sound.samplePhase = 0.0f;
    sound.soundBlock = -1;
    return sound.buffer != nullptr;
}

void StreamEngineSound(EngineSound& sound, float soundRate, bool audible)
{
    if (!sound.buffer)
        return;

    uint32_t cursor = 0;
    if (sound.buffer->GetWriteCursor(cursor) != SoundOk)
        return;
    // Not yet: the hardware is still playing the block before. Try again next frame.
    if (!IsBlockDue(sound.soundBlock, cursor))
        return;

    std::array<uint8_t, SoundBlockBytes> block;
    float phase = sound.samplePhase;
    for (int32_t frame = 0; frame < SoundBlockFrames; ++frame) {
        int32_t index = static_cast<int32_t>(phase);
        // Only the low byte of an entry is the sample, read as signed 8 bits.
        int8_t value = static_cast<int8_t>(static_cast<uint8_t>(sound.sample[index] & 0xFF));
        if (!audible)
            value = 0;
        // Widened to 16 bits (value × 256: low byte 0, high byte the sample) on both channels.
        uint8_t* bytes = &block[static_cast<size_t>(frame) * SoundBytesPerFrame];
        bytes[0] = 0;
        bytes[1] = static_cast<uint8_t>(value);
        bytes[2] = 0;
        bytes[3] = static_cast<uint8_t>(value);
        phase = WrapPhase(phase + soundRate);
    }

    uint32_t offset = sound.soundBlock < 0 ? 0 : static_cast<uint32_t>(sound.soundBlock) * SoundBlockBytes;
    SoundResult result = sound.buffer->WriteRegion(offset, block.data(), SoundBlockBytes);
    if (result == SoundBufferLost && sound.buffer->Restore() == SoundOk)
        result = sound.buffer->WriteRegion(offset, block.data(), SoundBlockBytes);
    // A block that could not be written is computed again next frame from the same position.
    if (result != SoundOk)
        return;
    sound.samplePhase = phase;

    if (sound.soundBlock < 0) {
        // Block 0 is in place: start the loop and go on with block 1 once the cursor allows.
        sound.buffer->PlayLooping();
        sound.soundBlock = 1;
    } else {
        sound.soundBlock += 1;
    }
    if (sound.soundBlock >= SoundBlockCount)
        sound.soundBlock = 0;
}

void SilenceEngineSound(EngineSound& sound)
{
    if (!sound.buffer)
        return;
    sound.buffer->ClearRegion(0, SoundBufferBytes);
}

void ReleaseEngineSound(EngineSound& sound)
{
    sound.buffer.reset();
}
