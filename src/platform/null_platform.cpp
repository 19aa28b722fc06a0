#include "platform/null_platform.h"

#include "device/device_results.h"
#include "shell/device_dialog.h"
#include "shell/options_dialog.h"
#include "sound/engine_sound.h"

SoundResult NullSoundBuffer::GetWriteCursor(uint32_t& cursor)
{
    // A block further on at every look, as a sound card that plays as fast as it is fed.
    cursor = cursor_;
    cursor_ = (cursor_ + SoundBlockBytes) % SoundBufferBytes;
    return SoundOk;
}

std::unique_ptr<SoundBuffer> OpenNullSoundDevice(const SoundBufferFormat&, std::string&)
{
    return std::make_unique<NullSoundBuffer>();
}

void NullPlatform::RunOptionsDialog(OptionsDialog& dialog, GameOptions&, GameRandom&, AppState& app)
{
    PressExit(dialog, app);
}

int32_t NullPlatform::RunDeviceDialog(int32_t windowed, int32_t& chosenWindowed)
{
    chosenWindowed = windowed;
    return DeviceDialogUnchanged;
}

void NullPlatform::ShowMessage(const char*, const std::string& text)
{
    lastMessage = text;
}

int32_t NullPlatform::ReopenDevice(AppState&)
{
    return DeviceOk;
}

int32_t NullPlatform::PresentFrame()
{
    return DeviceOk;
}
