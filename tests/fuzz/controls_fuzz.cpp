// libFuzzer target for the controls reader: whatever bytes a controls file holds, the reader
// must refuse them with a reason, or give settings in range that the levers can make, in time
// order and written back unchanged; without reading or writing outside its buffers.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "shell/commands/control_settings.h"
#include "world/train_unit.h"

namespace {

bool IsDrivable(const ControlSetting& setting)
{
    return setting.time >= 0.0 && setting.throttle >= ThrottleClosed && setting.throttle <= ThrottleFull &&
           setting.brake >= BrakeFull && setting.brake <= BrakeReleased &&
           (setting.throttle == ThrottleClosed || setting.brake == BrakeReleased);
}

bool SameSettings(const std::vector<ControlSetting>& a, const std::vector<ControlSetting>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].time != b[i].time || a[i].throttle != b[i].throttle || a[i].brake != b[i].brake)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<ControlSetting> settings;
    std::string error;
    if (!ReadControlSettings(std::string_view(reinterpret_cast<const char*>(data), size), settings, error)) {
        if (error.empty())
            __builtin_trap();
        return 0;
    }
    std::ostringstream written;
    for (size_t i = 0; i < settings.size(); ++i) {
        if (!IsDrivable(settings[i]) || (i > 0 && settings[i].time < settings[i - 1].time))
            __builtin_trap();
        WriteControlSettingLine(written, settings[i]);
    }
    // What drive --record would write of them reads back as the same settings.
    std::vector<ControlSetting> again;
    if (!ReadControlSettings(written.str(), again, error) || !SameSettings(settings, again))
        __builtin_trap();
    return 0;
}
