#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "fake_sound_buffer.h"
#include "sound/engine_sound.h"

namespace {

// An engine sound on a fake buffer, with a table whose entries are easy to tell apart: entry
// i holds (i mod 251) - 125, so neighbouring entries differ.
struct SoundFixture {
    SoundFixture()
    {
        InitEngineSound(sound, [this](const SoundBufferFormat& format) {
            auto created = std::make_unique<FakeSoundBuffer>(format.bufferBytes);
            buffer = created.get();
            return created;
        });
        for (int32_t i = 0; i < EngineSampleLength; ++i)
            sound.sample[i] = EntryValue(i);
    }

    static int32_t EntryValue(int32_t i) { return i % 251 - 125; }

    void Stream(float rate, bool audible = true) { StreamEngineSound(sound, rate, audible); }

    EngineSound sound;
    FakeSoundBuffer* buffer = nullptr;
};

bool BlockIsSilent(const FakeSoundBuffer& buffer, int32_t block)
{
    for (uint32_t i = 0; i < SoundBlockBytes; ++i)
        if (buffer.bytes[static_cast<size_t>(block) * SoundBlockBytes + i] != 0)
            return false;
    return true;
}

}  // namespace

TEST(EngineSound, InitCreatesAThreeSecondBufferOf22050HzStereo16Bit)
{
    SoundBufferFormat asked = {};
    EngineSound sound;
    EXPECT_TRUE(InitEngineSound(sound, [&](const SoundBufferFormat& format) {
        asked = format;
        return std::make_unique<FakeSoundBuffer>(format.bufferBytes);
    }));
    EXPECT_EQ(asked.framesPerSecond, 22050);
    EXPECT_EQ(asked.channels, 2);
    EXPECT_EQ(asked.bitsPerSample, 16);
    EXPECT_EQ(asked.bufferBytes, 264600u);
    EXPECT_EQ(sound.soundBlock, -1);
    EXPECT_EQ(sound.samplePhase, 0.0f);

    // No device: sound stays disabled and every call does nothing.
    EngineSound none;
    EXPECT_FALSE(InitEngineSound(none, [](const SoundBufferFormat&) { return std::unique_ptr<SoundBuffer>(); }));
    StreamEngineSound(none, 1.0f, true);
    SilenceEngineSound(none);
    EXPECT_EQ(none.soundBlock, -1);
}

TEST(EngineSound, FirstCallWritesBlockZeroAndStartsTheLoop)
{
    SoundFixture fixture;
    fixture.buffer->cursor = 123456;  // wherever a stopped buffer reports
    fixture.Stream(1.0f);
    ASSERT_EQ(fixture.buffer->writeOffsets, (std::vector<uint32_t>{0}));
    EXPECT_EQ(fixture.buffer->playCalls, 1);
    EXPECT_EQ(fixture.sound.soundBlock, 1);
    // Later blocks never start the loop again.
    fixture.buffer->cursor = 0;
    fixture.Stream(1.0f);
    EXPECT_EQ(fixture.buffer->playCalls, 1);
    EXPECT_EQ(fixture.buffer->writeOffsets, (std::vector<uint32_t>{0, 8820}));
    EXPECT_EQ(fixture.sound.soundBlock, 2);
}

