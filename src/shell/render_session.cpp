#include "shell/render_session.h"

#include "device/device_results.h"
#include "device/scene_resources.h"
#include "shell/app_state.h"
#include "shell/game_clock.h"
#include "shell/game_window.h"

namespace {

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

    int32_t result = RenderDeviceOpen(session.device, request);
    if (IsFailure(result))
        return result;
    result = CreateSceneResources(session.device, session.textures);
    if (IsFailure(result)) {
        ReleaseSceneResources(session.device);
        RenderDeviceClose(session.device);
    }
    return result;
}

}  // namespace

int32_t BuildStartCatalogue(DeviceCatalogue& catalogue, const DeviceEnumeration& enumeration,
                            int32_t desktopBitsPerPixel)
{
    int32_t result = BuildDeviceCatalogue(catalogue, enumeration, AcceptEveryDevice, desktopBitsPerPixel);
    if (IsFailure(result))
        return result;
    int32_t driverIndex = -1;
    int32_t deviceIndex = -1;
    GetCurrentDevice(catalogue, driverIndex, deviceIndex);
    if (!catalogue.drivers[driverIndex].devices[deviceIndex].windowedChoice)
        return RenderDesktopTooFewBits;
    return result;
}

int32_t OpenFallingBackToSoftware(DeviceCatalogue& catalogue, const DeviceErrorReporter& report,
                                  const OpenCatalogueChoice& openChoice)
{
    for (;;) {
        int32_t driverIndex = -1;
        int32_t deviceIndex = -1;
        int32_t result = GetCurrentDevice(catalogue, driverIndex, deviceIndex);
        if (IsFailure(result))
            return result;
        const DriverEntry& driver = catalogue.drivers[driverIndex];
        const DeviceEntry& chosen = driver.devices[deviceIndex];
        result = openChoice(driver, chosen);
        if (!IsFailure(result))
            return result;
        if (!chosen.hardware)
            return result;
        report(result, DeviceErrorFallsBack);
        if (IsFailure(SelectDefaultDevice(catalogue, true, ReadDesktopBitsPerPixel())))
            return result;
    }
}

int32_t OpenRenderDevice(RenderSession& session, const AppState& app)
{
    return OpenFallingBackToSoftware(session.catalogue, session.report,
                                     [&session, &app](const DriverEntry& driver, const DeviceEntry& chosen) {
                                         return OpenChosenDevice(session, app, chosen, driver);
                                     });
}

int32_t StartRenderDevice(RenderSession& session, AppState& app)
{
    DeviceEnumeration enumeration;
    int32_t result = EnumerateDisplayDevices(enumeration, session.desktopBitsPerPixel);
    if (!IsFailure(result))
        result = BuildStartCatalogue(session.catalogue, enumeration, session.desktopBitsPerPixel);
    if (!IsFailure(result))
        result = OpenRenderDevice(session, app);
    if (IsFailure(result)) {
        CloseRenderDevice(session, app);
        session.report(result, DeviceErrorExits);
        return result;
    }
    app.isActive = 1;
    AllowRendering(app);
    return result;
}

int32_t ReopenRenderDevice(RenderSession& session, AppState& app)
{
    // Where the player left the window, to open the next device there.
    if (app.windowed)
        ReadLiveWindowPlacement(session.device, session.placement);
    ReleaseSceneResources(session.device);
    int32_t result = RenderDeviceCloseKeepingWindow(session.device);
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
        RenderDeviceFollowWindowSize(session.device);
}

void CloseRenderDevice(RenderSession& session, AppState& app)
{
    if (session.device.isOpen) {
        ReleaseSceneResources(session.device);
        RenderDeviceClose(session.device);
    }
    FreeDeviceCatalogue(session.catalogue);
    app.isActive = 0;
    StopRendering(app);
}
