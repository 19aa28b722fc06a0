#pragma once
// The render device: the window the game draws into, its OpenGL context with a back buffer and a
// depth buffer, the viewport, and the scene resources made for it. One record per window. The
// shell opens it for the display, device and mode chosen in the device catalogue, presents each
// frame through it, and closes and re-opens it whenever the window size, the full-screen state
// or the device changes; everything made for the context (textures included) is made again.
//
// Open creates, in this order: the video subsystem, the window (full screen: its display mode),
// the check of the desktop's depth, the context with its depth buffer, the drawing programs and
// the viewport; the first failure releases everything made so far and returns its code (see
// device_results.h). The device owns the video subsystem for as long as it is open, so that the
// software rasterizer's switches, set before it starts, take effect on every open.

#include <cstdint>
#include <vector>

#include "device/device_catalogue.h"
#include "device/matrix.h"
#include "device/scene_lighting.h"

struct SDL_Window;
class GlDrawDevice;
class DrawDevice;
struct TextureStore;

enum RenderOpenFlags : uint32_t {
    RenderFullScreen = 1,
    RenderBackBuffer = 2,   // double buffering
    RenderDepthBuffer = 4,
    RenderStencil = 8,      // depth buffer with a stencil; the game never asks for it
    RenderKeepFpu = 16,     // kept for its meaning elsewhere; OpenGL leaves the FPU alone anyway
};

struct RenderRectangle {
    int32_t left, top, right, bottom;
};

// Where the window goes on the desktop when windowed: its client area, in screen pixels.
struct RenderWindowPlacement {
    int32_t x, y, width, height;
    int32_t hidden;  // 1 for windows nobody looks at (shots, benchmarks, tests)
};

struct RenderDeviceRequest {
    int32_t displayIndex = 0;        // the driver: which display
    int32_t softwareRasterizer = 0;  // the device: 1 forces Mesa's software rasterizer
    DisplayMode mode = {};           // the full-screen mode (width, height, bits, refresh)
    uint32_t flags = RenderBackBuffer | RenderDepthBuffer;
    RenderWindowPlacement placement = {0, 0, 640, 480, 0};
    const char* title = "Tagvind";
    int32_t batching = 1;            // 0 sends every draw of the scene as its own GL call
    int32_t paced = 0;               // 1 waits for the display's refresh between frames, where it can
};

// The environment switches of the software rasterizer as they were before an open forced them.
struct SavedSoftwareSwitches {
    int32_t saved;
    int32_t hadAlwaysSoftware, hadGalliumDriver;
    char alwaysSoftware[32], galliumDriver[32];
};

// The per-device state of the scene: made by CreateSceneResources, released before Close.
struct SceneResources {
    int32_t created;
    SceneMaterial material;
    SceneLighting lighting;
    Matrix4 projection;
    TextureStore* textureStore;  // whose entries hold textures of this device
};

struct RenderDevice {
    int32_t isOpen = 0;
    SDL_Window* window = nullptr;
    int32_t fullScreen = 0;
    int32_t renderWidth = 0, renderHeight = 0;
    RenderRectangle screenRect = {};    // where the picture is on the screen
    RenderRectangle viewportRect = {};  // the area rendered, in pixels of the render target
    void* glContext = nullptr;          // the context: front, back and depth buffer of the window
    GlDrawDevice* drawDevice = nullptr; // the programs and buffers the scene draws through
    int32_t displayIndex = 0;
    int32_t backBuffer = 0;
    int32_t depthBits = 0;              // depth buffer of the context, 0 for none
    int32_t softwareRasterizer = 0;
    int32_t videoStarted = 0;
    int32_t windowDepthBits = 0;        // the depth the window's pixel format was chosen for
    int32_t syncedToDisplay = 0;        // presenting waits for the display's refresh
    SavedSoftwareSwitches savedSwitches = {};
    SceneResources scene = {};
    char renderer[64] = {};             // what OpenGL says draws
    // After a failed open: what failed, in the driver's own words ("" when it said nothing).
    char failureCause[256] = {};
};

// Result codes in device_results.h. A failed open leaves the device closed, with the driver's
// words in failureCause. A device closed with RenderDeviceCloseKeepingWindow opens again in the
// window it kept, unless the request wants the other rasterizer or another display, which only
// a new video system can give.
int32_t RenderDeviceOpen(RenderDevice& device, const RenderDeviceRequest& request);
// Closing a never-opened device succeeds and changes nothing. RenderReferencesLeft when scene
// resources were still held (they are dropped with the context all the same).
int32_t RenderDeviceClose(RenderDevice& device);
// Closes the context and everything made for it, but keeps the window and the video system, so
// that a full-screen toggle or a device change never takes the player's window away. A later
// RenderDeviceClose lets go of the window too.
int32_t RenderDeviceCloseKeepingWindow(RenderDevice& device);
// Windowed only: the window was resized; the render size, the rectangles and the viewport
// follow its client area. OpenGL resizes the window's buffers with it, so nothing is made anew.
void RenderDeviceFollowWindowSize(RenderDevice& device);
// The display's refresh rate under the window, 60 where the display does not say.
int32_t RenderDeviceRefreshRate(const RenderDevice& device);
// Makes the device's context the one drawn with (after a dialog window had its own).
void RenderDeviceMakeCurrent(RenderDevice& device);
// Presents the back buffer; RenderNoFrontSurface when the device is not open.
int32_t RenderDeviceShowFrame(RenderDevice& device);
// OpenGL keeps its buffers through display changes, so nothing is ever lost to restore.
int32_t RenderDeviceRestoreSurfaces(RenderDevice& device);
// Windowed only: the window's client area moved to (x, y).
void RenderDeviceMove(RenderDevice& device, int32_t x, int32_t y);

// The device the scene draws through, or null while closed.
DrawDevice* RenderDeviceDrawDevice(RenderDevice& device);

// Waits until everything drawn so far is in the picture.
void FinishRendering(RenderDevice& device);

// Reads the finished picture, rows from the top, four bytes (red, green, blue, alpha) a pixel.
bool ReadRenderedPixels(RenderDevice& device, std::vector<uint8_t>& rgba);

// Makes the buffer being drawn into (the back buffer, or the only one there is) the one that
// reads and copies take their pixels from.
void ReadFromDrawnBuffer();

// Reads width × height pixels of the buffer being drawn into, rows from the top, RGBA.
bool ReadDrawnPixels(int32_t width, int32_t height, std::vector<uint8_t>& rgba);

// OpenGL counts rows from the bottom; pictures are read from the top.
void FlipRowsToTopDown(const std::vector<uint8_t>& bottomUp, int32_t width, int32_t height,
                       std::vector<uint8_t>& rgba);

// Puts Mesa's software rasterizer in force for the next context (remembering what was set), and
// takes it back out.
void ForceSoftwareRasterizer(SavedSoftwareSwitches& saved);
void RestoreSoftwareSwitches(SavedSoftwareSwitches& saved);
