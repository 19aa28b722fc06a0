#include "shell/render_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "device/device_results.h"
#include "shell/app_state.h"

namespace {

// A display that records what the shell asks of it and fails where a test says so.
struct FakeDisplay {
    DeviceEnumeration enumeration;
    int32_t desktopBits = 32;
    int32_t hardwareOpen = DeviceOk;
    int32_t softwareOpen = DeviceOk;
    int32_t scene = DeviceOk;
    int32_t close = DeviceOk;
    std::vector<std::string> calls;
    std::vector<RenderDeviceRequest> requests;
    std::vector<std::pair<int32_t, int32_t>> reports;
};

FakeDisplay* display = nullptr;

RenderDeviceBackend FakeBackend()
{
    RenderDeviceBackend backend;
    backend.enumerate = [](DeviceEnumeration& enumeration, int32_t& bits) {
        display->calls.push_back("enumerate");
        enumeration = display->enumeration;
        bits = display->desktopBits;
        return DeviceOk;
    };
    backend.open = [](RenderDevice& device, const RenderDeviceRequest& request) {
        display->requests.push_back(request);
        display->calls.push_back(request.softwareRasterizer ? "open software" : "open hardware");
        int32_t result = request.softwareRasterizer ? display->softwareOpen : display->hardwareOpen;
        device.isOpen = IsFailure(result) ? 0 : 1;
        return result;
    };
    backend.close = [](RenderDevice& device) {
        display->calls.push_back("close");
        device.isOpen = 0;
        return display->close;
    };
    backend.closeKeepingWindow = backend.close;
    backend.followWindowSize = [](RenderDevice&) { display->calls.push_back("follow size"); };
    backend.createScene = [](RenderDevice&, TextureStore&) {
        display->calls.push_back("create scene");
        return display->scene;
    };
    backend.releaseScene = [](RenderDevice&) { display->calls.push_back("release scene"); };
    backend.readPlacement = [](const RenderDevice&, RenderWindowPlacement& placement) {
        display->calls.push_back("read placement");
        placement = {40, 50, 800, 600, 0};
    };
    backend.desktopBitsPerPixel = [] { return display->desktopBits; };
    return backend;
}

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

class RenderSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        display = &fake;
        fake.enumeration =
            OneDisplay({Device(DeviceKind::OpenGlHardware, "Card"), Device(DeviceKind::SoftwareRasterizer, "Soft")}, 32);
        session.backend = FakeBackend();
        session.report = [](int32_t code, int32_t mode) { display->reports.emplace_back(code, mode); };
        app.windowed = 1;
    }
    void TearDown() override { display = nullptr; }

    FakeDisplay fake;
    RenderSession session;
    AppState app;
};

}  // namespace

TEST_F(RenderSessionTest, AFailingHardwareDeviceWarnsOnceAndOpensTheSoftwareRasterizer)
{
    fake.hardwareOpen = RenderNo3dDevice;
    ASSERT_EQ(StartRenderDevice(session, app), DeviceOk);
    std::vector<std::string> expected = {"enumerate", "open hardware", "open software", "create scene"};
    EXPECT_EQ(fake.calls, expected);
    ASSERT_EQ(fake.reports.size(), 1u);
    EXPECT_EQ(fake.reports[0], std::make_pair(RenderNo3dDevice, static_cast<int32_t>(DeviceErrorFallsBack)));
    EXPECT_EQ(fake.requests.back().flags, static_cast<uint32_t>(RenderBackBuffer | RenderDepthBuffer));
    EXPECT_EQ(app.isReady, 1);
    EXPECT_EQ(app.isActive, 1);
}

TEST_F(RenderSessionTest, SceneResourcesThatFailTearTheHardwareDeviceDownBeforeFallingBack)
{
    fake.scene = DeviceOutOfVideoMemory;
    ASSERT_EQ(StartRenderDevice(session, app), DeviceOutOfVideoMemory);
    // Hardware: opened, scene failed, released and closed, warning; software: the same; then the
    // start-up gives up, closes nothing more (nothing is open) and reports that the game ends.
    std::vector<std::string> expected = {"enumerate",    "open hardware", "create scene",  "release scene",
                                         "close",        "open software", "create scene", "release scene",
                                         "close"};
    EXPECT_EQ(fake.calls, expected);
    std::vector<std::pair<int32_t, int32_t>> reports = {{DeviceOutOfVideoMemory, DeviceErrorFallsBack},
                                                       {DeviceOutOfVideoMemory, DeviceErrorExits}};
    EXPECT_EQ(fake.reports, reports);
    EXPECT_EQ(app.isReady, 0);
    EXPECT_TRUE(session.catalogue.drivers.empty());
}

