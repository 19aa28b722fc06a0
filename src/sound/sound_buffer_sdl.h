#pragma once
// The looping sound buffer on an SDL2 audio device.

#include <memory>

#include "sound/sound_buffer.h"

// Opens the default audio device for the format and gives it a silent looping buffer of the
// format's size; nullptr when there is no audio device or it cannot play the format.
std::unique_ptr<SoundBuffer> CreateSdlSoundBuffer(const SoundBufferFormat& format);
