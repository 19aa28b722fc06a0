// The render device over an SDL2 window and an OpenGL 3.3 core context loaded with libepoxy.

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "device/device_results.h"
#include "device/gl_draw_device.h"
#include "device/render_device.h"
#include "device/texture_store.h"

namespace {

constexpr const char* AlwaysSoftwareSwitch = "LIBGL_ALWAYS_SOFTWARE";
constexpr const char* GalliumDriverSwitch = "GALLIUM_DRIVER";

// With near 1 m and far 50000 m a 16-bit depth buffer cannot tell the rails from the bed 0.1 m
// below them beyond a few tens of metres, nor the ground 1 m below the track beyond a few hundred:
// 24 bits is asked for first, and 16 accepted only where nothing deeper can be had.
constexpr int PreferredDepthBits = 24;
constexpr int FallbackDepthBits = 16;

void SetContextAttributes(uint32_t flags, int depthBits)
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (flags & RenderBackBuffer) != 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, (flags & RenderDepthBuffer) != 0 ? depthBits : 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, (flags & RenderStencil) != 0 ? 8 : 0);
}

SDL_Window* CreateWindow(const RenderDeviceRequest& request, bool fullScreen)
{
    uint32_t windowFlags = SDL_WINDOW_OPENGL;
    if (fullScreen || request.placement.hidden)
        windowFlags |= SDL_WINDOW_HIDDEN;
    if (fullScreen) {
        int position = static_cast<int>(SDL_WINDOWPOS_UNDEFINED_DISPLAY(request.displayIndex));
        return SDL_CreateWindow(request.title, position, position, request.mode.width, request.mode.height,
                                windowFlags);
    }
    return SDL_CreateWindow(request.title, request.placement.x, request.placement.y, request.placement.width,
                            request.placement.height, windowFlags);
}

int32_t Fail(RenderDevice& device, int32_t code)
{
    RenderDeviceClose(device);
    return code == DeviceFailed ? RenderGenericInitError : code;
}

void SaveSwitch(const char* name, int32_t& had, char (&value)[32])
{
    const char* current = std::getenv(name);
    had = current != nullptr ? 1 : 0;
    std::snprintf(value, sizeof value, "%s", current != nullptr ? current : "");
}

void PutSwitchBack(const char* name, int32_t had, const char* value)
{
    if (had)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

}  // namespace

void ForceSoftwareRasterizer(SavedSoftwareSwitches& saved)
{
    if (!saved.saved) {
        SaveSwitch(AlwaysSoftwareSwitch, saved.hadAlwaysSoftware, saved.alwaysSoftware);
        SaveSwitch(GalliumDriverSwitch, saved.hadGalliumDriver, saved.galliumDriver);
        saved.saved = 1;
    }
    setenv(AlwaysSoftwareSwitch, "1", 1);
    setenv(GalliumDriverSwitch, "llvmpipe", 1);
}

void RestoreSoftwareSwitches(SavedSoftwareSwitches& saved)
{
    if (!saved.saved)
        return;
    PutSwitchBack(AlwaysSoftwareSwitch, saved.hadAlwaysSoftware, saved.alwaysSoftware);
    PutSwitchBack(GalliumDriverSwitch, saved.hadGalliumDriver, saved.galliumDriver);
    saved = {};
}

