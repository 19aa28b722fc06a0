#include "shell/device_errors.h"

#include <gtest/gtest.h>

#include "device/device_results.h"

TEST(DeviceErrors, EveryCodeHasItsFixedMessage)
{
    struct Case {
        uint32_t code;
        const char* message;
    };
    const Case cases[] = {
        {0x81000001u, "Enumeration failed. Your system may be in an\nunstable state and need to be rebooted"},
        {0x81000002u, "Could not find any compatible devices"},
        {0x81000003u, "Could not find any compatible Direct3D\ndevices."},
        {0x82000000u, "Generic initialization error"},
        {0x82000001u, "No DirectDraw"},
        {0x82000002u, "Could not set Cooperative Level"},
        {0x82000003u, "No Direct3D"},
        {0x82000004u, "No 3D Device"},
        {0x82000005u, "No ZBuffer"},
        {0x82000006u, "No Viewport"},
        {0x82000007u, "No primary"},
        {0x82000008u, "No Clipper"},
        {0x82000009u, "Bad display mode"},
        {0x8200000Au, "No backbuffer"},
        {0x8200000Bu, "Nonzerorefcount"},
        {0x8200000Cu, "No render target"},
        {0x8200000Du, "This program requires a 16-bit (or higher) display mode\nto run in a window.\n\nPlease switch "
                      "your desktop settings accordingly."},
        {0x8007000Eu, "Not enough memory!"},
        {0x8876017Cu, "There was insufficient video memory to use the\nhardware device."},
        // Codes without a message of their own.
        {0x81000004u, "Generic application error"},
        {0x8200000Eu, "Generic application error"},
        {0x80004005u, "Generic application error"},
        {0u, "Generic application error"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(DeviceErrorMessage(static_cast<int32_t>(c.code)), c.message) << std::hex << c.code;
}

TEST(DeviceErrors, TheModeSaysWhatHappensNextAfterWhatTheDriverSaid)
{
    EXPECT_EQ(DeviceErrorText(RenderNoDepthBuffer, DeviceErrorExits, ""), "No ZBuffer\n\nThis program will now exit.");
    EXPECT_EQ(DeviceErrorText(RenderNo3dDevice, DeviceErrorFallsBack, ""),
              "No 3D Device\n\nSwitching to software rasterizer.");
    EXPECT_EQ(DeviceErrorText(DeviceOutOfVideoMemory, DeviceErrorFallsBack, ""),
              "There was insufficient video memory to use the\nhardware device.\n\nSwitching to software rasterizer.");
    EXPECT_EQ(DeviceErrorText(RenderNoWindow, DeviceErrorExits, "Could not find a valid EGL device to initialize"),
              "No primary\nThe driver says: Could not find a valid EGL device to initialize\n\nThis program will now exit.");
}
