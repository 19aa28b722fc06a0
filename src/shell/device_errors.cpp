#include "shell/device_errors.h"

#include <cstdio>

#include "device/device_results.h"

namespace {

struct DeviceErrorEntry {
    int32_t code;
    const char* message;
};

constexpr DeviceErrorEntry DeviceErrorTable[] = {
    {CatalogueNothingUsable, "Enumeration failed. Your system may be in an\nunstable state and need to be rebooted"},
    {CatalogueNoDevice, "Could not find any compatible devices"},
    {CatalogueNoDeviceReferenceSeen, "Could not find any compatible Direct3D\ndevices."},
    {RenderGenericInitError, "Generic initialization error"},
    {RenderNoDisplaySystem, "No DirectDraw"},
    {RenderNoExclusiveMode, "Could not set Cooperative Level"},
    {RenderNo3dInterface, "No Direct3D"},
    {RenderNo3dDevice, "No 3D Device"},
    {RenderNoDepthBuffer, "No ZBuffer"},
    {RenderNoViewport, "No Viewport"},
    {RenderNoWindow, "No primary"},
    {RenderNoClipper, "No Clipper"},
    {RenderBadDisplayMode, "Bad display mode"},
    {RenderNoBackBuffer, "No backbuffer"},
    {RenderReferencesLeft, "Nonzerorefcount"},
    {RenderNoRenderTarget, "No render target"},
    {RenderDesktopTooFewBits,
     "This program requires a 16-bit (or higher) display mode\nto run in a window.\n\nPlease switch your desktop "
     "settings accordingly."},
    {DeviceOutOfMemory, "Not enough memory!"},
    {DeviceOutOfVideoMemory, "There was insufficient video memory to use the\nhardware device."},
};

}  // namespace

const char* DeviceErrorMessage(int32_t code)
{
    for (const DeviceErrorEntry& entry : DeviceErrorTable) {
        if (entry.code == code)
            return entry.message;
    }
    return "Generic application error";
}

std::string DeviceErrorText(int32_t code, int32_t mode, const std::string& driverSays)
{
    std::string text = DeviceErrorMessage(code);
    // The fixed message names the step; only the driver can say why it failed on this machine.
    if (!driverSays.empty())
        text += "\nThe driver says: " + driverSays;
    text += mode == DeviceErrorExits ? "\n\nThis program will now exit." : "\n\nSwitching to software rasterizer.";
    return text;
}

void PrintDeviceError(int32_t code, int32_t mode)
{
    std::string text = DeviceErrorText(code, mode, "");
    std::fprintf(stderr, "%s: %s (0x%08X)\n", DeviceErrorCaption, text.c_str(), static_cast<uint32_t>(code));
}
