#pragma once
// The controls file of `tagvind drive`: the settings a driver made, one JSON object a line,
// {"t": seconds, "throttle": 0..5, "brake": 1..8}, for a drive to replay.

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

// One recorded control setting: applied before the first step that starts at or after time.
struct ControlSetting {
    double time;  // game seconds
    int32_t throttle;
    int32_t brake;
};

// Reads control settings, one a line. Blank lines are skipped. The result is put in time order,
// later lines winning at equal times. Returns false with a message naming the line when a line
// is not such an object.
bool ReadControlSettings(std::istream& in, std::vector<ControlSetting>& settings, std::string& error);

// One line of a controls file.
void WriteControlSettingLine(std::ostream& out, const ControlSetting& setting);
