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

const DeviceEntry& CurrentDevice(const DeviceCatalogue& catalogue)
{
    int32_t driver = -1;
    int32_t device = -1;
    EXPECT_EQ(GetCurrentDevice(catalogue, driver, device), DeviceOk);
    return catalogue.drivers.at(driver).devices.at(device);
}

}  // namespace

TEST(DeviceCatalogue, PrefersTheHardwareDeviceInAWindowOnTheDesktopsDepth)
{
    DeviceEnumeration enumeration;
    enumeration.drivers.push_back(
        Display(0, 32, {Software("Software rasterizer"), Hardware("Radeon")}, CommonModes()));
    DeviceCatalogue catalogue;
    ASSERT_EQ(BuildDeviceCatalogue(catalogue, enumeration, AcceptEveryDevice, 32), DeviceOk);

    const DeviceEntry& chosen = CurrentDevice(catalogue);
    EXPECT_STREQ(chosen.name, "Radeon");
    EXPECT_EQ(chosen.hardware, 1);
    EXPECT_EQ(chosen.windowedChoice, 1);
    EXPECT_EQ(chosen.canRenderWindowed, 1);
    // 8-bit modes are never listed; the names carry width, height and depth.
    ASSERT_EQ(chosen.modes.size(), 4u);
    EXPECT_STREQ(chosen.modes[0].name, "1024 x 768 x 32");
    EXPECT_STREQ(chosen.modes[3].name, "640 x 480 x 16");
}

TEST(DeviceCatalogue, ChoosesSixHundredFortyByFourEightyBySixteenForFullScreenWhereverItIsListed)
{
    const std::vector<std::vector<DisplayMode>> orders = {
        {Mode(640, 480, 16), Mode(1024, 768, 32), Mode(800, 600, 16)},
        {Mode(1024, 768, 32), Mode(800, 600, 16), Mode(640, 480, 16)},
        {Mode(1024, 768, 32), Mode(640, 480, 16), Mode(640, 480, 32)},
    };
    for (const std::vector<DisplayMode>& modes : orders) {
        DeviceEnumeration enumeration;
        enumeration.drivers.push_back(Display(0, 32, {Hardware("Radeon")}, modes));
        DeviceCatalogue catalogue;
        ASSERT_EQ(BuildDeviceCatalogue(catalogue, enumeration, AcceptEveryDevice, 32), DeviceOk);
        const DeviceEntry& chosen = CurrentDevice(catalogue);
        EXPECT_STREQ(chosen.modes.at(chosen.chosenMode).name, "640 x 480 x 16");
    }
    // Without it, the first mode the device can render to.
    DeviceEnumeration enumeration;
    enumeration.drivers.push_back(
        Display(0, 32, {Hardware("Radeon", RenderTo32Bits)}, {Mode(640, 480, 16), Mode(800, 600, 32)}));
    DeviceCatalogue catalogue;
    ASSERT_EQ(BuildDeviceCatalogue(catalogue, enumeration, AcceptEveryDevice, 32), DeviceOk);
    const DeviceEntry& chosen = CurrentDevice(catalogue);
    EXPECT_STREQ(chosen.modes.at(chosen.chosenMode).name, "800 x 600 x 32");
}

TEST(DeviceCatalogue, AnEightBitDesktopLeavesOnlyFullScreen)
{
    DeviceEnumeration enumeration;
    enumeration.drivers.push_back(Display(0, 8, {Hardware("Radeon"), Software("Software rasterizer")}, CommonModes()));
    DeviceCatalogue catalogue;
    ASSERT_EQ(BuildDeviceCatalogue(catalogue, enumeration, AcceptEveryDevice, 8), DeviceOk);
    const DeviceEntry& chosen = CurrentDevice(catalogue);
    EXPECT_EQ(chosen.hardware, 1);
    EXPECT_EQ(chosen.canRenderWindowed, 0);
    EXPECT_EQ(chosen.windowedChoice, 0);
}

TEST(DeviceCatalogue, SecondaryDisplaysLendOnlyTheirHardwareAndTheNullDeviceIsNeverListed)
{
    DeviceEnumeration enumeration;
    enumeration.drivers.push_back(Display(0, 32, {Software("Software rasterizer")}, CommonModes()));
    enumeration.drivers.push_back(Display(
        1, 32, {Software("Second software"), Hardware("Second card"), Software("Null", DeviceKind::Null)},
        CommonModes()));
    DeviceCatalogue catalogue;
    ASSERT_EQ(BuildDeviceCatalogue(catalogue, enumeration, AcceptEveryDevice, 32), DeviceOk);
    ASSERT_EQ(catalogue.drivers.size(), 2u);
    ASSERT_EQ(catalogue.drivers[1].devices.size(), 1u);
    EXPECT_STREQ(catalogue.drivers[1].devices[0].name, "Second card");

    // The second display's hardware device wins the first pass, hardware in a window.
    const DeviceEntry& chosen = CurrentDevice(catalogue);
    EXPECT_STREQ(chosen.name, "Second card");
    EXPECT_EQ(catalogue.currentDriver, 1);
    EXPECT_EQ(chosen.windowedChoice, 1);
}

