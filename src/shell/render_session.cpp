#include "shell/render_session.h"

#include "device/device_results.h"
#include "device/scene_resources.h"
#include "shell/app_state.h"

namespace {

void ReadWindowPlacement(const RenderDevice& device, RenderWindowPlacement& placement)
{
    if (device.window == nullptr || device.fullScreen)
        return;
    placement.x = device.screenRect.left;
    placement.y = device.screenRect.top;
    placement.width = device.renderWidth;
    placement.height = device.renderHeight;
}

int32_t OpenChosenDevice(RenderSession& session, const AppState& app, const DeviceEntry& chosen,
                         const DriverEntry& driver)
{
    RenderDeviceRequest request;
    request.displayIndex = driver.displayIndex;
    request.softwareRasterizer = chosen.hardware ? 0 : 1;
    if (chosen.chosenMode >= 0)
        request.mode = chosen.modes[chosen.chosenMode];
    request.flags = RenderBackBuffer | RenderDepthBuffer | (app.windowed ? 0u : static_cast<uint32_t>(RenderFullScreen));
    request.placement = session.placement;
    request.batching = session.batching;
    request.paced = session.paced;

    int32_t result = session.backend.open(session.device, request);
    if (IsFailure(result))
        return result;
    result = session.backend.createScene(session.device, session.textures);
    if (IsFailure(result)) {
        session.backend.releaseScene(session.device);
        session.backend.close(session.device);
    }
    return result;
}

}  // namespace

RenderDeviceBackend GlRenderDeviceBackend()
{
    return {EnumerateDisplayDevices,     RenderDeviceOpen,      RenderDeviceClose,
            RenderDeviceCloseKeepingWindow, RenderDeviceFollowWindowSize, CreateSceneResources,
            ReleaseSceneResources,       ReadWindowPlacement,   ReadDesktopBitsPerPixel};
}

int32_t OpenRenderDevice(RenderSession& session, const AppState& app)
{
    for (;;) {
        int32_t driverIndex = -1;
        int32_t deviceIndex = -1;
        int32_t result = GetCurrentDevice(session.catalogue, driverIndex, deviceIndex);
        if (IsFailure(result))
            return result;
        const DriverEntry& driver = session.catalogue.drivers[driverIndex];
        const DeviceEntry& chosen = driver.devices[deviceIndex];
        result = OpenChosenDevice(session, app, chosen, driver);
        if (!IsFailure(result))
            return result;
        if (!chosen.hardware)
            return result;
        session.report(result, DeviceErrorFallsBack);
        if (IsFailure(SelectDefaultDevice(session.catalogue, true, session.backend.desktopBitsPerPixel())))
            return result;
    }
}

int32_t StartRenderDevice(RenderSession& session, AppState& app)
{
    DeviceEnumeration enumeration;
    int32_t result = session.backend.enumerate(enumeration, session.desktopBitsPerPixel);
    if (!IsFailure(result))
        result = BuildDeviceCatalogue(session.catalogue, enumeration, AcceptEveryDevice, session.desktopBitsPerPixel);
    if (IsFailure(result)) {
        CloseRenderDevice(session, app);
        session.report(result, DeviceErrorExits);
        return result;
    }
    int32_t driverIndex = -1;
    int32_t deviceIndex = -1;
    GetCurrentDevice(session.catalogue, driverIndex, deviceIndex);
    // The game always starts in a window.
    if (!session.catalogue.drivers[driverIndex].devices[deviceIndex].windowedChoice) {
        CloseRenderDevice(session, app);
        session.report(RenderDesktopTooFewBits, DeviceErrorExits);
        return RenderDesktopTooFewBits;
    }
    result = OpenRenderDevice(session, app);
    if (IsFailure(result)) {
        CloseRenderDevice(session, app);
        session.report(result, DeviceErrorExits);
        return result;
    }
    app.isActive = 1;
    app.isReady = 1;
    return result;
}

int32_t ReopenRenderDevice(RenderSession& session, AppState& app)
{
    if (app.windowed)
        session.backend.readPlacement(session.device, session.placement);
    session.backend.releaseScene(session.device);
    int32_t result = session.backend.closeKeepingWindow(session.device);
    if (IsFailure(result)) {
        session.report(result, DeviceErrorExits);
        return result;
    }
    result = OpenRenderDevice(session, app);
    if (IsFailure(result)) {
        session.report(result, DeviceErrorExits);
        return result;
    }
    return result;
}

void ResizeRenderDevice(RenderSession& session)
{
    if (session.device.isOpen && !session.device.fullScreen)
        session.backend.followWindowSize(session.device);
}

void CloseRenderDevice(RenderSession& session, AppState& app)
{
    if (session.device.isOpen) {
        session.backend.releaseScene(session.device);
        session.backend.close(session.device);
    }
    FreeDeviceCatalogue(session.catalogue);
    app.isActive = 0;
    app.isReady = 0;
}
