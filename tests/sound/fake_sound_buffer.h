#pragma once
// A sound buffer in memory whose write cursor the test sets, recording every call.

#include <cstdint>
#include <cstring>
#include <vector>

#include "sound/sound_buffer.h"

struct FakeSoundBuffer : SoundBuffer {
    explicit FakeSoundBuffer(uint32_t size) : bytes(size, 0x55) {}

    SoundResult GetWriteCursor(uint32_t& value) override
    {
        value = cursor;
        return cursorResult;
    }
    SoundResult WriteRegion(uint32_t offset, const uint8_t* data, uint32_t count) override
    {
        if (lostWritesLeft > 0 && lostWritesLeft--)
            return SoundBufferLost;
        if (writeResult != SoundOk || offset + count > bytes.size())
            return SoundFailed;
        std::memcpy(bytes.data() + offset, data, count);
        writeOffsets.push_back(offset);
        return SoundOk;
    }
    SoundResult ClearRegion(uint32_t offset, uint32_t count) override
    {
        if (offset + count > bytes.size())
            return SoundFailed;
        std::memset(bytes.data() + offset, 0, count);
        clearedBytes += count;
        return SoundOk;
    }
    SoundResult Restore() override { return restoreCalls += 1, SoundOk; }
    SoundResult PlayLooping() override { return playCalls += 1, SoundOk; }

    // The 16-bit sample of a channel in a frame of the buffer.
    int16_t SampleAt(uint32_t frame, int channel) const
    {
        uint32_t at = frame * 4 + static_cast<uint32_t>(channel) * 2;
        return static_cast<int16_t>(static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8)));
    }

    std::vector<uint8_t> bytes;
    uint32_t cursor = 0, clearedBytes = 0;
    SoundResult cursorResult = SoundOk, writeResult = SoundOk;
    int32_t lostWritesLeft = 0, restoreCalls = 0, playCalls = 0;
    std::vector<uint32_t> writeOffsets;
};
