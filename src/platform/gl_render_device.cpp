// The render device over an SDL2 window and an OpenGL 3.3 core context loaded with libepoxy.

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "device/device_results.h"
#include "device/render_device.h"
#include "device/texture_store.h"
#include "platform/display_errors.h"
#include "platform/gl_draw_device.h"

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
    // A window the player sees has a sizing frame and a maximise box.
    if (!request.placement.hidden)
        windowFlags |= SDL_WINDOW_RESIZABLE;
    return SDL_CreateWindow(request.title, request.placement.x, request.placement.y, request.placement.width,
                            request.placement.height, windowFlags);
}

int32_t MakeFullScreen(SDL_Window* window, const DisplayMode& wanted)
{
    SDL_DisplayMode mode{};
    mode.format = wanted.bitsPerPixel == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
    mode.w = wanted.width;
    mode.h = wanted.height;
    mode.refresh_rate = wanted.refreshRate;
    if (SDL_SetWindowDisplayMode(window, &mode) != 0)
        return RenderBadDisplayMode;
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0)
        return RenderNoExclusiveMode;
    SDL_ShowWindow(window);
    return DeviceOk;
}

// A kept window is put where the request wants it: full screen in its mode, or back in a window
// at the placement (the size and place it had before it went full screen, or where the player
// has since put it).
int32_t PlaceKeptWindow(SDL_Window* window, const RenderDeviceRequest& request, bool fullScreen)
{
    SDL_SetWindowTitle(window, request.title);
    if (fullScreen)
        return MakeFullScreen(window, request.mode);
    if ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0 && SDL_SetWindowFullscreen(window, 0) != 0)
        return RenderNoExclusiveMode;
    if (!request.placement.hidden)
        SDL_SetWindowResizable(window, SDL_TRUE);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    if (width != request.placement.width || height != request.placement.height)
        SDL_SetWindowSize(window, request.placement.width, request.placement.height);
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(window, &x, &y);
    if (x != request.placement.x || y != request.placement.y)
        SDL_SetWindowPosition(window, request.placement.x, request.placement.y);
    if (!request.placement.hidden)
        SDL_ShowWindow(window);
    return DeviceOk;
}

// Adaptive synchronisation first (a late frame is shown at once rather than a refresh later),
// then the ordinary kind. Without either the shell paces the frames itself.
bool SyncToDisplay(bool paced)
{
    if (!paced) {
        SDL_GL_SetSwapInterval(0);
        return false;
    }
    return SDL_GL_SetSwapInterval(-1) == 0 || SDL_GL_SetSwapInterval(1) == 0;
}

// The offscreen video driver draws into a surface of the size its window was made with: a
// window there cannot take a new size, so it is made anew.
bool DrawsOffscreen()
{
    const char* videoDriver = SDL_GetCurrentVideoDriver();
    return videoDriver != nullptr && std::strcmp(videoDriver, "offscreen") == 0;
}

// The render size is the window's client area; the picture lies there on the screen (full
// screen: from the display's corner).
bool TakeWindowSize(RenderDevice& device)
{
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(device.window, &width, &height);
    if (width <= 0 || height <= 0)
        return false;
    int x = 0;
    int y = 0;
    if (!device.fullScreen)
        SDL_GetWindowPosition(device.window, &x, &y);
    device.renderWidth = width;
    device.renderHeight = height;
    device.viewportRect = {0, 0, width, height};
    device.screenRect = {x, y, x + width, y + height};
    return true;
}

// What SDL said of the step that failed and, under it, what the display refused (a broken
// OpenGL driver shows itself as an X error of GLX while SDL only says the context failed).
std::string DriverComplaint()
{
    std::string complaint = SDL_GetError();
    std::string displayError = TakeDisplayError();
    if (!displayError.empty())
        complaint += (complaint.empty() ? "" : "; the display refused it: ") + displayError;
    return complaint;
}

