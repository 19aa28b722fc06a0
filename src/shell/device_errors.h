#pragma once
// The messages the player sees when the render device fails: one fixed text per result code,
// followed by what happens next (the program ends, or it falls back to the software rasterizer).

#include <cstdint>
#include <functional>
#include <string>

enum DeviceErrorMode : int32_t {
    DeviceErrorExits = 1,          // "This program will now exit."
    DeviceErrorFallsBack = 2,      // "Switching to software rasterizer."
};

constexpr const char* DeviceErrorCaption = "Tagvind";

// The fixed text for a result code, without the closing sentence.
const char* DeviceErrorMessage(int32_t code);

// The whole text of the box: the message, the driver's own words for what failed (a line of
// its own, left out when driverSays is empty) and the closing sentence of the mode.
std::string DeviceErrorText(int32_t code, int32_t mode, const std::string& driverSays);

// Shows a device failure to the player. The shell shows a message box; until it has one, and in
// the command-line tools, PrintDeviceError writes the text to stderr.
using DeviceErrorReporter = std::function<void(int32_t code, int32_t mode)>;

void PrintDeviceError(int32_t code, int32_t mode);