TEST(DeviceCatalogue, ADeviceWithoutModesIsDroppedAndNeverLeftAsItsDriversChoice)
{
    // The hardware device renders only to 16 bits, and the display offers only 32-bit modes.
    DeviceEnumeration enumeration;
    enumeration.drivers.push_back(Display(0, 32, {Hardware("Old card", RenderTo16Bits), Software("Software rasterizer")},
                                          {Mode(1024, 768, 32), Mode(800, 600, 32)}));
    DeviceCatalogue catalogue;
    ASSERT_EQ(BuildDeviceCatalogue(catalogue, enumeration, AcceptEveryDevice, 32), DeviceOk);
    ASSERT_EQ(catalogue.drivers[0].devices.size(), 1u);
    EXPECT_EQ(catalogue.drivers[0].currentDevice, 0);
    EXPECT_STREQ(CurrentDevice(catalogue).name, "Software rasterizer");
}

TEST(DeviceCatalogue, SoftwareOnlySelectionSkipsTheHardwareAfterItFailed)
{
    DeviceEnumeration enumeration;
    enumeration.drivers.push_back(Display(0, 32, {Hardware("Radeon"), Software("Software rasterizer")}, CommonModes()));
    DeviceCatalogue catalogue;
    ASSERT_EQ(BuildDeviceCatalogue(catalogue, enumeration, AcceptEveryDevice, 32), DeviceOk);
    ASSERT_EQ(SelectDefaultDevice(catalogue, true, 32), DeviceOk);
    const DeviceEntry& chosen = CurrentDevice(catalogue);
    EXPECT_STREQ(chosen.name, "Software rasterizer");
    EXPECT_EQ(chosen.hardware, 0);
    EXPECT_EQ(chosen.windowedChoice, 1);

    // With only hardware there is nothing to fall back to.
    DeviceEnumeration hardwareOnly;
    hardwareOnly.drivers.push_back(Display(0, 32, {Hardware("Radeon")}, CommonModes()));
    ASSERT_EQ(BuildDeviceCatalogue(catalogue, hardwareOnly, AcceptEveryDevice, 32), DeviceOk);
    EXPECT_EQ(SelectDefaultDevice(catalogue, true, 32), CatalogueNoDevice);
}

TEST(DeviceCatalogue, ReportsWhyNothingCouldBeChosen)
{
    struct Case {
        const char* what;
        DeviceEnumeration enumeration;
        DeviceConfirm confirm;
        int32_t expected;
    };
    auto refuseAll = [](const DriverCaps&, const DeviceDescription&) { return DeviceFailed; };

    std::vector<Case> cases;
    cases.push_back({"no display system", {}, AcceptEveryDevice, CatalogueNoLibrary});
    cases.back().enumeration.libraryLoaded = 0;
    cases.push_back({"no drivers at all", {}, AcceptEveryDevice, CatalogueNothingUsable});
    Case nullOnly{"only a null device", {}, AcceptEveryDevice, CatalogueNothingUsable};
    nullOnly.enumeration.drivers.push_back(Display(0, 32, {Software("Null", DeviceKind::Null)}, CommonModes()));
    cases.push_back(nullOnly);
    Case refused{"every device refused", {}, refuseAll, CatalogueNoDevice};
    refused.enumeration.drivers.push_back(Display(0, 32, {Hardware("Radeon")}, CommonModes()));
    cases.push_back(refused);
    Case referenceRefused{"reference rasterizer seen but refused", {}, AcceptEveryDevice,
                          CatalogueNoDeviceReferenceSeen};
    referenceRefused.enumeration.drivers.push_back(
        Display(0, 32, {Software("Reference", DeviceKind::ReferenceRasterizer)}, {Mode(320, 200, 8)}));
    cases.push_back(referenceRefused);

    for (const Case& c : cases) {
        DeviceCatalogue catalogue;
        EXPECT_EQ(BuildDeviceCatalogue(catalogue, c.enumeration, c.confirm, 32), c.expected) << c.what;
        int32_t driver = 0;
        int32_t device = 0;
        EXPECT_EQ(GetCurrentDevice(catalogue, driver, device), CatalogueNothingUsable) << c.what;
    }
}

TEST(DeviceCatalogue, ADriverThatCannotDrawIntoWindowsIsOnlyChosenFullScreen)
{
    DeviceEnumeration enumeration;
    enumeration.drivers.push_back(Display(0, 32, {Hardware("Radeon")}, CommonModes()));
    enumeration.drivers[0].hardwareCaps.canRenderWindowed = 0;
    DeviceCatalogue catalogue;
    ASSERT_EQ(BuildDeviceCatalogue(catalogue, enumeration, AcceptEveryDevice, 32), DeviceOk);
    EXPECT_EQ(CurrentDevice(catalogue).windowedChoice, 0);

    FreeDeviceCatalogue(catalogue);
    int32_t driver = 0;
    int32_t device = 0;
    EXPECT_EQ(GetCurrentDevice(catalogue, driver, device), CatalogueNothingUsable);
    EXPECT_TRUE(catalogue.drivers.empty());
}
