// The render session: its own choices with devices that fail where a test says so, and the
// session over the real render device, offscreen.

#include "shell/render_session.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../platform/offscreen_device.h"
#include "device/device_results.h"
#include "shell/app_state.h"

namespace {

using Reports = std::vector<std::pair<int32_t, int32_t>>;

EnumeratedDevice Device(DeviceKind kind, const char* name)
{
    EnumeratedDevice device{};
    device.kind = kind;
    CopyCatalogueText(device.name, name);
    DeviceDescription description{1, RenderTo16Bits | RenderTo24Bits | RenderTo32Bits, 1, 0};
    if (kind == DeviceKind::OpenGlHardware)
        device.hardwareDescription = description;
    else
        device.softwareDescription = description;
    return device;
}

DeviceEnumeration OneDisplay(std::vector<EnumeratedDevice> devices, int32_t desktopBits)
{
    EnumeratedDriver driver{};
    driver.primary = 1;
    driver.hardwareCaps.canRenderWindowed = 1;
    driver.desktopBitsPerPixel = desktopBits;
    driver.devices = std::move(devices);
    DisplayMode mode{};
    mode.width = 1024;
    mode.height = 768;
    mode.bitsPerPixel = 32;
    driver.displayModes = {mode};
    DeviceEnumeration enumeration;
    enumeration.drivers.push_back(driver);
    return enumeration;
}

EnumeratedDevice Card()
{
    return Device(DeviceKind::OpenGlHardware, "Card");
}

EnumeratedDevice Soft()
{
    return Device(DeviceKind::SoftwareRasterizer, "Soft");
}

DeviceEntry& ChosenDevice(DeviceCatalogue& catalogue)
{
    int32_t driverIndex = -1;
    int32_t deviceIndex = -1;
    EXPECT_EQ(GetCurrentDevice(catalogue, driverIndex, deviceIndex), DeviceOk);
    return catalogue.drivers[driverIndex].devices[deviceIndex];
}

class RenderSessionOffscreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseOffscreenVideo();
        session.placement = {0, 0, 320, 240, 1};
        session.report = [this](int32_t code, int32_t mode) { reports.emplace_back(code, mode); };
        app.windowed = 1;
    }
    void TearDown() override { CloseRenderDevice(session, app); }

    RenderSession session;
    AppState app;
    Reports reports;
};

}  // namespace

TEST(RenderSession, StartUpNeedsAUsableDeviceThatCanDrawInAWindow)
{
    struct Case {
        const char* what;
        DeviceEnumeration enumeration;
        int32_t desktopBits;
        int32_t result;
    };
    const Case cases[] = {
        {"card and software rasterizer", OneDisplay({Card(), Soft()}, 32), 32, DeviceOk},
        {"a desktop of eight bits", OneDisplay({Card()}, 8), 8, RenderDesktopTooFewBits},
        {"no usable device", DeviceEnumeration{}, 32, CatalogueNothingUsable},
    };
    for (const Case& c : cases) {
        DeviceCatalogue catalogue;
        EXPECT_EQ(BuildStartCatalogue(catalogue, c.enumeration, c.desktopBits), c.result) << c.what;
    }
}