int32_t RenderDeviceOpen(RenderDevice& device, const RenderDeviceRequest& request)
{
    RenderDeviceClose(device);
    bool fullScreen = (request.flags & RenderFullScreen) != 0;
    if (!fullScreen && (request.placement.width <= 0 || request.placement.height <= 0))
        return DeviceInvalidArgument;
    if (fullScreen && (request.mode.width <= 0 || request.mode.height <= 0))
        return DeviceInvalidArgument;
    device.fullScreen = fullScreen ? 1 : 0;
    device.displayIndex = request.displayIndex;

    // The display system. Mesa reads the software switches when the video subsystem loads its
    // OpenGL library, so they are set before it starts.
    if (request.softwareRasterizer) {
        ForceSoftwareRasterizer(device.savedSwitches);
        device.softwareRasterizer = 1;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return Fail(device, RenderNoDisplaySystem);
    device.videoStarted = 1;
    if (request.displayIndex < 0 || request.displayIndex >= SDL_GetNumVideoDisplays())
        return Fail(device, RenderNoDisplaySystem);

    // The window: its size is the render size.
    SetContextAttributes(request.flags, PreferredDepthBits);
    device.window = CreateWindow(request, fullScreen);
    if (device.window == nullptr && (request.flags & RenderDepthBuffer) != 0) {
        SetContextAttributes(request.flags, FallbackDepthBits);
        device.window = CreateWindow(request, fullScreen);
    }
    if (device.window == nullptr)
        return Fail(device, RenderNoWindow);
    if (fullScreen) {
        SDL_DisplayMode mode{};
        mode.format = request.mode.bitsPerPixel == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
        mode.w = request.mode.width;
        mode.h = request.mode.height;
        mode.refresh_rate = request.mode.refreshRate;
        if (SDL_SetWindowDisplayMode(device.window, &mode) != 0)
            return Fail(device, RenderBadDisplayMode);
        if (SDL_SetWindowFullscreen(device.window, SDL_WINDOW_FULLSCREEN) != 0)
            return Fail(device, RenderNoExclusiveMode);
        SDL_ShowWindow(device.window);
    }

    // A window on a desktop of 256 colours or fewer cannot show the scene.
    SDL_DisplayMode current{};
    int windowDisplay = SDL_GetWindowDisplayIndex(device.window);
    if (SDL_GetCurrentDisplayMode(windowDisplay >= 0 ? windowDisplay : request.displayIndex, &current) == 0) {
        int bits = static_cast<int>(SDL_BITSPERPIXEL(current.format));
        if (bits > 0 && bits <= 8)
            return Fail(device, RenderDesktopTooFewBits);
    }

    // The context, with the buffers asked for.
    device.glContext = SDL_GL_CreateContext(device.window);
    if (device.glContext == nullptr)
        return Fail(device, RenderNo3dDevice);
    if (SDL_GL_MakeCurrent(device.window, static_cast<SDL_GLContext>(device.glContext)) != 0)
        return Fail(device, RenderNo3dDevice);
    if (epoxy_gl_version() < 33)
        return Fail(device, RenderNo3dInterface);
    std::snprintf(device.renderer, sizeof device.renderer, "%s",
                  reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    int depthBits = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depthBits);
    device.depthBits = depthBits;
    if ((request.flags & RenderDepthBuffer) != 0 && depthBits < FallbackDepthBits)
        return Fail(device, RenderNoDepthBuffer);
    int doubleBuffered = 0;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffered);
    // The offscreen video driver draws into one surface that is never shown: nothing half-drawn
    // can be seen, which is all a back buffer is for.
    const char* videoDriver = SDL_GetCurrentVideoDriver();
    bool offscreen = videoDriver != nullptr && std::strcmp(videoDriver, "offscreen") == 0;
    device.backBuffer = doubleBuffered || offscreen ? 1 : 0;
    if ((request.flags & RenderBackBuffer) != 0 && !device.backBuffer)
        return Fail(device, RenderNoBackBuffer);
    // Full screen waits for the display as a page flip does; a window presents at once.
    SDL_GL_SetSwapInterval(fullScreen ? 1 : 0);

    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(device.window, &width, &height);
    device.renderWidth = width;
    device.renderHeight = height;
    device.viewportRect = {0, 0, width, height};
    int x = 0;
    int y = 0;
    if (!fullScreen)
        SDL_GetWindowPosition(device.window, &x, &y);
    device.screenRect = {x, y, x + width, y + height};

    // The programs and buffers the scene is drawn with.
    device.drawDevice = new GlDrawDevice();
    if (!CreateGlDrawDevice(*device.drawDevice))
        return Fail(device, RenderNo3dDevice);
    SetDrawBatching(*device.drawDevice, request.batching != 0);

    // The viewport: the whole render target.
    glViewport(0, 0, width, height);
    if (glGetError() != GL_NO_ERROR)
        return Fail(device, RenderNoViewport);
    device.isOpen = 1;
    return DeviceOk;
}

