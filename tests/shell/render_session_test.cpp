// The render session's own choices, with devices that fail where a test says so.

#include "shell/render_session.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "../device/fake_enumeration.h"
#include "../platform/offscreen_device.h"
#include "device/device_results.h"

namespace {

using Reports = std::vector<std::pair<int32_t, int32_t>>;

DeviceEnumeration OneDisplay(std::vector<EnumeratedDevice> devices, int32_t desktopBits = 32)
{
    DeviceEnumeration enumeration;
    enumeration.drivers.push_back(Display(0, desktopBits, std::move(devices), {Mode(1024, 768, 32)}));
    return enumeration;
}

}  // namespace

TEST(RenderSession, StartUpNeedsAUsableDeviceThatCanDrawInAWindow)
{
    DeviceCatalogue catalogue;
    EXPECT_EQ(BuildStartCatalogue(catalogue, OneDisplay({Hardware("Card"), Software("Soft")}), 32), DeviceOk);
    EXPECT_EQ(BuildStartCatalogue(catalogue, OneDisplay({Hardware("Card")}, 8), 8), RenderDesktopTooFewBits);
    EXPECT_EQ(BuildStartCatalogue(catalogue, DeviceEnumeration{}, 32), CatalogueNothingUsable);
}

TEST(RenderSession, OnlyAFailingHardwareDeviceFallsBackToTheSoftwareRasterizerWithOneWarning)
{
    UseOffscreenVideo();  // the fall back reads the desktop's depth
    struct Case {
        std::vector<EnumeratedDevice> devices;
        int32_t hardwareOpen, softwareOpen, result;
        std::vector<std::string> opens;
        Reports reports;
    };
    const Case cases[] = {
        {{Hardware("Card"), Software("Soft")}, RenderNo3dDevice, DeviceOk, DeviceOk, {"hardware", "software"},
         {{RenderNo3dDevice, DeviceErrorFallsBack}}},
        {{Hardware("Card"), Software("Soft")}, DeviceOutOfVideoMemory, DeviceOutOfVideoMemory, DeviceOutOfVideoMemory,
         {"hardware", "software"}, {{DeviceOutOfVideoMemory, DeviceErrorFallsBack}}},
        {{Software("Soft")}, DeviceOk, RenderNoDepthBuffer, RenderNoDepthBuffer, {"software"}, {}},
        {{Hardware("Card")}, RenderNoWindow, DeviceOk, RenderNoWindow, {"hardware"},
         {{RenderNoWindow, DeviceErrorFallsBack}}},
    };
    for (const Case& c : cases) {
        DeviceCatalogue catalogue;
        ASSERT_EQ(BuildStartCatalogue(catalogue, OneDisplay(c.devices), 32), DeviceOk);
        std::vector<std::string> opens;
        Reports reports;
        int32_t result = OpenFallingBackToSoftware(
            catalogue, [&reports](int32_t code, int32_t mode) { reports.emplace_back(code, mode); },
            [&](const DriverEntry&, const DeviceEntry& device) {
                opens.push_back(device.hardware ? "hardware" : "software");
                return device.hardware ? c.hardwareOpen : c.softwareOpen;
            });
        EXPECT_EQ(result, c.result) << c.devices.size() << " devices, " << c.hardwareOpen;
        EXPECT_EQ(opens, c.opens) << c.hardwareOpen;
        EXPECT_EQ(reports, c.reports) << c.hardwareOpen;
    }
}
