// Fills the device enumeration from SDL2 and OpenGL: every display is a driver with its display
// modes; the hardware OpenGL device is offered when a default context is drawn by something
// other than a software rasterizer, and Mesa's software rasterizer is always offered on the
// primary display.

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <cstring>

#include "device/device_catalogue.h"
#include "device/device_results.h"

namespace {

constexpr uint32_t EveryDepth = RenderTo16Bits | RenderTo24Bits | RenderTo32Bits;

struct OpenGlProbe {
    bool usable;     // a 3.3 core context could be made
    bool software;   // and a software rasterizer draws it
    char renderer[64];
};

bool IsSoftwareRenderer(const char* renderer)
{
    const char* softwareNames[] = {"llvmpipe", "softpipe", "Software Rasterizer", "swrast", "SWR"};
    for (const char* name : softwareNames) {
        if (std::strstr(renderer, name) != nullptr)
            return true;
    }
    return false;
}

// Makes a small hidden context the way the device will, and asks what draws it.
OpenGlProbe ProbeOpenGl()
{
    OpenGlProbe probe{};
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_Window* window = SDL_CreateWindow("Tagvind", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 16, 16,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr)
        return probe;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context != nullptr) {
        const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        std::snprintf(probe.renderer, sizeof probe.renderer, "%s", renderer != nullptr ? renderer : "OpenGL");
        probe.usable = epoxy_gl_version() >= 33;
        probe.software = IsSoftwareRenderer(probe.renderer);
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(window);
    return probe;
}

DisplayMode ModeOf(const SDL_DisplayMode& sdlMode)
{
    DisplayMode mode{};
    mode.width = sdlMode.w;
    mode.height = sdlMode.h;
    mode.bitsPerPixel = static_cast<int32_t>(SDL_BITSPERPIXEL(sdlMode.format));
    mode.refreshRate = sdlMode.refresh_rate;
    return mode;
}

bool SameMode(const DisplayMode& a, const DisplayMode& b)
{
    return a.width == b.width && a.height == b.height && a.bitsPerPixel == b.bitsPerPixel &&
           a.refreshRate == b.refreshRate;
}

}  // namespace

int32_t EnumerateDisplayDevices(DeviceEnumeration& enumeration, int32_t& desktopBitsPerPixel)
{
    enumeration = DeviceEnumeration{};
    desktopBitsPerPixel = 0;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        enumeration.libraryLoaded = 0;
        return CatalogueNoLibrary;
    }
    OpenGlProbe probe = ProbeOpenGl();

    int displays = SDL_GetNumVideoDisplays();
    for (int display = 0; display < displays; ++display) {
        EnumeratedDriver driver{};
        driver.displayIndex = display;
        driver.primary = display == 0 ? 1 : 0;
        const char* displayName = SDL_GetDisplayName(display);
        CopyCatalogueText(driver.description, displayName != nullptr ? displayName : "Display");
        CopyCatalogueText(driver.name, SDL_GetCurrentVideoDriver());
        // An OpenGL window can be opened on every desktop SDL knows.
        driver.hardwareCaps.canRenderWindowed = 1;
        driver.emulationCaps.canRenderWindowed = 1;
        driver.monitor = display;

        SDL_DisplayMode desktop{};
        DisplayMode desktopMode{};
        if (SDL_GetDesktopDisplayMode(display, &desktop) == 0) {
            desktopMode = ModeOf(desktop);
            driver.desktopBitsPerPixel = desktopMode.bitsPerPixel;
        }
        if (display == 0)
            desktopBitsPerPixel = driver.desktopBitsPerPixel;

        int modeCount = SDL_GetNumDisplayModes(display);
        for (int i = 0; i < modeCount; ++i) {
            SDL_DisplayMode sdlMode{};
            if (SDL_GetDisplayMode(display, i, &sdlMode) != 0)
                continue;
            DisplayMode mode = ModeOf(sdlMode);
            // Some video drivers (the offscreen one) list an empty placeholder mode.
            if (mode.width <= 0 || mode.height <= 0 || mode.bitsPerPixel <= 0)
                continue;
            bool known = false;
            for (const DisplayMode& listed : driver.displayModes)
                known = known || SameMode(listed, mode);
            if (!known)
                driver.displayModes.push_back(mode);
        }
        // A display that lists no real mode still has its desktop.
        if (driver.displayModes.empty() && desktopMode.width > 0)
            driver.displayModes.push_back(desktopMode);

        if (probe.usable && !probe.software) {
            EnumeratedDevice hardware{};
            hardware.kind = DeviceKind::OpenGlHardware;
            CopyCatalogueText(hardware.name, probe.renderer);
            hardware.hardwareDescription = {1, EveryDepth, 1, 0};
            driver.devices.push_back(hardware);
        }
        EnumeratedDevice software{};
        software.kind = DeviceKind::SoftwareRasterizer;
        CopyCatalogueText(software.name, "Software rasterizer (llvmpipe)");
        software.softwareDescription = {1, EveryDepth, 1, 0};
        driver.devices.push_back(software);

        enumeration.drivers.push_back(driver);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return DeviceOk;
}

int32_t ReadDesktopBitsPerPixel()
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return 0;
    SDL_DisplayMode desktop{};
    int32_t bits = 0;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0)
        bits = static_cast<int32_t>(SDL_BITSPERPIXEL(desktop.format));
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return bits;
}