TEST_F(RenderSessionTest, AFailingSoftwareDeviceEndsTheStartWithoutAWarning)
{
    fake.enumeration = OneDisplay({Device(DeviceKind::SoftwareRasterizer, "Soft")}, 32);
    fake.softwareOpen = RenderNoDepthBuffer;
    ASSERT_EQ(StartRenderDevice(session, app), RenderNoDepthBuffer);
    std::vector<std::pair<int32_t, int32_t>> reports = {{RenderNoDepthBuffer, DeviceErrorExits}};
    EXPECT_EQ(fake.reports, reports);
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "open software"), 1);
}

TEST_F(RenderSessionTest, AHardwareOnlyMachineHasNothingToFallBackTo)
{
    fake.enumeration = OneDisplay({Device(DeviceKind::OpenGlHardware, "Card")}, 32);
    fake.hardwareOpen = RenderNoWindow;
    ASSERT_EQ(StartRenderDevice(session, app), RenderNoWindow);
    std::vector<std::pair<int32_t, int32_t>> reports = {{RenderNoWindow, DeviceErrorFallsBack},
                                                       {RenderNoWindow, DeviceErrorExits}};
    EXPECT_EQ(fake.reports, reports);
}

TEST_F(RenderSessionTest, ADesktopOfEightBitsStopsTheStartBeforeAnythingOpens)
{
    fake.enumeration = OneDisplay({Device(DeviceKind::OpenGlHardware, "Card")}, 8);
    fake.desktopBits = 8;
    ASSERT_EQ(StartRenderDevice(session, app), RenderDesktopTooFewBits);
    std::vector<std::pair<int32_t, int32_t>> reports = {{RenderDesktopTooFewBits, DeviceErrorExits}};
    EXPECT_EQ(fake.reports, reports);
    std::vector<std::string> expected = {"enumerate"};
    EXPECT_EQ(fake.calls, expected);
}

TEST_F(RenderSessionTest, NoUsableDeviceIsReportedAsTheCataloguesFailure)
{
    fake.enumeration = DeviceEnumeration{};
    ASSERT_EQ(StartRenderDevice(session, app), CatalogueNothingUsable);
    std::vector<std::pair<int32_t, int32_t>> reports = {{CatalogueNothingUsable, DeviceErrorExits}};
    EXPECT_EQ(fake.reports, reports);
}

TEST_F(RenderSessionTest, ReopeningPutsTheWindowBackWhereThePlayerLeftIt)
{
    ASSERT_EQ(StartRenderDevice(session, app), DeviceOk);
    fake.calls.clear();
    ASSERT_EQ(ReopenRenderDevice(session, app), DeviceOk);
    std::vector<std::string> expected = {"read placement", "release scene", "close", "open hardware", "create scene"};
    EXPECT_EQ(fake.calls, expected);
    EXPECT_EQ(fake.requests.back().placement.width, 800);
    EXPECT_EQ(fake.requests.back().placement.x, 40);

    // Full screen: the mode of the catalogue's choice, and the saved place is kept as it was.
    app.windowed = 0;
    fake.calls.clear();
    ASSERT_EQ(ReopenRenderDevice(session, app), DeviceOk);
    EXPECT_EQ(fake.calls.front(), "release scene");
    EXPECT_EQ(fake.requests.back().flags & RenderFullScreen, static_cast<uint32_t>(RenderFullScreen));
    EXPECT_EQ(fake.requests.back().mode.width, 1024);
    EXPECT_TRUE(fake.reports.empty());
}

TEST_F(RenderSessionTest, AFailedReopenIsReportedAsTheEnd)
{
    ASSERT_EQ(StartRenderDevice(session, app), DeviceOk);
    fake.close = RenderReferencesLeft;
    EXPECT_EQ(ReopenRenderDevice(session, app), RenderReferencesLeft);
    std::vector<std::pair<int32_t, int32_t>> reports = {{RenderReferencesLeft, DeviceErrorExits}};
    EXPECT_EQ(fake.reports, reports);
}

TEST_F(RenderSessionTest, ClosingReleasesTheSceneClosesTheDeviceAndStopsRendering)
{
    ASSERT_EQ(StartRenderDevice(session, app), DeviceOk);
    fake.calls.clear();
    CloseRenderDevice(session, app);
    std::vector<std::string> expected = {"release scene", "close"};
    EXPECT_EQ(fake.calls, expected);
    EXPECT_EQ(app.isActive, 0);
    EXPECT_EQ(app.isReady, 0);
    EXPECT_TRUE(session.catalogue.drivers.empty());

    // Closing again finds nothing open.
    fake.calls.clear();
    CloseRenderDevice(session, app);
    EXPECT_TRUE(fake.calls.empty());
}