TEST(EngineSound, BlocksWaitForTheWriteCursor)
{
    struct Case {
        int32_t block;
        uint32_t cursor;
        bool writes;
    };
    const Case cases[] = {
        // Block 0 comes once the cursor is in the last block.
        {0, 0, false},
        {0, 255779, false},
        {0, 255780, true},
        {0, 264599, true},
        // Block 1 once the cursor has left the last block.
        {1, 255780, false},
        {1, 264599, false},
        {1, 255779, true},
        {1, 0, true},
        // Block n once the cursor has reached block n - 1.
        {2, 8819, false},
        {2, 8820, true},
        {5, 35279, false},
        {5, 35280, true},
        {5, 200000, true},
        {29, 246959, false},
        {29, 246960, true},
    };
    for (const Case& c : cases) {
        SoundFixture fixture;
        fixture.sound.soundBlock = c.block;
        fixture.buffer->cursor = c.cursor;
        fixture.Stream(1.0f);
        if (c.writes) {
            ASSERT_EQ(fixture.buffer->writeOffsets.size(), 1u) << "block " << c.block << " cursor " << c.cursor;
            EXPECT_EQ(fixture.buffer->writeOffsets[0], static_cast<uint32_t>(c.block) * 8820u);
            EXPECT_EQ(fixture.sound.soundBlock, (c.block + 1) % 30) << "block " << c.block;
            EXPECT_EQ(fixture.sound.samplePhase, 2205.0f);
        } else {
            EXPECT_TRUE(fixture.buffer->writeOffsets.empty()) << "block " << c.block << " cursor " << c.cursor;
            EXPECT_EQ(fixture.sound.soundBlock, c.block);
            EXPECT_EQ(fixture.sound.samplePhase, 0.0f);
        }
        EXPECT_EQ(fixture.buffer->playCalls, 0);
    }
}

TEST(EngineSound, ACursorThatCannotBeReadSkipsTheFrame)
{
    SoundFixture fixture;
    fixture.buffer->cursorResult = SoundFailed;
    fixture.Stream(1.0f);
    EXPECT_EQ(fixture.buffer->writeAttempts, 0);
    EXPECT_EQ(fixture.sound.soundBlock, -1);
    EXPECT_EQ(fixture.buffer->playCalls, 0);
}

TEST(EngineSound, WritesEachEntryAsSixteenBitsOnBothChannels)
{
    SoundFixture fixture;
    // Only the low byte counts: 0x1FF reads as -1, 0x80 as -128, 127 stays 127.
    fixture.sound.sample[0] = 0x1FF;
    fixture.sound.sample[1] = 0x80;
    fixture.sound.sample[2] = 127;
    fixture.sound.sample[3] = -128;
    fixture.Stream(1.0f);
    const int16_t expected[4] = {-256, -128 * 256, 127 * 256, -128 * 256};
    for (uint32_t frame = 0; frame < 4; ++frame) {
        EXPECT_EQ(fixture.buffer->SampleAt(frame, 0), expected[frame]) << "frame " << frame;
        EXPECT_EQ(fixture.buffer->SampleAt(frame, 1), expected[frame]) << "frame " << frame;
        EXPECT_EQ(fixture.buffer->bytes[frame * 4], 0);
    }
}

TEST(EngineSound, RateOnePlaysTheTableOncePerSecondAndHalfRateInTwo)
{
    SoundFixture full;
    // Ten blocks are one second: every entry once, in order, and back to the start.
    for (int32_t block = 0; block < 10; ++block) {
        full.buffer->cursor = block == 0 ? 0 : static_cast<uint32_t>(block) * 8820u;
        full.Stream(1.0f);
    }
    ASSERT_EQ(full.buffer->writeOffsets.size(), 10u);
    for (uint32_t frame = 0; frame < 22050; ++frame)
        ASSERT_EQ(full.buffer->SampleAt(frame, 0), SoundFixture::EntryValue(static_cast<int32_t>(frame)) * 256)
            << "frame " << frame;
    EXPECT_EQ(full.sound.samplePhase, 0.0f);

    SoundFixture half;
    for (int32_t block = 0; block < 20; ++block) {
        half.buffer->cursor = block == 0 ? 0 : static_cast<uint32_t>(block) * 8820u;
        half.Stream(0.5f);
    }
    ASSERT_EQ(half.buffer->writeOffsets.size(), 20u);
    // Two seconds for one pass: every entry twice.
    for (uint32_t frame = 0; frame < 44100; ++frame)
        ASSERT_EQ(half.buffer->SampleAt(frame, 1), SoundFixture::EntryValue(static_cast<int32_t>(frame / 2)) * 256)
            << "frame " << frame;
    EXPECT_EQ(half.sound.samplePhase, 0.0f);
}

