#include "shell/device_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
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

using Texts = std::vector<std::string>;

}  // namespace

TEST(DeviceDialog, OpensOnTheCurrentChoiceWithWindowedModeFirst)
{
    DeviceCatalogue catalogue = TwoDisplays();
    DeviceDialog dialog;
    ASSERT_TRUE(OpenDeviceDialog(dialog, catalogue, 1, 32));
    EXPECT_EQ(dialog.lists.drivers, (Texts{"Primary display", "Second display"}));
    EXPECT_EQ(dialog.lists.devices, (Texts{"OpenGL hardware", "Software rasterizer"}));
    EXPECT_EQ(dialog.lists.modes, (Texts{"Windowed mode", "1024 x 768 x 32", "640 x 480 x 16", "800 x 600 x 32"}));
    EXPECT_EQ(std::make_tuple(dialog.lists.selectedDriver, dialog.lists.selectedDevice, dialog.lists.selectedMode),
              std::make_tuple(0, 0, 0));
    // Opened while full screen: the chosen mode is selected, the 640 x 480 x 16 one.
    ASSERT_TRUE(OpenDeviceDialog(dialog, catalogue, 0, 32));
    EXPECT_EQ(dialog.lists.selectedMode, 2);
}

TEST(DeviceDialog, OnlyOkWithAChangedChoiceChangesTheCatalogue)
{
    DeviceCatalogue catalogue = TwoDisplays();
    DeviceDialog dialog;
    // Picking what is already chosen is no change.
    ASSERT_TRUE(OpenDeviceDialog(dialog, catalogue, 1, 32));
    SelectDriverItem(dialog, catalogue, 0);
    SelectDeviceItem(dialog, catalogue, 0);
    SelectModeItem(dialog, catalogue, 0);
    PressDeviceOk(dialog, catalogue);
    EXPECT_EQ(dialog.result, DeviceDialogUnchanged);
    // Cancel leaves the catalogue alone.
    ASSERT_TRUE(OpenDeviceDialog(dialog, catalogue, 1, 32));
    SelectDeviceItem(dialog, catalogue, 1);
    PressDeviceCancel(dialog);
    EXPECT_EQ(dialog.result, DeviceDialogUnchanged);
    EXPECT_EQ(catalogue.drivers[0].currentDevice, 0);

    ASSERT_TRUE(OpenDeviceDialog(dialog, catalogue, 1, 32));
    SelectModeItem(dialog, catalogue, 3);  // 800 x 600 x 32, full screen
    EXPECT_EQ(std::make_pair(dialog.lists.selectedMode, dialog.working.windowed), std::make_pair(3, 0));
    PressDeviceOk(dialog, catalogue);
    EXPECT_EQ(dialog.result, DeviceDialogChanged);
    const DeviceEntry& device = catalogue.drivers[0].devices[0];
    EXPECT_EQ(device.windowedChoice, 0);
    EXPECT_STREQ(device.modes[device.chosenMode].name, "800 x 600 x 32");
}