int32_t Fail(RenderDevice& device, int32_t code, const std::string& cause)
{
    RenderDeviceClose(device);
    std::snprintf(device.failureCause, sizeof device.failureCause, "%s", cause.c_str());
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
    bool fullScreen = (request.flags & RenderFullScreen) != 0;
    bool keepsWindow = device.window != nullptr && device.glContext == nullptr &&
                       request.softwareRasterizer == device.softwareRasterizer &&
                       request.displayIndex == device.displayIndex && !DrawsOffscreen();
    if (!keepsWindow)
        RenderDeviceClose(device);
    device.failureCause[0] = '\0';
    // Complaints left from earlier calls are no part of this open's failure.
    SDL_ClearError();
    TakeDisplayError();
    if (!fullScreen && (request.placement.width <= 0 || request.placement.height <= 0))
        return Fail(device, DeviceInvalidArgument, "");
    if (fullScreen && (request.mode.width <= 0 || request.mode.height <= 0))
        return Fail(device, DeviceInvalidArgument, "");
    device.fullScreen = fullScreen ? 1 : 0;
    device.displayIndex = request.displayIndex;

    if (keepsWindow) {
        SetContextAttributes(request.flags, device.windowDepthBits);
        int32_t placed = PlaceKeptWindow(device.window, request, fullScreen);
        if (IsFailure(placed))
            return Fail(device, placed, DriverComplaint());
    } else {
        // The display system. Mesa reads the software switches when the video subsystem loads
        // its OpenGL library, so they are set before it starts.
        if (request.softwareRasterizer) {
            ForceSoftwareRasterizer(device.savedSwitches);
            device.softwareRasterizer = 1;
        }
        CatchDisplayErrors();
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return Fail(device, RenderNoDisplaySystem, DriverComplaint());
        device.videoStarted = 1;
        if (request.displayIndex < 0 || request.displayIndex >= SDL_GetNumVideoDisplays())
            return Fail(device, RenderNoDisplaySystem,
                        "no display " + std::to_string(request.displayIndex) + " of " +
                            std::to_string(SDL_GetNumVideoDisplays()));

        // The window: its size is the render size.
        SetContextAttributes(request.flags, PreferredDepthBits);
        device.windowDepthBits = PreferredDepthBits;
        device.window = CreateWindow(request, fullScreen);
        if (device.window == nullptr && (request.flags & RenderDepthBuffer) != 0) {
            SetContextAttributes(request.flags, FallbackDepthBits);
            device.windowDepthBits = FallbackDepthBits;
            device.window = CreateWindow(request, fullScreen);
        }
        if (device.window == nullptr)
            return Fail(device, RenderNoWindow, DriverComplaint());
        if (fullScreen) {
            int32_t madeFullScreen = MakeFullScreen(device.window, request.mode);
            if (IsFailure(madeFullScreen))
                return Fail(device, madeFullScreen, DriverComplaint());
        }
    }

    // A window on a desktop of 256 colours or fewer cannot show the scene.
    SDL_DisplayMode current{};
    int windowDisplay = SDL_GetWindowDisplayIndex(device.window);
    if (SDL_GetCurrentDisplayMode(windowDisplay >= 0 ? windowDisplay : request.displayIndex, &current) == 0) {
        int bits = static_cast<int>(SDL_BITSPERPIXEL(current.format));
        if (bits > 0 && bits <= 8)
            return Fail(device, RenderDesktopTooFewBits, "");
    }

    // The context, with the buffers asked for.
    device.glContext = SDL_GL_CreateContext(device.window);
    if (device.glContext == nullptr)
        return Fail(device, RenderNo3dDevice, DriverComplaint());
    if (SDL_GL_MakeCurrent(device.window, static_cast<SDL_GLContext>(device.glContext)) != 0)
        return Fail(device, RenderNo3dDevice, DriverComplaint());
    if (epoxy_gl_version() < 33) {
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        return Fail(device, RenderNo3dInterface,
                    std::string("OpenGL 3.3 is needed, the driver offers ") + (version != nullptr ? version : "none"));
    }
    std::snprintf(device.renderer, sizeof device.renderer, "%s",
                  reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    int depthBits = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depthBits);
    device.depthBits = depthBits;
    if ((request.flags & RenderDepthBuffer) != 0 && depthBits < FallbackDepthBits)
        return Fail(device, RenderNoDepthBuffer, "a depth buffer of " + std::to_string(depthBits) + " bits");
    int doubleBuffered = 0;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffered);
    // The offscreen video driver draws into one surface that is never shown: nothing half-drawn
    // can be seen, which is all a back buffer is for.
    device.backBuffer = doubleBuffered || DrawsOffscreen() ? 1 : 0;
    if ((request.flags & RenderBackBuffer) != 0 && !device.backBuffer)
        return Fail(device, RenderNoBackBuffer, "");
    // Full screen waits for the display as a page flip does; a window waits when it is paced.
    device.syncedToDisplay = SyncToDisplay(fullScreen || request.paced != 0) ? 1 : 0;

    TakeWindowSize(device);

    // The programs and buffers the scene is drawn with.
    device.drawDevice = new GlDrawDevice();
    if (!CreateGlDrawDevice(*device.drawDevice))
        return Fail(device, RenderNo3dDevice, "");
    SetDrawBatching(*device.drawDevice, request.batching != 0);

    // The viewport: the whole render target.
    glViewport(0, 0, device.renderWidth, device.renderHeight);
    if (glGetError() != GL_NO_ERROR)
        return Fail(device, RenderNoViewport, "");
    device.isOpen = 1;
    return DeviceOk;
}