int32_t RenderDeviceClose(RenderDevice& device)
{
    int32_t result = DeviceOk;
    if (device.glContext != nullptr)
        SDL_GL_MakeCurrent(device.window, static_cast<SDL_GLContext>(device.glContext));
    if (device.scene.created) {
        // The scene resources should have been released first; the textures die with the
        // context all the same, so no entry may keep a name that no longer means anything.
        if (device.scene.textureStore != nullptr) {
            for (TextureEntry& entry : device.scene.textureStore->entries)
                entry.deviceTexture = 0;
        }
        result = RenderReferencesLeft;
    }
    delete device.drawDevice;
    device.drawDevice = nullptr;
    if (device.glContext != nullptr) {
        SDL_GL_MakeCurrent(device.window, nullptr);
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(device.glContext));
    }
    if (device.window != nullptr)
        SDL_DestroyWindow(device.window);
    if (device.videoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    RestoreSoftwareSwitches(device.savedSwitches);
    device = RenderDevice{};
    return result;
}

int32_t RenderDeviceShowFrame(RenderDevice& device)
{
    if (device.window == nullptr || device.glContext == nullptr)
        return RenderNoFrontSurface;
    if (device.drawDevice != nullptr)
        FlushDraws(*device.drawDevice);
    if (device.backBuffer)
        SDL_GL_SwapWindow(device.window);
    else
        glFlush();
    return DeviceOk;
}

int32_t RenderDeviceRestoreSurfaces(RenderDevice&)
{
    return DeviceOk;
}

void RenderDeviceMove(RenderDevice& device, int32_t x, int32_t y)
{
    if (device.fullScreen)
        return;
    device.screenRect = {x, y, x + device.renderWidth, y + device.renderHeight};
}

DrawDevice* RenderDeviceDrawDevice(RenderDevice& device)
{
    return device.drawDevice;
}

void FinishRendering(RenderDevice& device)
{
    if (device.drawDevice == nullptr)
        return;
    FlushDraws(*device.drawDevice);
    glFinish();
}

bool ReadRenderedPixels(RenderDevice& device, std::vector<uint8_t>& rgba)
{
    if (device.drawDevice == nullptr)
        return false;
    FlushDraws(*device.drawDevice);
    return ReadDrawnPixels(device.renderWidth, device.renderHeight, rgba);
}

void ReadFromDrawnBuffer()
{
    GLint drawnInto = GL_BACK;
    glGetIntegerv(GL_DRAW_BUFFER, &drawnInto);
    glReadBuffer(static_cast<GLenum>(drawnInto));
}

bool ReadDrawnPixels(int32_t width, int32_t height, std::vector<uint8_t>& rgba)
{
    if (width <= 0 || height <= 0)
        return false;
    std::vector<uint8_t> bottomUp(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    ReadFromDrawnBuffer();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    if (glGetError() != GL_NO_ERROR)
        return false;
    FlipRowsToTopDown(bottomUp, width, height, rgba);
    return true;
}

void FlipRowsToTopDown(const std::vector<uint8_t>& bottomUp, int32_t width, int32_t height,
                       std::vector<uint8_t>& rgba)
{
    size_t rowBytes = static_cast<size_t>(width) * 4;
    rgba.resize(bottomUp.size());
    for (int32_t row = 0; row < height; ++row)
        std::memcpy(&rgba[static_cast<size_t>(row) * rowBytes],
                    &bottomUp[static_cast<size_t>(height - 1 - row) * rowBytes], rowBytes);
}
