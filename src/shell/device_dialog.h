#pragma once
// The "Change device" dialog, "Select New Direct3D Driver", as a model over the device catalogue:
// three lists (driver, device, mode) chosen from working values, and OK that makes them the
// catalogue's choice only when something changed. The ImGui drawing lives in
// platform/imgui_device_dialog.cpp.

#include <cstdint>
#include <string>
#include <vector>

#include "device/device_catalogue.h"

constexpr const char* DeviceDialogTitle = "Select New Direct3D Driver";
constexpr const char* WindowedModeItem = "Windowed mode";

// What the dialog returns: the player confirmed a changed choice, or nothing is to change.
constexpr int32_t DeviceDialogChanged = 1;
constexpr int32_t DeviceDialogUnchanged = 2;
constexpr int32_t DeviceDialogUnavailable = -1;

struct DeviceChoice {
    int32_t driver = -1;
    int32_t device = -1;
    int32_t mode = -1;
    int32_t windowed = 0;
};

// One list as drawn: its item texts and the selected item (-1 for none). The mode list's items
// map to modes through itemModes (-1 for "Windowed mode").
struct DeviceDialogLists {
    std::vector<std::string> drivers;
    int32_t selectedDriver = -1;
    std::vector<std::string> devices;
    int32_t selectedDevice = -1;
    std::vector<std::string> modes;
    std::vector<int32_t> itemModes;
    int32_t selectedMode = -1;
};

struct DeviceDialog {
    DeviceChoice working;
    DeviceChoice atOpening;
    DeviceDialogLists lists;
    int32_t result = 0;  // 0 while open
};

// Opens the dialog on the catalogue's current choice, with the current device's windowed choice
// set to windowed first. False (the dialog cannot open) when the catalogue has no current driver.
bool OpenDeviceDialog(DeviceDialog& dialog, DeviceCatalogue& catalogue, int32_t windowed,
                      int32_t desktopBitsPerPixel);

// The player picked item index of a list; picking what is already chosen changes nothing.
void SelectDriverItem(DeviceDialog& dialog, const DeviceCatalogue& catalogue, int32_t item);
void SelectDeviceItem(DeviceDialog& dialog, const DeviceCatalogue& catalogue, int32_t item);
void SelectModeItem(DeviceDialog& dialog, const DeviceCatalogue& catalogue, int32_t item);

// OK: a changed choice becomes the catalogue's (driver, its current device, that device's mode
// and windowed choice) and the result is DeviceDialogChanged; otherwise DeviceDialogUnchanged.
void PressDeviceOk(DeviceDialog& dialog, DeviceCatalogue& catalogue);
void PressDeviceCancel(DeviceDialog& dialog);