TEST(EngineSound, PhaseWrapsKeepingItsFraction)
{
    SoundFixture fixture;
    fixture.sound.samplePhase = 22049.5f;
    fixture.Stream(0.75f);
    // Frame 0 reads the last entry, frame 1 (phase 0.25 after the wrap) the first.
    EXPECT_EQ(fixture.buffer->SampleAt(0, 0), SoundFixture::EntryValue(22049) * 256);
    EXPECT_EQ(fixture.buffer->SampleAt(1, 0), SoundFixture::EntryValue(0) * 256);
    EXPECT_EQ(fixture.buffer->SampleAt(2, 0), SoundFixture::EntryValue(1) * 256);
    // 22049.5 + 2205 × 0.75 - 22050
    EXPECT_EQ(fixture.sound.samplePhase, 1653.25f);
}

TEST(EngineSound, RatesOutsideTheSimulationsRangeStayInsideTheTable)
{
    for (float rate : {-3.0f, 30000.0f, 1.0e9f, std::nanf("")}) {
        SoundFixture fixture;
        fixture.sound.samplePhase = 100.0f;
        fixture.Stream(rate);
        EXPECT_GE(fixture.sound.samplePhase, 0.0f) << rate;
        EXPECT_LT(fixture.sound.samplePhase, 22050.0f) << rate;
    }
}

TEST(EngineSound, ALostBufferIsRestoredAndTheBlockWritten)
{
    SoundFixture fixture;
    fixture.buffer->lostWritesLeft = 1;
    fixture.Stream(1.0f);
    EXPECT_EQ(fixture.buffer->restoreCalls, 1);
    EXPECT_EQ(fixture.buffer->writeOffsets, (std::vector<uint32_t>{0}));
    EXPECT_EQ(fixture.sound.soundBlock, 1);
    EXPECT_EQ(fixture.buffer->playCalls, 1);

    // Lost again straight after the restore: the block waits for the next frame, and is then
    // made from the same place in the table.
    SoundFixture again;
    again.buffer->lostWritesLeft = 2;
    again.Stream(1.0f);
    EXPECT_EQ(again.buffer->restoreCalls, 1);
    EXPECT_TRUE(again.buffer->writeOffsets.empty());
    EXPECT_EQ(again.sound.soundBlock, -1);
    EXPECT_EQ(again.sound.samplePhase, 0.0f);
    EXPECT_EQ(again.buffer->playCalls, 0);
    again.Stream(1.0f);
    EXPECT_EQ(again.buffer->writeOffsets, (std::vector<uint32_t>{0}));
    EXPECT_EQ(again.buffer->SampleAt(0, 0), SoundFixture::EntryValue(0) * 256);

    // Any other failure skips the block without a restore.
    SoundFixture failing;
    failing.buffer->writeResult = SoundFailed;
    failing.Stream(1.0f);
    EXPECT_EQ(failing.buffer->restoreCalls, 0);
    EXPECT_EQ(failing.sound.soundBlock, -1);
}

TEST(EngineSound, SilenceClearsTheWholeBufferAndStreamingGoesOnWhereItWas)
{
    SoundFixture fixture;
    fixture.Stream(1.25f);
    fixture.buffer->cursor = 0;
    fixture.Stream(1.25f);
    ASSERT_FALSE(BlockIsSilent(*fixture.buffer, 0));
    int32_t block = fixture.sound.soundBlock;
    float phase = fixture.sound.samplePhase;

    SilenceEngineSound(fixture.sound);
    ASSERT_EQ(fixture.buffer->clears.size(), 1u);
    EXPECT_EQ(fixture.buffer->clears[0].offset, 0u);
    EXPECT_EQ(fixture.buffer->clears[0].count, 264600u);
    for (int32_t b = 0; b < 30; ++b)
        EXPECT_TRUE(BlockIsSilent(*fixture.buffer, b)) << "block " << b;
    EXPECT_EQ(fixture.sound.soundBlock, block);
    EXPECT_EQ(fixture.sound.samplePhase, phase);
    EXPECT_EQ(fixture.buffer->playCalls, 1);
}
