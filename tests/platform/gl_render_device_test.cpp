// The render device over SDL2 and OpenGL, opened offscreen.

#include "device/render_device.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "../device/bitmap_bytes.h"
#include "offscreen_device.h"

namespace {

std::vector<uint8_t> plainBitmap;

bool FindPlainBitmap(const char* name, const uint8_t*& bytes, size_t& size)
{
    if (std::string(name) != "plain.bmp")
        return false;
    bytes = plainBitmap.data();
    size = plainBitmap.size();
    return true;
}

void AddPlainTexture(TextureStore& store)
{
    plainBitmap = MakeBitmap24(4, 4, [](int, int) { return 0x30C060u; });
    std::string whyNot;
    ASSERT_EQ(AddTexture(store, "plain.bmp", 0, 0, {FindPlainBitmap, DecodeBitmapFile}, whyNot), DeviceOk) << whyNot;
}

// A textured board filling the middle of the view; returns the colour in the picture's centre.
Pixel DrawTexturedBoard(RenderDevice& device)
{
    DrawDevice& draw = *RenderDeviceDrawDevice(device);
    Matrix4 view = IdentityMatrix();
    SetViewMatrix(view, {0, 0, 0}, {0, 0, 1}, {0, 1, 0});
    draw.SetViewTransform(view);
    draw.SetWorldTransform(IdentityMatrix());
    draw.Clear(0x0080C0FFu, 1.0f);
    EXPECT_TRUE(draw.BeginScene());
    draw.SetMaterial(InitMaterial(1, 1, 1));
    draw.SetTexture(draw.FindTexture("PLAIN.BMP"));
    SceneVertex vertices[4] = {{-5, 5, 10, 0, 1, 0, 0, 0},
                               {5, 5, 10, 0, 1, 0, 1, 0},
                               {5, -5, 10, 0, 1, 0, 1, 1},
                               {-5, -5, 10, 0, 1, 0, 0, 1}};
    const uint16_t indexes[6] = {0, 1, 2, 0, 2, 3};
    draw.DrawIndexed(PrimitiveKind::TriangleList, vertices, 4, indexes, 6);
    draw.EndScene();
    std::vector<uint8_t> rgba;
    EXPECT_TRUE(ReadRenderedPixels(device, rgba));
    return PixelAt(rgba, device.renderWidth, device.renderWidth / 2, device.renderHeight / 2);
}

}  // namespace

TEST(RenderDevice, AWindowedDeviceRendersItsWholeClientAreaWithDeepDepth)
{
    UseOffscreenVideo();
    RenderDevice device;
    ASSERT_EQ(RenderDeviceOpen(device, OffscreenRequest(320, 240)), DeviceOk);
    EXPECT_EQ(device.isOpen, 1);
    EXPECT_EQ(device.fullScreen, 0);
    EXPECT_EQ(device.renderWidth, 320);
    EXPECT_EQ(device.renderHeight, 240);
    EXPECT_EQ(device.viewportRect.left, 0);
    EXPECT_EQ(device.viewportRect.right, 320);
    EXPECT_EQ(device.viewportRect.bottom, 240);
    EXPECT_GE(device.depthBits, 24);
    EXPECT_EQ(device.backBuffer, 1);
    EXPECT_NE(device.renderer[0], '\0');
    EXPECT_NE(RenderDeviceDrawDevice(device), nullptr);

    // Moving the window moves where the picture is shown, not what is rendered.
    RenderDeviceMove(device, 30, 40);
    EXPECT_EQ(device.screenRect.left, 30);
    EXPECT_EQ(device.screenRect.top, 40);
    EXPECT_EQ(device.screenRect.right, 350);
    EXPECT_EQ(device.screenRect.bottom, 280);
    EXPECT_EQ(device.viewportRect.left, 0);
    EXPECT_EQ(device.viewportRect.right, 320);
    EXPECT_EQ(RenderDeviceShowFrame(device), DeviceOk);
    EXPECT_EQ(RenderDeviceRestoreSurfaces(device), DeviceOk);

    EXPECT_EQ(RenderDeviceClose(device), DeviceOk);
    EXPECT_EQ(device.isOpen, 0);
    EXPECT_EQ(device.window, nullptr);
    EXPECT_EQ(RenderDeviceDrawDevice(device), nullptr);
}