TEST(RenderSession, OnlyAFailingHardwareDeviceFallsBackToTheSoftwareRasterizerWithOneWarning)
{
    // The fall back reads the desktop's depth.
    UseOffscreenVideo();
    struct Case {
        const char* what;
        std::vector<EnumeratedDevice> devices;
        int32_t hardwareOpen, softwareOpen;
        int32_t result;
        std::vector<std::string> opens;
        Reports reports;
    };
    const Case cases[] = {
        {"the card fails", {Card(), Soft()}, RenderNo3dDevice, DeviceOk, DeviceOk, {"hardware", "software"},
         {{RenderNo3dDevice, DeviceErrorFallsBack}}},
        {"both fail", {Card(), Soft()}, DeviceOutOfVideoMemory, DeviceOutOfVideoMemory, DeviceOutOfVideoMemory,
         {"hardware", "software"}, {{DeviceOutOfVideoMemory, DeviceErrorFallsBack}}},
        {"the software rasterizer alone fails", {Soft()}, DeviceOk, RenderNoDepthBuffer, RenderNoDepthBuffer,
         {"software"}, {}},
        {"a card alone has nothing to fall back to", {Card()}, RenderNoWindow, DeviceOk, RenderNoWindow, {"hardware"},
         {{RenderNoWindow, DeviceErrorFallsBack}}},
    };
    for (const Case& c : cases) {
        DeviceCatalogue catalogue;
        ASSERT_EQ(BuildStartCatalogue(catalogue, OneDisplay(c.devices, 32), 32), DeviceOk) << c.what;
        std::vector<std::string> opens;
        Reports reports;
        int32_t result = OpenFallingBackToSoftware(
            catalogue, [&reports](int32_t code, int32_t mode) { reports.emplace_back(code, mode); },
            [&](const DriverEntry&, const DeviceEntry& device) {
                opens.push_back(device.hardware ? "hardware" : "software");
                return device.hardware ? c.hardwareOpen : c.softwareOpen;
            });
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(opens, c.opens) << c.what;
        EXPECT_EQ(reports, c.reports) << c.what;
    }
}

TEST_F(RenderSessionOffscreen, ReopeningKeepsTheWindowWhereItIsOrGoesFullScreenAndClosingStopsRendering)
{
    ASSERT_EQ(StartRenderDevice(session, app), DeviceOk);
    EXPECT_EQ(app.isReady, 1);
    EXPECT_EQ(app.isActive, 1);
    ASSERT_EQ(session.device.isOpen, 1);

    // The window's own size wins over the placement last saved.
    session.placement.width = 100;
    ASSERT_EQ(ReopenRenderDevice(session, app), DeviceOk);
    EXPECT_EQ(session.placement.width, 320);
    EXPECT_EQ(session.device.renderWidth, 320);
    EXPECT_EQ(session.device.fullScreen, 0);

    // Full screen: the mode of the catalogue's choice, and the saved place is kept as it was.
    const DeviceEntry& chosen = ChosenDevice(session.catalogue);
    ASSERT_GE(chosen.chosenMode, 0);
    app.windowed = 0;
    ASSERT_EQ(ReopenRenderDevice(session, app), DeviceOk);
    EXPECT_EQ(session.device.fullScreen, 1);
    EXPECT_EQ(session.device.renderWidth, chosen.modes[chosen.chosenMode].width);
    EXPECT_EQ(session.placement.width, 320);
    EXPECT_TRUE(reports.empty());

    CloseRenderDevice(session, app);
    EXPECT_EQ(session.device.isOpen, 0);
    EXPECT_EQ(app.isActive, 0);
    EXPECT_EQ(app.isReady, 0);
    EXPECT_TRUE(session.catalogue.drivers.empty());
    // Closing again finds nothing open.
    CloseRenderDevice(session, app);
    EXPECT_EQ(session.device.isOpen, 0);
}

TEST_F(RenderSessionOffscreen, AFailedStartIsReportedAsTheEndAndLeavesNothingOpen)
{
    // A window of no size cannot be opened by any device.
    session.placement.width = 0;
    EXPECT_EQ(StartRenderDevice(session, app), DeviceInvalidArgument);
    Reports expected = {{DeviceInvalidArgument, DeviceErrorExits}};
    EXPECT_EQ(reports, expected);
    EXPECT_EQ(session.device.isOpen, 0);
    EXPECT_EQ(app.isReady, 0);
    EXPECT_TRUE(session.catalogue.drivers.empty());
}

TEST_F(RenderSessionOffscreen, AFailedReopenIsReportedAsTheEnd)
{
    ASSERT_EQ(StartRenderDevice(session, app), DeviceOk);
    // A full-screen mode of no size cannot be opened by any device.
    DeviceEntry& chosen = ChosenDevice(session.catalogue);
    ASSERT_GE(chosen.chosenMode, 0);
    chosen.modes[chosen.chosenMode].width = 0;
    app.windowed = 0;
    EXPECT_EQ(ReopenRenderDevice(session, app), DeviceInvalidArgument);
    Reports expected = {{DeviceInvalidArgument, DeviceErrorExits}};
    EXPECT_EQ(reports, expected);
}
