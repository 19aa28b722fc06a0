#pragma once
// The shell's side of the render device: build the device catalogue, open the device for its
// choice (falling back to the software rasterizer when the hardware device fails), re-open it
// after a resize, a full-screen toggle or a device change, and close it for good. Failures are
// shown through the reporter with the fixed texts of shell/device_errors.h.
//
// The device is reached through its plain operations (device/render_device.h, the scene
// resources, the catalogue's enumeration); the session's own choices, the start-up catalogue
// and the fall back to the software rasterizer, are kept apart below so that tests can make any
// device fail.

#include <cstdint>
#include <functional>

#include "device/device_catalogue.h"
#include "device/render_device.h"
#include "device/texture_store.h"
#include "shell/device_errors.h"

struct AppState;

struct RenderSession {
    RenderDevice device;
    DeviceCatalogue catalogue;
    TextureStore textures;
    RenderWindowPlacement placement = {100, 100, 640, 480, 0};  // the window when windowed
    int32_t batching = 1;
    int32_t paced = 0;  // frames wait for the display's refresh
    int32_t desktopBitsPerPixel = 0;
    DeviceErrorReporter report = PrintDeviceError;
};

// Start-up: builds the catalogue, makes sure its choice can draw in a window, opens the device
// and its scene resources. Any failure is reported (the program ends), everything is closed
// again and the code returned.
int32_t StartRenderDevice(RenderSession& session, AppState& app);

// Opens the device of the catalogue's choice with its scene resources, the software rasterizer
// standing in for a hardware device that fails (OpenFallingBackToSoftware).
int32_t OpenRenderDevice(RenderSession& session, const AppState& app);

// Closes the device and opens it again, windowed where the player left the window or full
// screen, in the same window. Failures are reported as ending the program and returned.
int32_t ReopenRenderDevice(RenderSession& session, AppState& app);

// The window was resized: the windowed device takes its new size at once.
void ResizeRenderDevice(RenderSession& session);

// Frees the scene resources, closes the device and frees the catalogue; rendering stops.
void CloseRenderDevice(RenderSession& session, AppState& app);

// Start-up's catalogue: built from the enumeration, and its choice must be able to draw in a
// window, as the game always starts in one. DeviceOk, the catalogue's failure, or
// RenderDesktopTooFewBits.
int32_t BuildStartCatalogue(DeviceCatalogue& catalogue, const DeviceEnumeration& enumeration,
                            int32_t desktopBitsPerPixel);

// Opens one device of the catalogue with its scene resources; a result code.
using OpenCatalogueChoice = std::function<int32_t(const DriverEntry& driver, const DeviceEntry& device)>;

// Opens the catalogue's choice with openChoice. A hardware device that fails is reported once as
// a warning and the software rasterizer is chosen and tried instead; the code of the last
// failure is returned when that fails too or there is none.
int32_t OpenFallingBackToSoftware(DeviceCatalogue& catalogue, const DeviceErrorReporter& report,
                                  const OpenCatalogueChoice& openChoice);
