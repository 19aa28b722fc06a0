#include "shell/device_dialog.h"

namespace {

bool SameChoice(const DeviceChoice& a, const DeviceChoice& b)
{
    return a.driver == b.driver && a.device == b.device && a.mode == b.mode && a.windowed == b.windowed;
}

// A device's own choice: its chosen mode and whether it is to be used in a window.
DeviceChoice ChoiceOfDevice(const DeviceCatalogue& catalogue, int32_t driver, int32_t device)
{
    DeviceChoice choice;
    choice.driver = driver;
    choice.device = device;
    if (device >= 0) {
        const DeviceEntry& entry = catalogue.drivers[driver].devices[device];
        choice.mode = entry.chosenMode;
        choice.windowed = entry.windowedChoice;
    }
    return choice;
}

// Whether the mode list offers "Windowed mode": only the primary display's driver can draw into
// a window, and only with a device that has a mode of the desktop's depth.
bool OffersWindowedMode(const DeviceCatalogue& catalogue, const DeviceChoice& choice)
{
    const DriverEntry& driver = catalogue.drivers[choice.driver];
    if (!driver.hardwareCaps.canRenderWindowed || !driver.primary || choice.device < 0)
        return false;
    return driver.devices[choice.device].canRenderWindowed != 0;
}

void FillLists(DeviceDialog& dialog, const DeviceCatalogue& catalogue)
{
    DeviceDialogLists lists;
    const DeviceChoice& choice = dialog.working;
    for (const DriverEntry& driver : catalogue.drivers)
        lists.drivers.emplace_back(driver.description);
    lists.selectedDriver = choice.driver;

    const DriverEntry& driver = catalogue.drivers[choice.driver];
    for (const DeviceEntry& device : driver.devices)
        lists.devices.emplace_back(device.name);
    lists.selectedDevice = choice.device;

    if (choice.device >= 0) {
        if (OffersWindowedMode(catalogue, choice)) {
            lists.modes.emplace_back(WindowedModeItem);
            lists.itemModes.push_back(-1);
            if (choice.windowed)
                lists.selectedMode = 0;
        }
        const DeviceEntry& device = driver.devices[choice.device];
        for (size_t i = 0; i < device.modes.size(); ++i) {
            if (!choice.windowed && static_cast<int32_t>(i) == choice.mode)
                lists.selectedMode = static_cast<int32_t>(lists.modes.size());
            lists.modes.emplace_back(device.modes[i].name);
            lists.itemModes.push_back(static_cast<int32_t>(i));
        }
    }
    dialog.lists = std::move(lists);
}

}  // namespace

bool OpenDeviceDialog(DeviceDialog& dialog, DeviceCatalogue& catalogue, int32_t windowed, int32_t desktopBitsPerPixel)
{
    dialog = DeviceDialog{};
    int32_t driverIndex = catalogue.currentDriver;
    if (driverIndex < 0 || driverIndex >= static_cast<int32_t>(catalogue.drivers.size()))
        return false;
    RefreshCanRenderWindowed(catalogue, desktopBitsPerPixel);
    DriverEntry& driver = catalogue.drivers[driverIndex];
    if (driver.currentDevice >= 0)
        driver.devices[driver.currentDevice].windowedChoice = windowed;
    dialog.working = ChoiceOfDevice(catalogue, driverIndex, driver.currentDevice);
    dialog.atOpening = dialog.working;
    FillLists(dialog, catalogue);
    return true;
}

void SelectDriverItem(DeviceDialog& dialog, const DeviceCatalogue& catalogue, int32_t item)
{
    if (item < 0 || item >= static_cast<int32_t>(catalogue.drivers.size()))
        return;
    if (item != dialog.working.driver)
        dialog.working = ChoiceOfDevice(catalogue, item, catalogue.drivers[item].currentDevice);
    FillLists(dialog, catalogue);
}

void SelectDeviceItem(DeviceDialog& dialog, const DeviceCatalogue& catalogue, int32_t item)
{
    const DriverEntry& driver = catalogue.drivers[dialog.working.driver];
    if (item < 0 || item >= static_cast<int32_t>(driver.devices.size()))
        return;
    if (item != dialog.working.device)
        dialog.working = ChoiceOfDevice(catalogue, dialog.working.driver, item);
    FillLists(dialog, catalogue);
}

void SelectModeItem(DeviceDialog& dialog, const DeviceCatalogue& catalogue, int32_t item)
{
    if (item < 0 || item >= static_cast<int32_t>(dialog.lists.itemModes.size()))
        return;
    int32_t mode = dialog.lists.itemModes[item];
    if (mode < 0) {
        dialog.working.windowed = 1;
    } else {
        dialog.working.windowed = 0;
        dialog.working.mode = mode;
    }
    FillLists(dialog, catalogue);
}

void PressDeviceOk(DeviceDialog& dialog, DeviceCatalogue& catalogue)
{
    if (SameChoice(dialog.working, dialog.atOpening)) {
        dialog.result = DeviceDialogUnchanged;
        return;
    }
    const DeviceChoice& choice = dialog.working;
    catalogue.currentDriver = choice.driver;
    DriverEntry& driver = catalogue.drivers[choice.driver];
    driver.currentDevice = choice.device;
    if (choice.device >= 0) {
        DeviceEntry& device = driver.devices[choice.device];
        device.chosenMode = choice.mode;
        device.windowedChoice = choice.windowed;
    }
    dialog.result = DeviceDialogChanged;
}

void PressDeviceCancel(DeviceDialog& dialog)
{
    dialog.result = DeviceDialogUnchanged;
}
