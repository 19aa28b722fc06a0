#pragma once
// The looping sound buffer on an SDL2 audio device.

#include <memory>
#include <string>

#include "sound/sound_buffer.h"

// Opens the default audio device for the format and gives it a silent looping buffer of the
// format's size; nullptr, with the reason in whyNot, when there is no audio device or it cannot
// play the format. What the audio libraries print while looking for a device is held back.
std::unique_ptr<SoundBuffer> CreateSdlSoundBuffer(const SoundBufferFormat& format, std::string& whyNot);
