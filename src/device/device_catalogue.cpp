#include "device/device_catalogue.h"

#include <cstdio>
#include <cstring>

#include "device/device_results.h"

namespace {

uint32_t DepthBitFor(int32_t bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 16: return RenderTo16Bits;
    case 24: return RenderTo24Bits;
    case 32: return RenderTo32Bits;
    default: return 0;
    }
}

// Modes a device cannot render to are left out; 8-bit and smaller palettes never can.
bool DeviceRendersToMode(const DeviceDescription& description, const DisplayMode& mode)
{
    if (mode.bitsPerPixel <= 8)
        return false;
    uint32_t depthBit = DepthBitFor(mode.bitsPerPixel);
    return depthBit == 0 || (description.renderDepths & depthBit) != 0;
}

bool HasModeOfDepth(const DeviceEntry& device, int32_t bitsPerPixel)
{
    for (const DisplayMode& mode : device.modes) {
        if (mode.bitsPerPixel == bitsPerPixel)
            return true;
    }
    return false;
}

bool IsPreferredFullScreenMode(const DisplayMode& mode)
{
    return mode.width == 640 && mode.height == 480 && mode.bitsPerPixel == 16;
}

void AddDevice(DeviceCatalogue& catalogue, DriverEntry& driver, const EnumeratedDriver& source,
               const EnumeratedDevice& offered, const DeviceConfirm& confirm)
{
    if (offered.kind == DeviceKind::Null)
        return;
    catalogue.usableDeviceSeen = 1;

    DeviceEntry device{};
    device.kind = offered.kind;
    device.hardware = offered.hardwareDescription.flags != 0 ? 1 : 0;
    device.description = device.hardware ? offered.hardwareDescription : offered.softwareDescription;
    device.chosenMode = -1;
    // A secondary display only lends its own hardware; software devices draw on the primary one.
    if (!device.hardware && !driver.primary)
        return;
    if (IsFailure(confirm(source.hardwareCaps, device.description)))
        return;
    CopyCatalogueText(device.name, offered.name);

    for (const DisplayMode& mode : source.displayModes) {
        if (!DeviceRendersToMode(device.description, mode))
            continue;
        device.modes.push_back(mode);
        std::snprintf(device.modes.back().name, sizeof device.modes.back().name, "%ld x %ld x %ld",
                      static_cast<long>(mode.width), static_cast<long>(mode.height),
                      static_cast<long>(mode.bitsPerPixel));
        int32_t appended = static_cast<int32_t>(device.modes.size()) - 1;
        if (device.chosenMode < 0 || IsPreferredFullScreenMode(mode))
            device.chosenMode = appended;
    }

    if (source.hardwareCaps.canRenderWindowed && HasModeOfDepth(device, source.desktopBitsPerPixel)) {
        device.canRenderWindowed = 1;
        if (driver.primary)
            device.windowedChoice = 1;
    }
    if (offered.kind == DeviceKind::ReferenceRasterizer)
        catalogue.referenceRasterizerSeen = 1;
    if (device.modes.empty())
        return;

    // The device becomes the driver's current one only once it is kept, so a device dropped for
    // want of modes never stays behind as the driver's choice.
    bool makeCurrent = device.hardware || (driver.currentDevice < 0 && device.description.colourModelRgb);
    driver.devices.push_back(device);
    if (makeCurrent)
        driver.currentDevice = static_cast<int32_t>(driver.devices.size()) - 1;
}

}  // namespace

void CopyCatalogueText(char (&field)[40], const char* text)
{
    std::snprintf(field, sizeof field, "%s", text ? text : "");
}

int32_t AcceptEveryDevice(const DriverCaps&, const DeviceDescription&)
{
    return DeviceOk;
}