namespace {

// Lets go of the context and everything made in it; the window stays.
int32_t ReleaseContext(RenderDevice& device)
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
    device.glContext = nullptr;
    return result;
}

}  // namespace

int32_t RenderDeviceClose(RenderDevice& device)
{
    int32_t result = ReleaseContext(device);
    if (device.window != nullptr)
        SDL_DestroyWindow(device.window);
    if (device.videoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    RestoreSoftwareSwitches(device.savedSwitches);
    device = RenderDevice{};
    return result;
}

int32_t RenderDeviceCloseKeepingWindow(RenderDevice& device)
{
    if (device.window == nullptr)
        return RenderDeviceClose(device);
    int32_t result = ReleaseContext(device);
    RenderDevice kept;
    kept.window = device.window;
    kept.fullScreen = device.fullScreen;
    kept.displayIndex = device.displayIndex;
    kept.softwareRasterizer = device.softwareRasterizer;
    kept.videoStarted = device.videoStarted;
    kept.savedSwitches = device.savedSwitches;
    kept.windowDepthBits = device.windowDepthBits;
    kept.screenRect = device.screenRect;
    device = kept;
    return result;
}

void RenderDeviceFollowWindowSize(RenderDevice& device)
{
    if (!device.isOpen || device.fullScreen || device.window == nullptr)
        return;
    if (!TakeWindowSize(device))
        return;
    SDL_GL_MakeCurrent(device.window, static_cast<SDL_GLContext>(device.glContext));
    glViewport(0, 0, device.renderWidth, device.renderHeight);
}

int32_t RenderDeviceRefreshRate(const RenderDevice& device)
{
    constexpr int32_t UnknownRefreshRate = 60;
    if (device.window == nullptr)
        return UnknownRefreshRate;
    SDL_DisplayMode mode{};
    int display = SDL_GetWindowDisplayIndex(device.window);
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0 || mode.refresh_rate <= 0)
        return UnknownRefreshRate;
    return mode.refresh_rate;
}

void RenderDeviceMakeCurrent(RenderDevice& device)
{
    if (device.window != nullptr && device.glContext != nullptr)
        SDL_GL_MakeCurrent(device.window, static_cast<SDL_GLContext>(device.glContext));
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
