#include "platform/sdl_sound_buffer.h"

#include <SDL.h>

#include <cstring>
#include <vector>

#include "platform/quiet_stderr.h"

namespace {

// SDL pulls audio through a callback on its own thread. The callback copies from the ring at
// the play position and moves the position on; the game writes into the ring under the
// device lock. The write cursor the game sees runs a tenth of a second ahead of the play
// position, so a block the game writes is never one the callback is in the middle of copying.
class SdlSoundBuffer final : public SoundBuffer {
public:
    SdlSoundBuffer(const SoundBufferFormat& format) : ring_(format.bufferBytes, 0)
    {
        uint32_t bytesPerFrame = static_cast<uint32_t>(format.channels * format.bitsPerSample / 8);
        cursorLead_ = static_cast<uint32_t>(format.framesPerSecond / 10) * bytesPerFrame;
    }

    ~SdlSoundBuffer() override
    {
        if (device_ != 0)
            SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool Open(const SoundBufferFormat& format)
    {
        SDL_AudioSpec wanted = {};
        wanted.freq = format.framesPerSecond;
        wanted.format = AUDIO_S16LSB;
        wanted.channels = static_cast<Uint8>(format.channels);
        // About 23 ms a callback: well inside the tenth of a second the cursor leads by.
        wanted.samples = 512;
        wanted.callback = &SdlSoundBuffer::FillDeviceBuffer;
        wanted.userdata = this;
        SDL_AudioSpec obtained = {};
        // No changes allowed: SDL converts to whatever the hardware wants.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        return device_ != 0;
    }

    SoundResult GetWriteCursor(uint32_t& cursor) override
    {
        SDL_LockAudioDevice(device_);
        uint32_t size = static_cast<uint32_t>(ring_.size());
        cursor = playing_ ? (playPosition_ + cursorLead_) % size : playPosition_;
        SDL_UnlockAudioDevice(device_);
        return SoundOk;
    }

    SoundResult WriteRegion(uint32_t offset, const uint8_t* bytes, uint32_t count) override
    {
        if (offset > ring_.size() || count > ring_.size() - offset)
            return SoundFailed;
        SDL_LockAudioDevice(device_);
        std::memcpy(ring_.data() + offset, bytes, count);
        SDL_UnlockAudioDevice(device_);
        return SoundOk;
    }

    SoundResult ClearRegion(uint32_t offset, uint32_t count) override
    {
        if (offset > ring_.size() || count > ring_.size() - offset)
            return SoundFailed;
        SDL_LockAudioDevice(device_);
        std::memset(ring_.data() + offset, 0, count);
        SDL_UnlockAudioDevice(device_);
        return SoundOk;
    }

    // The ring lives in our own memory, which nothing takes away.
    SoundResult Restore() override { return SoundOk; }

    SoundResult PlayLooping() override
    {
        SDL_LockAudioDevice(device_);
        if (!playing_) {
            playing_ = true;
            playPosition_ = 0;
        }
        SDL_UnlockAudioDevice(device_);
        SDL_PauseAudioDevice(device_, 0);
        return SoundOk;
    }

private:
    // Runs on SDL's audio thread with the device locked.
    static void SDLCALL FillDeviceBuffer(void* userdata, Uint8* stream, int length)
    {
        auto* buffer = static_cast<SdlSoundBuffer*>(userdata);
        uint32_t size = static_cast<uint32_t>(buffer->ring_.size());
        uint32_t left = static_cast<uint32_t>(length);
        while (left > 0) {
            uint32_t run = size - buffer->playPosition_;
            if (run > left)
                run = left;
            std::memcpy(stream, buffer->ring_.data() + buffer->playPosition_, run);
            stream += run;
            left -= run;
            buffer->playPosition_ = (buffer->playPosition_ + run) % size;
        }
    }

    std::vector<uint8_t> ring_;
    uint32_t cursorLead_ = 0;
    SDL_AudioDeviceID device_ = 0;
    uint32_t playPosition_ = 0;  // guarded by the device lock
    bool playing_ = false;       // guarded by the device lock
};

}  // namespace

std::unique_ptr<SoundBuffer> CreateSdlSoundBuffer(const SoundBufferFormat& format, std::string& whyNot)
{
    // Only 16-bit little-endian PCM is written into the ring.
    if (format.bitsPerSample != 16 || format.channels < 1 || format.channels > 2 || format.bufferBytes == 0 ||
        format.framesPerSecond <= 0) {
        whyNot = "the sound format is not one the buffer plays";
        return nullptr;
    }
    // Without a sound card the audio libraries fill the terminal while SDL tries each of them.
    QuietStandardError quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        whyNot = SDL_GetError();
        return nullptr;
    }
    // The buffer owns its share of the audio subsystem from here on and gives it back when it
    // goes, opened or not.
    auto buffer = std::make_unique<SdlSoundBuffer>(format);
    if (!buffer->Open(format)) {
        whyNot = SDL_GetError();
        return nullptr;
    }
    return buffer;
}
