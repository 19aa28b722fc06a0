#pragma once
// The window system under the game: its millisecond timer, its event queue translated into the
// window procedure's records, synthetic events for tests and demos, message boxes, the window
// icon, and a small window of its own for the first options dialog, shown before the game's
// window exists. platform/sdl_game_window.cpp implements it over SDL2. No game logic lives here.

#include <cstdint>
#include <string>
#include <vector>

#include "shell/window_procedure.h"

struct RenderDevice;
struct RenderWindowPlacement;
struct TextureImage;

// Starts the window system's events, timer and sound. The video is started by whoever opens a
// window (the render device, or the dialog window below) and stopped with it, so that the
// software rasterizer's switches take effect on every open.
bool StartWindowSystem(std::string& whyNot);
void StopWindowSystem();

// Whether a display can be reached at all (an X server or a Wayland compositor, say).
bool HasDisplay();
// Makes windows open on no display at all, drawing offscreen.
void UseOffscreenWindows();
// Keeps the video driver the window system starts with for every later start of the video,
// so that a restart can fail (and say so) but never fall back to a driver nobody sees.
void KeepVideoDriver();

// The millisecond timer, counting from the start of the window system.
uint32_t ReadTimerMs();

// The window the game's events belong to, and where its picture lies in it.
struct EventTarget {
    uint32_t windowId = 0;   // events of other windows (ones closed since) are dropped
    int32_t pictureTop = 0;  // rows above the picture taken by the menu bar
};

// What one look at the event queue brought. Keys and clicks are also handed to Dear ImGui,
// whether or not the game takes them.
struct InputBatch {
    std::vector<WindowEvent> events;
    int32_t escapePressed = 0;  // for dialogs: Esc and Enter stand for Cancel and the default button
    int32_t returnPressed = 0;
    int32_t closeRequested = 0;  // the window's close box, or the program asked to stop
    int32_t quitRequested = 0;   // the program asked to stop (a signal, the session ending)
    int32_t eventsTaken = 0;     // every event, those only Dear ImGui sees (mouse moves) included
};

// Takes every waiting event; with waitMs > 0 waits that long for the first one (-1: for ever).
// Game controllers are watched from the first call on: one plugged in is opened, and its
// buttons come as ControllerButton events, whatever window has the focus.
void PumpEvents(const EventTarget& target, InputBatch& batch, int32_t waitMs);

// Drops the window changes waiting in the queue. The window system numbers windows afresh
// each time its video starts, so those of a window closed since could be taken for the new
// window's (its hiding on the way out for a minimise, say).
void ForgetWindowEvents();

// One event a script gives the program as if a person had made it.
enum class SyntheticKind : int32_t {
    Key = 1,       // key with modifiers: pressed and released
    LeftClick,     // x, y in the window
    RightClick,
    Minimise,
    Restore,
    Close,
    ControllerButton,  // button of a made-up controller, plugged in at its first press
};

struct SyntheticEvent {
    SyntheticKind kind;
    int32_t key = KeyNone;
    int32_t button = ButtonNone;
    uint32_t modifiers = ModifierNone;
    int32_t x = 0;
    int32_t y = 0;
};

// Puts the event into the queue, addressed to the target's window.
void PushSyntheticEvent(const EventTarget& target, const SyntheticEvent& event);

enum class MessageIcon : int32_t {
    Information = 0,
    Warning = 1,
    Error = 2,
};

// A message box with an OK button; returns when it is closed. Without a display (or with
// printOnly) the box is printed to stdout instead, caption first, and nothing waits.
void ShowMessageBox(const char* caption, const std::string& text, MessageIcon icon, RenderDevice* owner,
                    bool printOnly);

// The game's icon on the device's window, and the window's smallest size.
void DecorateGameWindow(RenderDevice& device, const TextureImage& icon, int32_t minimumSize);

// Shows or hides the mouse cursor over the game window.
void ShowGameCursor(bool shown);

// The window system's number of the device's window, which its events carry.
uint32_t WindowIdOf(const RenderDevice& device);
// The display system's own number of the device's window (an X11 window id), 0 where it has none.
uint64_t NativeWindowOf(const RenderDevice& device);

// Where a new window goes when the window system chooses.
int32_t DefaultWindowPosition();

// Where the device's window is now and how large, to open the next device there. Full screen
// leaves the placement as it was.
void ReadLiveWindowPlacement(const RenderDevice& device, RenderWindowPlacement& placement);

// The window's client size now, which may have left the device's render size behind.
bool ReadWindowClientSize(const RenderDevice& device, int32_t& width, int32_t& height);

// A window of its own for a dialog, with an OpenGL context for Dear ImGui: the first options
// dialog, shown before the game's window exists, and any dialog the game window is too small
// to hold. With an owner it is centred over the owner's window (inside the owner's display) and
// stays above it.
struct DialogWindow {
    void* window = nullptr;
    void* glContext = nullptr;
    uint32_t windowId = 0;
    int32_t videoStarted = 0;
};

bool OpenDialogWindow(DialogWindow& dialog, const char* title, int32_t width, int32_t height,
                      const TextureImage& icon, const RenderDevice* owner);
void PresentDialogWindow(DialogWindow& dialog);
void CloseDialogWindow(DialogWindow& dialog);