TEST(RenderDevice, RefusesToOpenWithoutAWindowOrAModeAndStaysClosed)
{
    UseOffscreenVideo();
    RenderDevice device;
    EXPECT_EQ(RenderDeviceOpen(device, OffscreenRequest(0, 240)), DeviceInvalidArgument);
    RenderDeviceRequest fullScreen = OffscreenRequest(320, 240);
    fullScreen.flags |= RenderFullScreen;
    EXPECT_EQ(RenderDeviceOpen(device, fullScreen), DeviceInvalidArgument);
    RenderDeviceRequest missingDisplay = OffscreenRequest(320, 240);
    missingDisplay.displayIndex = 7;
    EXPECT_EQ(RenderDeviceOpen(device, missingDisplay), RenderNoDisplaySystem);
    EXPECT_EQ(device.isOpen, 0);
    EXPECT_EQ(device.window, nullptr);
    EXPECT_EQ(device.videoStarted, 0);
}

TEST(RenderDevice, ANeverOpenedDeviceClosesQuietlyAndHasNothingToShow)
{
    RenderDevice device;
    EXPECT_EQ(RenderDeviceClose(device), DeviceOk);
    EXPECT_EQ(RenderDeviceShowFrame(device), RenderNoFrontSurface);
    std::vector<uint8_t> rgba;
    EXPECT_FALSE(ReadRenderedPixels(device, rgba));
}

TEST(RenderDevice, FullScreenRendersTheChosenModesSize)
{
    UseOffscreenVideo();
    RenderDevice device;
    RenderDeviceRequest request = OffscreenRequest(320, 240);
    request.flags |= RenderFullScreen;
    request.mode = {800, 600, 32, 60, "800 x 600 x 32"};
    ASSERT_EQ(RenderDeviceOpen(device, request), DeviceOk);
    EXPECT_EQ(device.fullScreen, 1);
    EXPECT_EQ(device.renderWidth, 800);
    EXPECT_EQ(device.renderHeight, 600);
    EXPECT_EQ(device.viewportRect.right, 800);
    // Full screen has no window to move.
    RenderDeviceMove(device, 30, 40);
    EXPECT_EQ(device.screenRect.left, 0);
    EXPECT_EQ(RenderDeviceClose(device), DeviceOk);
}

// Offscreen a window cannot change its size, so it is made anew; a real display keeps it (the
// real-window tests see the same window through many toggles).
TEST(RenderDevice, ReopeningWithTheWindowKeptMakesEveryTextureAgain)
{
    UseOffscreenVideo();
    RenderDevice device;
    TextureStore store;
    AddPlainTexture(store);
    // Windowed, full screen, back in the window at its old size, then at a new one.
    struct Open {
        bool fullScreen;
        int32_t width, height;
    };
    for (Open open : {Open{false, 160, 120}, Open{true, 800, 600}, Open{false, 160, 120}, Open{false, 200, 100}}) {
        SCOPED_TRACE(std::to_string(open.width) + (open.fullScreen ? " full screen" : " windowed"));
        RenderDeviceRequest request = OffscreenRequest(open.fullScreen ? 160 : open.width, open.fullScreen ? 120 : open.height);
        if (open.fullScreen) {
            request.flags |= RenderFullScreen;
            request.mode = {800, 600, 32, 60, "800 x 600 x 32"};
        }
        ASSERT_EQ(RenderDeviceOpen(device, request), DeviceOk);
        EXPECT_EQ(device.renderWidth, open.width);
        EXPECT_EQ(device.renderHeight, open.height);
        ASSERT_EQ(CreateSceneResources(device, store), DeviceOk);
        EXPECT_NE(store.entries[0].deviceTexture, 0u);
        Pixel centre = DrawTexturedBoard(device);
        // The texture's green dominates, the sky is gone.
        EXPECT_GT(centre.green, centre.blue);
        EXPECT_GT(centre.green, centre.red);
        ReleaseSceneResources(device);
        EXPECT_EQ(store.entries[0].deviceTexture, 0u);
        EXPECT_EQ(RenderDeviceCloseKeepingWindow(device), DeviceOk);
        EXPECT_EQ(device.isOpen, 0);
    }
    EXPECT_EQ(RenderDeviceClose(device), DeviceOk);
    EXPECT_EQ(device.window, nullptr);
}

