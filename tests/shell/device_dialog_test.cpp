#include "shell/device_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../device/fake_enumeration.h"
#include "device/device_results.h"

namespace {

// Two displays: the primary with a hardware device and the software rasterizer, a second one
// with its hardware device only.
DeviceCatalogue TwoDisplays()
{
    DeviceEnumeration enumeration;
    const std::vector<DisplayMode> modes = {Mode(1024, 768, 32), Mode(640, 480, 16), Mode(800, 600, 32)};
    enumeration.drivers.push_back(
        Display(0, 32, {Hardware("OpenGL hardware"), Software("Software rasterizer")}, modes));
    enumeration.drivers.push_back(Display(1, 32, {Hardware("OpenGL hardware")}, modes));
    DeviceCatalogue catalogue;
    EXPECT_EQ(BuildDeviceCatalogue(catalogue, enumeration, AcceptEveryDevice, 32), DeviceOk);
    return catalogue;
}

std::vector<std::string> Strings(std::initializer_list<const char*> texts)
{
    return std::vector<std::string>(texts.begin(), texts.end());
}

}  // namespace

TEST(DeviceDialog, OpensOnTheCurrentChoiceWithWindowedModeFirst)
{
    DeviceCatalogue catalogue = TwoDisplays();
    DeviceDialog dialog;
    ASSERT_TRUE(OpenDeviceDialog(dialog, catalogue, 1, 32));
    EXPECT_EQ(dialog.lists.drivers, Strings({"Primary display", "Second display"}));
    EXPECT_EQ(dialog.lists.selectedDriver, 0);
    EXPECT_EQ(dialog.lists.devices, Strings({"OpenGL hardware", "Software rasterizer"}));
    EXPECT_EQ(dialog.lists.selectedDevice, 0);
    EXPECT_EQ(dialog.lists.modes, Strings({"Windowed mode", "1024 x 768 x 32", "640 x 480 x 16", "800 x 600 x 32"}));
    EXPECT_EQ(dialog.lists.selectedMode, 0);

    // Opened while full screen: the chosen mode is selected, the 640 x 480 x 16 one.
    DeviceDialog fullScreen;
    ASSERT_TRUE(OpenDeviceDialog(fullScreen, catalogue, 0, 32));
    EXPECT_EQ(fullScreen.lists.selectedMode, 2);
}

TEST(DeviceDialog, OkWithoutAChangeReopensNothing)
{
    DeviceCatalogue catalogue = TwoDisplays();
    DeviceDialog dialog;
    ASSERT_TRUE(OpenDeviceDialog(dialog, catalogue, 1, 32));
    // Picking what is already chosen is no change.
    SelectDriverItem(dialog, catalogue, 0);
    SelectDeviceItem(dialog, catalogue, 0);
    SelectModeItem(dialog, catalogue, 0);
    PressDeviceOk(dialog, catalogue);
    EXPECT_EQ(dialog.result, DeviceDialogUnchanged);
}

TEST(DeviceDialog, OkMakesAChangedChoiceTheCatalogues)
{
    DeviceCatalogue catalogue = TwoDisplays();
    DeviceDialog dialog;
    ASSERT_TRUE(OpenDeviceDialog(dialog, catalogue, 1, 32));
    SelectModeItem(dialog, catalogue, 3);  // 800 x 600 x 32, full screen
    EXPECT_EQ(dialog.lists.selectedMode, 3);
    EXPECT_EQ(dialog.working.windowed, 0);
    PressDeviceOk(dialog, catalogue);
    EXPECT_EQ(dialog.result, DeviceDialogChanged);
    const DeviceEntry& device = catalogue.drivers[0].devices[0];
    EXPECT_EQ(device.windowedChoice, 0);
    EXPECT_STREQ(device.modes[device.chosenMode].name, "800 x 600 x 32");

    // Cancel leaves the catalogue alone.
    DeviceDialog cancelled;
    ASSERT_TRUE(OpenDeviceDialog(cancelled, catalogue, 0, 32));
    SelectDeviceItem(cancelled, catalogue, 1);
    PressDeviceCancel(cancelled);
    EXPECT_EQ(cancelled.result, DeviceDialogUnchanged);
    EXPECT_EQ(catalogue.drivers[0].currentDevice, 0);
}

TEST(DeviceDialog, SecondDisplayOffersFullScreenModesOnly)
{
    DeviceCatalogue catalogue = TwoDisplays();
    DeviceDialog dialog;
    ASSERT_TRUE(OpenDeviceDialog(dialog, catalogue, 1, 32));
    SelectDriverItem(dialog, catalogue, 1);
    EXPECT_EQ(dialog.lists.selectedDriver, 1);
    EXPECT_EQ(dialog.lists.devices, Strings({"OpenGL hardware"}));
    EXPECT_EQ(dialog.lists.modes, Strings({"1024 x 768 x 32", "640 x 480 x 16", "800 x 600 x 32"}));
    // Its device's own choice came with it: full screen in its chosen mode.
    EXPECT_EQ(dialog.working.windowed, 0);
    EXPECT_EQ(dialog.lists.selectedMode, 1);
    PressDeviceOk(dialog, catalogue);
    EXPECT_EQ(dialog.result, DeviceDialogChanged);
    EXPECT_EQ(catalogue.currentDriver, 1);
}

TEST(DeviceDialog, CannotOpenWithoutACatalogue)
{
    DeviceCatalogue empty;
    DeviceDialog dialog;
    EXPECT_FALSE(OpenDeviceDialog(dialog, empty, 1, 32));
}
