#include "device/device_catalogue.h"

#include <gtest/gtest.h>

#include <string>

#include "device/device_results.h"
#include "fake_enumeration.h"

namespace {

std::vector<DisplayMode> CommonModes()
{
    return {Mode(1024, 768, 32), Mode(800, 600, 16), Mode(640, 480, 32), Mode(640, 480, 16), Mode(1280, 1024, 8)};
}

// The catalogue of one display (more may be added), built on a desktop of that depth.
struct CatalogueFixture {
    DeviceEnumeration enumeration;
    DeviceCatalogue catalogue;

    CatalogueFixture(int32_t desktopBits, std::vector<EnumeratedDevice> devices,
                     std::vector<DisplayMode> modes = CommonModes())
    {
        enumeration.drivers.push_back(Display(0, desktopBits, std::move(devices), std::move(modes)));
    }

    const DeviceEntry& Build(int32_t desktopBits = 32)
    {
        EXPECT_EQ(BuildDeviceCatalogue(catalogue, enumeration, AcceptEveryDevice, desktopBits), DeviceOk);
        int32_t driver = -1, device = -1;
        EXPECT_EQ(GetCurrentDevice(catalogue, driver, device), DeviceOk);
        return catalogue.drivers.at(driver).devices.at(device);
    }
};

}  // namespace

TEST(DeviceCatalogue, ChoosesTheHardwareDeviceInAWindowWhenTheDesktopAllowsIt)
{
    struct Case {
        const char* what;
        int32_t desktopBits, driverWindowed;
        int32_t windowed, canRenderWindowed;
    };
    for (const Case& c : {Case{"32-bit desktop", 32, 1, 1, 1}, Case{"8-bit desktop", 8, 1, 0, 0},
                          Case{"driver that cannot draw into windows", 32, 0, 0, 1}}) {
        CatalogueFixture fixture(c.desktopBits, {Software("Software rasterizer"), Hardware("Radeon")});
        fixture.enumeration.drivers[0].hardwareCaps.canRenderWindowed = c.driverWindowed;
        const DeviceEntry& chosen = fixture.Build(c.desktopBits);
        EXPECT_STREQ(chosen.name, "Radeon") << c.what;
        EXPECT_EQ(chosen.hardware, 1) << c.what;
        EXPECT_EQ(chosen.windowedChoice, c.windowed) << c.what;
        EXPECT_EQ(chosen.canRenderWindowed, c.canRenderWindowed) << c.what;
        // 8-bit modes are never listed; the names carry width, height and depth.
        ASSERT_EQ(chosen.modes.size(), 4u);
        EXPECT_STREQ(chosen.modes[0].name, "1024 x 768 x 32");
        EXPECT_STREQ(chosen.modes[3].name, "640 x 480 x 16");
    }
}

TEST(DeviceCatalogue, ReportsWhyNothingCouldBeChosenAndFreesToNothing)
{
    struct Case {
        const char* what;
        std::vector<EnumeratedDevice> devices;
        std::vector<DisplayMode> modes;
        bool refuseAll, library;
        int32_t expected;
    };
    const Case cases[] = {
        {"no display system", {}, {}, false, false, CatalogueNoLibrary},
        {"no devices at all", {}, CommonModes(), false, true, CatalogueNothingUsable},
        {"only a null device", {Software("Null", DeviceKind::Null)}, CommonModes(), false, true, CatalogueNothingUsable},
        {"every device refused", {Hardware("Radeon")}, CommonModes(), true, true, CatalogueNoDevice},
        {"reference rasterizer seen but refused", {Software("Reference", DeviceKind::ReferenceRasterizer)},
         {Mode(320, 200, 8)}, false, true, CatalogueNoDeviceReferenceSeen},
    };
    for (const Case& c : cases) {
        CatalogueFixture fixture(32, c.devices, c.modes);
        fixture.enumeration.libraryLoaded = c.library;
        DeviceConfirm confirm = AcceptEveryDevice;
        if (c.refuseAll)
            confirm = [](const DriverCaps&, const DeviceDescription&) { return DeviceFailed; };
        EXPECT_EQ(BuildDeviceCatalogue(fixture.catalogue, fixture.enumeration, confirm, 32), c.expected) << c.what;
        int32_t driver = 0, device = 0;
        EXPECT_EQ(GetCurrentDevice(fixture.catalogue, driver, device), CatalogueNothingUsable) << c.what;
    }
    CatalogueFixture fixture(32, {Hardware("Radeon")});
    fixture.Build();
    FreeDeviceCatalogue(fixture.catalogue);
    int32_t driver = 0, device = 0;
    EXPECT_EQ(GetCurrentDevice(fixture.catalogue, driver, device), CatalogueNothingUsable);
    EXPECT_TRUE(fixture.catalogue.drivers.empty());
}
