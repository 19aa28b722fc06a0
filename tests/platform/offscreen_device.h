#pragma once
// An open render device without a display: SDL's offscreen video driver gives a real OpenGL
// context (Mesa's), so the tests see the pictures the game would show.

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include <dlfcn.h>

#include "device/device_results.h"
#include "device/render_device.h"
#include "device/scene_resources.h"
#include "device/texture_store.h"
#include "platform/gl_draw_device.h"

// Mesa's drivers are loaded and unloaded again with every context, and keep a few bytes each
// time. Kept mapped for the whole test run, they can be named in the leak checker's report, and so
// be told apart from leaks of the game (tools/lsan-suppressions.txt).
inline void UseOffscreenVideo()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    for (const char* driver : {"libEGL_mesa.so.0", "libGLX_mesa.so.0", "libglapi.so.0",
                               "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
                               "/usr/lib/x86_64-linux-gnu/dri/kms_swrast_dri.so"})
        dlopen(driver, RTLD_NOW | RTLD_NODELETE);
}

inline RenderDeviceRequest OffscreenRequest(int32_t width, int32_t height, bool batching = true)
{
    RenderDeviceRequest request;
    request.placement = {0, 0, width, height, 1};
    request.batching = batching ? 1 : 0;
    return request;
}

// An opened device with its scene resources; closed again at the end of the test.
class OffscreenDevice {
public:
    OffscreenDevice(int32_t width, int32_t height, bool batching = true)
    {
        UseOffscreenVideo();
        openResult = RenderDeviceOpen(device, OffscreenRequest(width, height, batching));
        if (openResult == DeviceOk)
            sceneResult = CreateSceneResources(device, store);
    }
    ~OffscreenDevice()
    {
        ReleaseSceneResources(device);
        RenderDeviceClose(device);
    }
    OffscreenDevice(const OffscreenDevice&) = delete;
    OffscreenDevice& operator=(const OffscreenDevice&) = delete;

    bool Ready() const { return openResult == DeviceOk && sceneResult == DeviceOk; }
    DrawDevice& Draw() { return *RenderDeviceDrawDevice(device); }
    GlDrawDevice& Gl() { return *device.drawDevice; }

    std::vector<uint8_t> Picture()
    {
        std::vector<uint8_t> rgba;
        EXPECT_TRUE(ReadRenderedPixels(device, rgba));
        return rgba;
    }

    RenderDevice device;
    TextureStore store;
    int32_t openResult = DeviceFailed;
    int32_t sceneResult = DeviceFailed;
};

struct Pixel {
    int red, green, blue;
};

inline Pixel PixelAt(const std::vector<uint8_t>& rgba, int32_t width, int x, int y)
{
    size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
    return {rgba.at(at), rgba.at(at + 1), rgba.at(at + 2)};
}

inline ::testing::AssertionResult PixelIs(Pixel pixel, int red, int green, int blue, int tolerance = 3)
{
    if (std::abs(pixel.red - red) <= tolerance && std::abs(pixel.green - green) <= tolerance &&
        std::abs(pixel.blue - blue) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << pixel.red << ", " << pixel.green << ", " << pixel.blue
                                         << "), expected (" << red << ", " << green << ", " << blue << ")";
}

// The share of pixels whose red, green or blue differ by more than the tolerance.
inline double ShareOfDifferentPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int tolerance)
{
    if (a.size() != b.size() || a.empty())
        return 1.0;
    size_t different = 0;
    for (size_t i = 0; i < a.size(); i += 4) {
        for (size_t c = 0; c < 3; ++c) {
            if (std::abs(static_cast<int>(a[i + c]) - static_cast<int>(b[i + c])) > tolerance) {
                different += 1;
                break;
            }
        }
    }
    return static_cast<double>(different) / static_cast<double>(a.size() / 4);
}