TEST(RenderDevice, AWindowedDeviceFollowsItsWindowsNewSize)
{
    UseOffscreenVideo();
    RenderDevice device;
    ASSERT_EQ(RenderDeviceOpen(device, OffscreenRequest(160, 120)), DeviceOk);
    // Offscreen, only the numbers follow: its drawing surface keeps its first size.
    SDL_SetWindowSize(device.window, 300, 200);
    RenderDeviceFollowWindowSize(device);
    EXPECT_EQ(device.renderWidth, 300);
    EXPECT_EQ(device.renderHeight, 200);
    EXPECT_EQ(device.viewportRect.right, 300);
    EXPECT_EQ(device.viewportRect.bottom, 200);
    EXPECT_EQ(RenderDeviceClose(device), DeviceOk);
}

TEST(RenderDevice, ClosingWithSceneResourcesHeldIsReportedAndLeavesNoStaleTexture)
{
    UseOffscreenVideo();
    RenderDevice device;
    TextureStore store;
    AddPlainTexture(store);
    ASSERT_EQ(RenderDeviceOpen(device, OffscreenRequest(160, 120)), DeviceOk);
    ASSERT_EQ(CreateSceneResources(device, store), DeviceOk);
    EXPECT_NE(TextureHandleOf(store, "plain.bmp"), NoTexture);
    EXPECT_EQ(RenderDeviceClose(device), RenderReferencesLeft);
    EXPECT_EQ(store.entries[0].deviceTexture, 0u);
    EXPECT_EQ(TextureHandleOf(store, "plain.bmp"), NoTexture);
}

TEST(RenderDevice, TheSoftwareRasterizerIsForcedForItsOpenAndOnlyForIt)
{
    UseOffscreenVideo();
    setenv("LIBGL_ALWAYS_SOFTWARE", "0", 1);
    unsetenv("GALLIUM_DRIVER");
    RenderDevice device;
    RenderDeviceRequest request = OffscreenRequest(160, 120);
    request.softwareRasterizer = 1;
    ASSERT_EQ(RenderDeviceOpen(device, request), DeviceOk);
    EXPECT_STREQ(std::getenv("LIBGL_ALWAYS_SOFTWARE"), "1");
    EXPECT_NE(std::string(device.renderer).find("llvmpipe"), std::string::npos) << device.renderer;
    EXPECT_EQ(RenderDeviceClose(device), DeviceOk);
    // What was set before is back.
    EXPECT_STREQ(std::getenv("LIBGL_ALWAYS_SOFTWARE"), "0");
    EXPECT_EQ(std::getenv("GALLIUM_DRIVER"), nullptr);
    unsetenv("LIBGL_ALWAYS_SOFTWARE");
}

TEST(DeviceEnumeration, TheDisplaysOfferTheSoftwareRasterizerAndModesToChooseFrom)
{
    UseOffscreenVideo();
    DeviceEnumeration enumeration;
    int32_t desktopBits = 0;
    ASSERT_EQ(EnumerateDisplayDevices(enumeration, desktopBits), DeviceOk);
    ASSERT_FALSE(enumeration.drivers.empty());
    EXPECT_GT(desktopBits, 8);
    const EnumeratedDriver& primary = enumeration.drivers[0];
    EXPECT_EQ(primary.primary, 1);
    ASSERT_FALSE(primary.displayModes.empty());
    for (const DisplayMode& mode : primary.displayModes)
        EXPECT_GT(mode.width, 0);
    bool software = false;
    for (const EnumeratedDevice& device : primary.devices)
        software = software || device.kind == DeviceKind::SoftwareRasterizer;
    EXPECT_TRUE(software);

    DeviceCatalogue catalogue;
    ASSERT_EQ(BuildDeviceCatalogue(catalogue, enumeration, AcceptEveryDevice, desktopBits), DeviceOk);
    int32_t driver = -1;
    int32_t device = -1;
    ASSERT_EQ(GetCurrentDevice(catalogue, driver, device), DeviceOk);
    EXPECT_EQ(catalogue.drivers[driver].devices[device].windowedChoice, 1);
}