int32_t BuildDeviceCatalogue(DeviceCatalogue& catalogue, const DeviceEnumeration& enumeration,
                             const DeviceConfirm& confirm, int32_t desktopBitsPerPixel)
{
    FreeDeviceCatalogue(catalogue);
    if (!enumeration.libraryLoaded)
        return CatalogueNoLibrary;

    for (const EnumeratedDriver& source : enumeration.drivers) {
        DriverEntry driver{};
        driver.displayIndex = source.displayIndex;
        driver.primary = source.primary;
        CopyCatalogueText(driver.description, source.description);
        CopyCatalogueText(driver.name, source.name);
        driver.hardwareCaps = source.hardwareCaps;
        driver.emulationCaps = source.emulationCaps;
        driver.monitor = source.monitor;
        driver.currentDevice = -1;
        for (const EnumeratedDevice& offered : source.devices)
            AddDevice(catalogue, driver, source, offered, confirm);
        if (driver.devices.empty())
            continue;
        catalogue.drivers.push_back(driver);
        if (driver.primary)
            catalogue.currentDriver = static_cast<int32_t>(catalogue.drivers.size()) - 1;
    }
    return SelectDefaultDevice(catalogue, false, desktopBitsPerPixel);
}

void RefreshCanRenderWindowed(DeviceCatalogue& catalogue, int32_t desktopBitsPerPixel)
{
    for (DriverEntry& driver : catalogue.drivers) {
        for (DeviceEntry& device : driver.devices)
            device.canRenderWindowed = HasModeOfDepth(device, desktopBitsPerPixel) ? 1 : 0;
    }
}

int32_t SelectDefaultDevice(DeviceCatalogue& catalogue, bool softwareOnly, int32_t desktopBitsPerPixel)
{
    RefreshCanRenderWindowed(catalogue, desktopBitsPerPixel);

    struct Pass {
        int32_t hardware;
        int32_t windowed;
    };
    constexpr Pass Passes[] = {{1, 1}, {0, 1}, {1, 0}, {0, 0}};
    for (const Pass& pass : Passes) {
        if (softwareOnly && pass.hardware)
            continue;
        for (size_t driverIndex = 0; driverIndex < catalogue.drivers.size(); ++driverIndex) {
            DriverEntry& driver = catalogue.drivers[driverIndex];
            if (pass.windowed && !driver.hardwareCaps.canRenderWindowed)
                continue;
            for (size_t deviceIndex = 0; deviceIndex < driver.devices.size(); ++deviceIndex) {
                DeviceEntry& device = driver.devices[deviceIndex];
                if (device.hardware != pass.hardware || (pass.windowed && !device.canRenderWindowed))
                    continue;
                device.windowedChoice = pass.windowed;
                catalogue.currentDriver = static_cast<int32_t>(driverIndex);
                driver.currentDevice = static_cast<int32_t>(deviceIndex);
                return DeviceOk;
            }
        }
    }
    if (!catalogue.usableDeviceSeen)
        return CatalogueNothingUsable;
    return catalogue.referenceRasterizerSeen ? CatalogueNoDeviceReferenceSeen : CatalogueNoDevice;
}

int32_t GetCurrentDevice(const DeviceCatalogue& catalogue, int32_t& driverIndex, int32_t& deviceIndex)
{
    driverIndex = -1;
    deviceIndex = -1;
    if (catalogue.currentDriver < 0 || catalogue.currentDriver >= static_cast<int32_t>(catalogue.drivers.size()))
        return CatalogueNothingUsable;
    const DriverEntry& driver = catalogue.drivers[catalogue.currentDriver];
    // A driver whose devices were all refused as its choice has nothing to open either.
    if (driver.currentDevice < 0 || driver.currentDevice >= static_cast<int32_t>(driver.devices.size()))
        return CatalogueNothingUsable;
    driverIndex = catalogue.currentDriver;
    deviceIndex = driver.currentDevice;
    return DeviceOk;
}

void FreeDeviceCatalogue(DeviceCatalogue& catalogue)
{
    catalogue.drivers.clear();
    catalogue.currentDriver = -1;
    catalogue.usableDeviceSeen = 0;
    catalogue.referenceRasterizerSeen = 0;
}
