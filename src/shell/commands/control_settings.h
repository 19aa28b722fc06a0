#pragma once
// The controls file of `tagvind drive`: the settings a driver made, one JSON object a line,
// {"t": seconds, "throttle": 0..5, "brake": 1..8}, for a drive to replay.

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// One recorded control setting: applied before the first step that starts at or after time.
struct ControlSetting {
    double time;  // game seconds
    int32_t throttle;
    int32_t brake;
};

// The bounds of a controls file. A recorded line is about 40 bytes and a drive of the longest
// line makes a few thousand changes, so anything past them is not a controls file, and is
// refused before it fills the memory.
constexpr uint64_t ControlsFileMaxBytes = uint64_t{64} << 20;
constexpr size_t ControlsLineMaxBytes = 4096;

// Reads control settings, one a line. Blank lines are skipped. The result is put in time order,
// later lines winning at equal times. Returns false with a message naming the line when a line
// is not such an object: not JSON, bytes after the object, a key given twice, a value out of
// range, or a setting the levers cannot make (throttle open with the brake not released); or
// when a line or the whole text is longer than the bounds above.
bool ReadControlSettings(std::string_view text, std::vector<ControlSetting>& settings, std::string& error);

// Reads the controls file at path, or standard input for "-", as ReadControlSettings reads
// text. Anything but a regular file (a folder, a named pipe, a device) is refused at once,
// without waiting on it. error says why, without the path.
bool ReadControlsFile(const std::string& path, std::vector<ControlSetting>& settings, std::string& error);

// One line of a controls file.
void WriteControlSettingLine(std::ostream& out, const ControlSetting& setting);
