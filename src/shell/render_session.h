#pragma once
// The shell's side of the render device: build the device catalogue, open the device for its
// choice (falling back to the software rasterizer when the hardware device fails), re-open it
// after a resize, a full-screen toggle or a device change, and close it for good. Failures are
// shown through the reporter with the fixed texts of shell/device_errors.h.

#include <cstdint>

#include "device/device_catalogue.h"
#include "device/render_device.h"
#include "device/texture_store.h"
#include "shell/device_errors.h"

struct AppState;

// The device operations the shell calls, so that tests can stand in for the display.
struct RenderDeviceBackend {
    int32_t (*enumerate)(DeviceEnumeration& enumeration, int32_t& desktopBitsPerPixel);
    int32_t (*open)(RenderDevice& device, const RenderDeviceRequest& request);
    int32_t (*close)(RenderDevice& device);
    int32_t (*closeKeepingWindow)(RenderDevice& device);
    // The windowed device follows its window's new size.
    void (*followWindowSize)(RenderDevice& device);
    int32_t (*createScene)(RenderDevice& device, TextureStore& store);
    void (*releaseScene)(RenderDevice& device);
    // Where the open window is now, to put it back there when the device is opened again.
    void (*readPlacement)(const RenderDevice& device, RenderWindowPlacement& placement);
    int32_t (*desktopBitsPerPixel)();
};

// SDL2 and OpenGL.
RenderDeviceBackend GlRenderDeviceBackend();

struct RenderSession {
    RenderDevice device;
    DeviceCatalogue catalogue;
    TextureStore textures;
    RenderWindowPlacement placement = {100, 100, 640, 480, 0};  // the window when windowed
    int32_t batching = 1;
    int32_t paced = 0;  // frames wait for the display's refresh
    int32_t desktopBitsPerPixel = 0;
    RenderDeviceBackend backend = GlRenderDeviceBackend();
    DeviceErrorReporter report = PrintDeviceError;
};

// Start-up: builds the catalogue, makes sure its choice can draw in a window, opens the device
// and its scene resources. Any failure is reported (the program ends), everything is closed
// again and the code returned.
int32_t StartRenderDevice(RenderSession& session, AppState& app);

// Opens the device of the catalogue's choice with its scene resources. A hardware device that
// fails is reported once as a warning and the software rasterizer is tried instead; the code of
// the last failure is returned when that fails too or there is none.
int32_t OpenRenderDevice(RenderSession& session, const AppState& app);

// Closes the device and opens it again, windowed at the saved place or full screen, in the same
// window. Failures are reported as ending the program and returned.
int32_t ReopenRenderDevice(RenderSession& session, AppState& app);

// The window was resized: the windowed device takes its new size at once.
void ResizeRenderDevice(RenderSession& session);

// Frees the scene resources, closes the device and frees the catalogue; rendering stops.
void CloseRenderDevice(RenderSession& session, AppState& app);
