#include <gtest/gtest.h>

#include <memory>

#include "fake_sound_buffer.h"
#include "sound/engine_sound.h"

namespace {

// An engine sound on a fake buffer, with a table whose neighbouring entries differ: entry i
// holds (i mod 251) - 125.
struct SoundFixture {
    SoundFixture()
    {
        InitEngineSound(sound, [this](const SoundBufferFormat& format) {
            auto created = std::make_unique<FakeSoundBuffer>(format.bufferBytes);
            buffer = created.get();
            return created;
        });
        for (int32_t i = 0; i < EngineSampleLength; ++i)
            sound.sample[i] = i % 251 - 125;
    }

    // The 16-bit sample entry i becomes.
    static int16_t Entry(int32_t i) { return int16_t((i % 251 - 125) * 256); }

    // Streams with the write cursor just inside the block before the one that is due.
    void StreamNextBlock(float rate, bool audible = true)
    {
        buffer->cursor = sound.soundBlock <= 0 ? 0 : uint32_t(sound.soundBlock - 1) * SoundBlockBytes;
        StreamEngineSound(sound, rate, audible);
    }

    EngineSound sound;
    FakeSoundBuffer* buffer = nullptr;
};

}  // namespace

TEST(EngineSound, BlocksWaitForTheWriteCursorAndTheFirstStartsTheLoop)
{
    // Block -1 (the first) comes at once; block 0 once the cursor is in the last block; block 1
    // once it has left the last block; block n once it has reached block n - 1.
    struct Case {
        int32_t block;
        uint32_t cursor;
        bool writes;
    };
    const Case cases[] = {{-1, 123456, true}, {0, 0, false},      {0, 255779, false}, {0, 255780, true},
                          {0, 264599, true},  {1, 255780, false}, {1, 264599, false}, {1, 255779, true},
                          {1, 0, true},       {2, 8819, false},   {2, 8820, true},    {5, 35279, false},
                          {5, 35280, true},   {5, 200000, true},  {29, 246959, false}, {29, 246960, true}};
    for (const Case& c : cases) {
        SoundFixture fixture;
        fixture.sound.soundBlock = c.block;
        fixture.buffer->cursor = c.cursor;
        StreamEngineSound(fixture.sound, 1.0f, true);
        SCOPED_TRACE(testing::Message() << "block " << c.block << " cursor " << c.cursor);
        EXPECT_EQ(fixture.buffer->writeOffsets,
                  c.writes ? std::vector<uint32_t>{uint32_t(std::max(c.block, 0)) * 8820u} : std::vector<uint32_t>{});
        EXPECT_EQ(fixture.sound.soundBlock, c.writes ? (c.block < 0 ? 1 : (c.block + 1) % 30) : c.block);
        EXPECT_EQ(fixture.sound.samplePhase, c.writes ? 2205.0f : 0.0f);
        EXPECT_EQ(fixture.buffer->playCalls, c.block < 0 ? 1 : 0);
    }
    // A cursor that cannot be read skips the frame.
    SoundFixture unreadable;
    unreadable.buffer->cursorResult = SoundFailed;
    StreamEngineSound(unreadable.sound, 1.0f, true);
    EXPECT_TRUE(unreadable.buffer->writeOffsets.empty());
    EXPECT_EQ(std::make_pair(unreadable.sound.soundBlock, unreadable.buffer->playCalls), std::make_pair(-1, 0));

    // A lost buffer is restored and the block written again; lost twice, the frame is skipped
    // and the same block comes again next frame.
    for (int32_t lost : {1, 2}) {
        SoundFixture fixture;
        fixture.buffer->lostWritesLeft = lost;
        StreamEngineSound(fixture.sound, 1.0f, true);
        SCOPED_TRACE(testing::Message() << "lost " << lost << " times");
        EXPECT_EQ(fixture.buffer->restoreCalls, 1);
        EXPECT_EQ(fixture.buffer->writeOffsets.size(), lost == 1 ? 1u : 0u);
        EXPECT_EQ(fixture.sound.soundBlock, lost == 1 ? 1 : -1);
        EXPECT_EQ(fixture.sound.samplePhase, lost == 1 ? 2205.0f : 0.0f);
    }
}

TEST(EngineSound, PlaysTheTableAtTheRateAsSixteenBitsOnBothChannels)
{
    // Ten blocks are one second: at rate 1 every entry once, in order, and back to the start;
    // at rate 0.5 every entry twice in two seconds.
    for (float rate : {1.0f, 0.5f}) {
        SoundFixture fixture;
        for (int32_t block = 0; block < 10; ++block)
            fixture.StreamNextBlock(rate);
        for (uint32_t frame = 0; frame < 22050; ++frame) {
            ASSERT_EQ(fixture.buffer->SampleAt(frame, 0), SoundFixture::Entry(int32_t(frame * rate))) << frame;
            ASSERT_EQ(fixture.buffer->SampleAt(frame, 1), SoundFixture::Entry(int32_t(frame * rate))) << frame;
        }
        EXPECT_EQ(fixture.sound.samplePhase, rate == 1.0f ? 0.0f : 11025.0f);
    }
    // Only an entry's low byte counts, read as signed: 0x1FF reads as -1, 0x80 as -128.
    SoundFixture fixture;
    const int32_t entries[4] = {0x1FF, 0x80, 127, -128};
    std::copy(entries, entries + 4, fixture.sound.sample.begin());
    fixture.StreamNextBlock(1.0f);
    const int16_t expected[4] = {-256, -128 * 256, 127 * 256, -128 * 256};
    for (uint32_t frame = 0; frame < 4; ++frame)
        EXPECT_EQ(std::make_pair(fixture.buffer->SampleAt(frame, 0), fixture.buffer->SampleAt(frame, 1)),
                  std::make_pair(expected[frame], expected[frame])) << frame;
    // Inaudible, the block is silence and the table still moves on.
    fixture.StreamNextBlock(1.0f, false);
    EXPECT_EQ(fixture.buffer->SampleAt(SoundBlockFrames + 7, 1), 0);
    EXPECT_EQ(fixture.sound.samplePhase, 4410.0f);
}
