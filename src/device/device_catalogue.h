#pragma once
// The catalogue of displays, render devices and display modes the game can draw with, and the
// choice among them. Drivers are the displays; each offers the hardware OpenGL device when the
// machine has one and Mesa's software rasterizer on the primary display; each device lists the
// display modes it can render to full screen. The selection rules here are pure logic over an
// enumeration; platform/sdl_device_catalogue.cpp fills that enumeration from SDL2 and OpenGL.

#include <cstdint>
#include <functional>
#include <vector>

// Bit depths a device can render to (a mask of these).
enum RenderDepthBits : uint32_t {
    RenderTo16Bits = 1,
    RenderTo24Bits = 2,
    RenderTo32Bits = 4,
};

enum class DeviceKind : int32_t {
    OpenGlHardware = 1,
    SoftwareRasterizer = 2,  // Mesa's llvmpipe, forced before the context is made
    ReferenceRasterizer = 3, // a slow exact rasterizer; listed, never preferred
    Null = 4,                // draws nothing; never listed
};

// What a device says about itself. A description with flags 0 is absent: a software device has
// no hardware description, and the other way round.
struct DeviceDescription {
    uint32_t flags;
    uint32_t renderDepths;       // RenderDepthBits
    int32_t colourModelRgb;      // 1 when it renders in RGB colour
    int32_t needsNoDepthBuffer;  // 1 when it removes hidden surfaces without a depth buffer
};

// What a display driver can do.
struct DriverCaps {
    int32_t canRenderWindowed;  // 1 when it can draw into a window on its desktop
};

struct DisplayMode {
    int32_t width, height, bitsPerPixel, refreshRate;
    char name[40];  // "640 x 480 x 16"
};

struct DeviceEntry {
    DeviceKind kind;
    char name[40];
    DeviceDescription description;  // the hardware one for a hardware device, else the software one
    int32_t hardware;
    int32_t canRenderWindowed;  // one of its modes has the desktop's bit depth
    int32_t windowedChoice;     // 1 when it is to be used in a window
    int32_t chosenMode;         // index into modes: the full-screen mode to use
    std::vector<DisplayMode> modes;
};

struct DriverEntry {
    int32_t displayIndex;  // which display; 0 is the primary display
    int32_t primary;       // 1 for the primary display driver
    char description[40];
    char name[40];
    DriverCaps hardwareCaps;
    DriverCaps emulationCaps;
    int32_t monitor;
    int32_t currentDevice;  // index into devices, -1 for none
    std::vector<DeviceEntry> devices;
};

struct DeviceCatalogue {
    std::vector<DriverEntry> drivers;
    int32_t currentDriver = -1;  // index into drivers, -1 for none
    int32_t usableDeviceSeen = 0;
    int32_t referenceRasterizerSeen = 0;
};

// What enumeration reports, before any rule is applied: the catalogue's raw material, filled from
// SDL2 and OpenGL for the game and by hand in tests.
struct EnumeratedDevice {
    DeviceKind kind;
    char name[40];
    DeviceDescription hardwareDescription;
    DeviceDescription softwareDescription;
};

struct EnumeratedDriver {
    int32_t displayIndex;
    int32_t primary;
    char description[40];
    char name[40];
    DriverCaps hardwareCaps;
    DriverCaps emulationCaps;
    int32_t monitor;
    int32_t desktopBitsPerPixel;  // the current mode of its display
    std::vector<EnumeratedDevice> devices;
    std::vector<DisplayMode> displayModes;  // in the order the display reports them
};

struct DeviceEnumeration {
    int32_t libraryLoaded = 1;  // 0 when the display system itself is missing
    std::vector<EnumeratedDriver> drivers;
};

// May refuse a device by returning a failure code; the game accepts every device.
using DeviceConfirm = std::function<int32_t(const DriverCaps& hardwareCaps, const DeviceDescription& description)>;

int32_t AcceptEveryDevice(const DriverCaps& hardwareCaps, const DeviceDescription& description);

// Fills the catalogue from an enumeration and selects the default device. desktopBitsPerPixel
// is the primary display's current depth.
int32_t BuildDeviceCatalogue(DeviceCatalogue& catalogue, const DeviceEnumeration& enumeration,
                             const DeviceConfirm& confirm, int32_t desktopBitsPerPixel);

// Picks the first device of the first pass that has one: hardware windowed, software windowed,
// hardware full screen, software full screen (software only: the software passes alone).
int32_t SelectDefaultDevice(DeviceCatalogue& catalogue, bool softwareOnly, int32_t desktopBitsPerPixel);

// Marks every device that has a mode of the desktop's depth as able to render windowed.
void RefreshCanRenderWindowed(DeviceCatalogue& catalogue, int32_t desktopBitsPerPixel);

// The current driver and its current device (indices), or CatalogueNothingUsable.
int32_t GetCurrentDevice(const DeviceCatalogue& catalogue, int32_t& driverIndex, int32_t& deviceIndex);

void FreeDeviceCatalogue(DeviceCatalogue& catalogue);

// Copies text into a fixed field, cut to fit with its terminator.
void CopyCatalogueText(char (&field)[40], const char* text);

// platform/sdl_device_catalogue.cpp: asks SDL2 for the displays and their modes and OpenGL for the
// devices. Starts and stops the video subsystem itself. Returns the primary desktop's depth in
// desktopBitsPerPixel (0 when unknown).
int32_t EnumerateDisplayDevices(DeviceEnumeration& enumeration, int32_t& desktopBitsPerPixel);

// The bit depth of the primary display's current mode, 0 when it cannot be read.
int32_t ReadDesktopBitsPerPixel();
