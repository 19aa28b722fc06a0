#pragma once
// A sound buffer in memory whose write cursor the test sets, recording every call.

#include <cstdint>
#include <cstring>
#include <memory>
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
        writeAttempts += 1;
        if (lostWritesLeft > 0) {
            lostWritesLeft -= 1;
            return SoundBufferLost;
        }
        if (writeResult != SoundOk)
            return writeResult;
        if (offset + count > bytes.size())
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
        clears.push_back({offset, count});
        return SoundOk;
    }
    SoundResult Restore() override
    {
        restoreCalls += 1;
        return restoreResult;
    }
    SoundResult PlayLooping() override
    {
        playCalls += 1;
        return SoundOk;
    }

    // The 16-bit sample of a channel in a frame of the buffer.
    int16_t SampleAt(uint32_t frame, int channel) const
    {
        uint32_t at = frame * 4 + static_cast<uint32_t>(channel) * 2;
        return static_cast<int16_t>(static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8)));
    }

    struct Clear {
        uint32_t offset, count;
    };

    std::vector<uint8_t> bytes;
    uint32_t cursor = 0;
    SoundResult cursorResult = SoundOk;
    SoundResult writeResult = SoundOk;
    SoundResult restoreResult = SoundOk;
    int32_t lostWritesLeft = 0;
    int32_t writeAttempts = 0;
    int32_t restoreCalls = 0;
    int32_t playCalls = 0;
    std::vector<uint32_t> writeOffsets;
    std::vector<Clear> clears;
};
