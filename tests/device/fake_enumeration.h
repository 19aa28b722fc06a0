#pragma once
// A display system made up for the tests: displays with their devices and modes, as the
// enumeration of the real one would report them.

#include <cstdint>
#include <utility>
#include <vector>

#include "device/device_catalogue.h"

constexpr uint32_t AllDepths = RenderTo16Bits | RenderTo24Bits | RenderTo32Bits;

inline DisplayMode Mode(int32_t width, int32_t height, int32_t bits)
{
    DisplayMode mode{};
    mode.width = width;
    mode.height = height;
    mode.bitsPerPixel = bits;
    mode.refreshRate = 60;
    return mode;
}

inline EnumeratedDevice Hardware(const char* name, uint32_t depths = AllDepths)
{
    EnumeratedDevice device{};
    device.kind = DeviceKind::OpenGlHardware;
    CopyCatalogueText(device.name, name);
    device.hardwareDescription = {1, depths, 1, 0};
    return device;
}

inline EnumeratedDevice Software(const char* name, DeviceKind kind = DeviceKind::SoftwareRasterizer, int32_t rgb = 1)
{
    EnumeratedDevice device{};
    device.kind = kind;
    CopyCatalogueText(device.name, name);
    device.softwareDescription = {1, AllDepths, rgb, 0};
    return device;
}

inline EnumeratedDriver Display(int32_t index, int32_t desktopBits, std::vector<EnumeratedDevice> devices,
                         std::vector<DisplayMode> modes)
{
    EnumeratedDriver driver{};
    driver.displayIndex = index;
    driver.primary = index == 0 ? 1 : 0;
    CopyCatalogueText(driver.description, index == 0 ? "Primary display" : "Second display");
    CopyCatalogueText(driver.name, "fake");
    driver.hardwareCaps.canRenderWindowed = 1;
    driver.desktopBitsPerPixel = desktopBits;
    driver.devices = std::move(devices);
    driver.displayModes = std::move(modes);
    return driver;
}
