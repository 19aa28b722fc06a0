// [SECTION] The window system: start, stop, display, timer
// [SECTION] Events: SDL's events translated into the window procedure's records
// [SECTION] Synthetic events
// [SECTION] Message boxes, icon, cursor
// [SECTION] The dialog window

#include "shell/game_window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "device/render_device.h"
#include "device/texture_store.h"
#include "platform/box_child_process.h"
#include "platform/display_errors.h"
#include "platform/quiet_stderr.h"

namespace {

bool ImGuiTakesEvents()
{
    // Before the first window is bound ImGui has no back end to hand events to.
    return ImGui::GetCurrentContext() != nullptr && ImGui::GetIO().BackendPlatformUserData != nullptr;
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Events
// ---------------------------------------------------------------------------------------------

int32_t GameKeyOf(const SDL_Keysym& keysym)
{
    // The keypad by its place on the keyboard, whatever Num Lock makes of it.
    switch (keysym.scancode) {
    case SDL_SCANCODE_KP_0: return KeyKeypad0;
    case SDL_SCANCODE_KP_1: return KeyKeypad1;
    case SDL_SCANCODE_KP_2: return KeyKeypad2;
    case SDL_SCANCODE_KP_3: return KeyKeypad3;
    case SDL_SCANCODE_KP_4: return KeyKeypad4;
    case SDL_SCANCODE_KP_5: return KeyKeypad5;
    case SDL_SCANCODE_KP_6: return KeyKeypad6;
    case SDL_SCANCODE_KP_7: return KeyKeypad7;
    case SDL_SCANCODE_KP_8: return KeyKeypad8;
    case SDL_SCANCODE_KP_9: return KeyKeypad9;
    case SDL_SCANCODE_KP_PLUS: return KeyKeypadPlus;
    case SDL_SCANCODE_KP_MINUS: return KeyKeypadMinus;
    case SDL_SCANCODE_KP_MULTIPLY: return KeyKeypadMultiply;
    case SDL_SCANCODE_KP_DIVIDE: return KeyKeypadDivide;
    case SDL_SCANCODE_KP_PERIOD: return KeyKeypadPeriod;
    // The keypad's Enter is the same key as Return to the game (Alt+Enter from either).
    case SDL_SCANCODE_KP_ENTER: return KeyReturn;
    default: break;
    }
    SDL_Keycode code = keysym.sym;
    if (code >= SDLK_a && code <= SDLK_z)
        return 'A' + (code - SDLK_a);
    if (code >= SDLK_0 && code <= SDLK_9)
        return '0' + (code - SDLK_0);
    if (code >= SDLK_F1 && code <= SDLK_F12)
        return KeyF1 + (code - SDLK_F1);
    switch (code) {
    case SDLK_SPACE: return KeySpace;
    case SDLK_RETURN: return KeyReturn;
    case SDLK_ESCAPE: return KeyEscape;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return KeyShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return KeyControl;
    case SDLK_LALT:
    case SDLK_RALT: return KeyAlt;
    case SDLK_TAB: return KeyTab;
    case SDLK_LEFT: return KeyLeft;
    case SDLK_UP: return KeyUp;
    case SDLK_RIGHT: return KeyRight;
    case SDLK_DOWN: return KeyDown;
    case SDLK_APPLICATION:
    case SDLK_MENU: return KeyApplication;
    default: return KeyOther;
    }
}

uint32_t ModifiersOf(uint16_t mod)
{
    uint32_t modifiers = ModifierNone;
    if ((mod & KMOD_SHIFT) != 0)
        modifiers |= ModifierShift;
    if ((mod & KMOD_CTRL) != 0)
        modifiers |= ModifierControl;
    if ((mod & KMOD_ALT) != 0)
        modifiers |= ModifierAlt;
    return modifiers;
}

int32_t GameButtonOf(uint8_t button)
{
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return ButtonDpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return ButtonDpadDown;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return ButtonLeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return ButtonRightShoulder;
    case SDL_CONTROLLER_BUTTON_START: return ButtonStart;
    case SDL_CONTROLLER_BUTTON_BACK: return ButtonBack;
    default: return ButtonNone;
    }
}

SDL_GameControllerButton SdlButtonOf(int32_t button)
{
    switch (button) {
    case ButtonDpadUp: return SDL_CONTROLLER_BUTTON_DPAD_UP;
    case ButtonDpadDown: return SDL_CONTROLLER_BUTTON_DPAD_DOWN;
    case ButtonLeftShoulder: return SDL_CONTROLLER_BUTTON_LEFTSHOULDER;
    case ButtonRightShoulder: return SDL_CONTROLLER_BUTTON_RIGHTSHOULDER;
    case ButtonStart: return SDL_CONTROLLER_BUTTON_START;
    case ButtonBack: return SDL_CONTROLLER_BUTTON_BACK;
    default: return SDL_CONTROLLER_BUTTON_INVALID;
    }
}

void TranslateControllerEvent(const SDL_Event& sdl, InputBatch& batch)
{
    switch (sdl.type) {
    case SDL_CONTROLLERDEVICEADDED:
        // Opened, a controller sends its buttons; SDL closes it when it is unplugged or stopped.
        SDL_GameControllerOpen(sdl.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (SDL_GameController* pad = SDL_GameControllerFromInstanceID(sdl.cdevice.which))
            SDL_GameControllerClose(pad);
        break;
    case SDL_CONTROLLERBUTTONDOWN: {
        WindowEvent event{WindowEventKind::ControllerButton};
        event.button = GameButtonOf(sdl.cbutton.button);
        if (event.button != ButtonNone)
            batch.events.push_back(event);
        break;
    }
    default:
        break;
    }
}

void TranslateWindowEvent(const SDL_WindowEvent& window, InputBatch& batch)
{
    WindowEvent event{WindowEventKind::Restored};
    switch (window.event) {
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_HIDDEN:
        event.kind = WindowEventKind::Minimised;
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_MAXIMIZED:
        event.kind = WindowEventKind::Restored;
        break;
    case SDL_WINDOWEVENT_MOVED:
        event.kind = WindowEventKind::Moved;
        event.x = window.data1;
        event.y = window.data2;
        break;
    case SDL_WINDOWEVENT_CLOSE:
        event.kind = WindowEventKind::CloseRequested;
        batch.closeRequested = 1;
        break;
    default:
        return;
    }
    batch.events.push_back(event);
}

void TranslateEvent(const EventTarget& target, const SDL_Event& sdl, InputBatch& batch)
{
    switch (sdl.type) {
    case SDL_QUIT:
        batch.closeRequested = 1;
        batch.quitRequested = 1;
        batch.events.push_back(WindowEvent{WindowEventKind::CloseRequested});
        break;
    case SDL_WINDOWEVENT:
        if (sdl.window.windowID == target.windowId)
            TranslateWindowEvent(sdl.window, batch);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        if (sdl.key.windowID != 0 && sdl.key.windowID != target.windowId)
            break;
        WindowEvent event{sdl.type == SDL_KEYDOWN ? WindowEventKind::KeyDown : WindowEventKind::KeyUp};
        event.key = GameKeyOf(sdl.key.keysym);
        event.modifiers = ModifiersOf(sdl.key.keysym.mod);
        if (sdl.type == SDL_KEYDOWN && event.key == KeyEscape)
            batch.escapePressed = 1;
        if (sdl.type == SDL_KEYDOWN && event.key == KeyReturn && event.modifiers == ModifierNone)
            batch.returnPressed = 1;
        batch.events.push_back(event);
        break;
    }
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
        TranslateControllerEvent(sdl, batch);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (sdl.button.windowID != target.windowId || sdl.button.button != SDL_BUTTON_LEFT)
            break;
        // The menu bar is not part of the picture.
        if (sdl.button.y >= target.pictureTop) {
            WindowEvent event{WindowEventKind::LeftButtonDown};
            event.x = sdl.button.x;
            event.y = sdl.button.y - target.pictureTop;
            batch.events.push_back(event);
        }
        break;
    case SDL_MOUSEBUTTONUP:
        // The pop-up menu comes on the right button's release, where it was released.
        if (sdl.button.windowID == target.windowId && sdl.button.button == SDL_BUTTON_RIGHT) {
            WindowEvent event{WindowEventKind::ContextMenu};
            event.x = sdl.button.x;
            event.y = sdl.button.y;
            batch.events.push_back(event);
        }
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Synthetic events
// ---------------------------------------------------------------------------------------------

struct KeyCodes {
    SDL_Keycode sym;
    SDL_Scancode scancode;
};

KeyCodes SdlKeyOf(int32_t key)
{
    if (key >= 'A' && key <= 'Z') {
        SDL_Keycode sym = SDLK_a + (key - 'A');
        return {sym, SDL_GetScancodeFromKey(sym)};
    }
    if (key >= '0' && key <= '9') {
        SDL_Keycode sym = SDLK_0 + (key - '0');
        return {sym, SDL_GetScancodeFromKey(sym)};
    }
    if (key >= KeyF1 && key <= KeyF12) {
        SDL_Keycode sym = SDLK_F1 + (key - KeyF1);
        return {sym, SDL_GetScancodeFromKey(sym)};
    }
    static const SDL_Scancode keypadDigits[10] = {SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2,
                                                  SDL_SCANCODE_KP_3, SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5,
                                                  SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7, SDL_SCANCODE_KP_8,
                                                  SDL_SCANCODE_KP_9};
    if (key >= KeyKeypad0 && key <= KeyKeypad9) {
        SDL_Scancode scancode = keypadDigits[key - KeyKeypad0];
        return {SDL_GetKeyFromScancode(scancode), scancode};
    }
    switch (key) {
    case KeySpace: return {SDLK_SPACE, SDL_SCANCODE_SPACE};
    case KeyReturn: return {SDLK_RETURN, SDL_SCANCODE_RETURN};
    case KeyEscape: return {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE};
    case KeyKeypadPlus: return {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS};
    case KeyKeypadMinus: return {SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS};
    case KeyKeypadMultiply: return {SDLK_KP_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY};
    case KeyKeypadDivide: return {SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE};
    case KeyKeypadPeriod: return {SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD};
    case KeyShift: return {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT};
    case KeyControl: return {SDLK_LCTRL, SDL_SCANCODE_LCTRL};
    case KeyAlt: return {SDLK_LALT, SDL_SCANCODE_LALT};
    case KeyTab: return {SDLK_TAB, SDL_SCANCODE_TAB};
    case KeyLeft: return {SDLK_LEFT, SDL_SCANCODE_LEFT};
    case KeyUp: return {SDLK_UP, SDL_SCANCODE_UP};
    case KeyRight: return {SDLK_RIGHT, SDL_SCANCODE_RIGHT};
    case KeyDown: return {SDLK_DOWN, SDL_SCANCODE_DOWN};
    case KeyApplication: return {SDLK_APPLICATION, SDL_SCANCODE_APPLICATION};
    default: return {SDLK_PAUSE, SDL_SCANCODE_PAUSE};
    }
}

uint16_t SdlModifiersOf(uint32_t modifiers)
{
    uint16_t mod = KMOD_NONE;
    if ((modifiers & ModifierShift) != 0)
        mod |= KMOD_LSHIFT;
    if ((modifiers & ModifierControl) != 0)
        mod |= KMOD_LCTRL;
    if ((modifiers & ModifierAlt) != 0)
        mod |= KMOD_LALT;
    return mod;
}

void PushClick(const EventTarget& target, const SyntheticEvent& event, uint8_t button)
{
    SDL_Event sdl{};
    sdl.type = SDL_MOUSEMOTION;
    sdl.motion.windowID = target.windowId;
    sdl.motion.x = event.x;
    sdl.motion.y = event.y;
    SDL_PushEvent(&sdl);
    for (uint32_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        sdl = SDL_Event{};
        sdl.type = type;
        sdl.button.windowID = target.windowId;
        sdl.button.button = button;
        sdl.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        sdl.button.clicks = 1;
        sdl.button.x = event.x;
        sdl.button.y = event.y;
        SDL_PushEvent(&sdl);
    }
}

// A press of a made-up controller's button. The controller is plugged in at the first press
// and stays for the rest of the program run; the press is sent at once and the release with the
// next look at the queue, so that the button is seen down in between.
void PressVirtualButton(int32_t button)
{
    SDL_GameControllerButton sdlButton = SdlButtonOf(button);
    if (sdlButton == SDL_CONTROLLER_BUTTON_INVALID)
        return;
    // SDL drops presses while no window of the program has the keyboard focus, and an
    // offscreen window never has it; a script's presses are meant all the same.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    int index = -1;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickIsVirtual(i))
            index = i;
    }
    if (index < 0)
        index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                          SDL_CONTROLLER_BUTTON_MAX, 0);
    SDL_GameController* pad = index >= 0 ? SDL_GameControllerOpen(index) : nullptr;
    if (pad == nullptr)
        return;
    SDL_Joystick* joystick = SDL_GameControllerGetJoystick(pad);
    SDL_JoystickSetVirtualButton(joystick, sdlButton, SDL_PRESSED);
    SDL_GameControllerUpdate();
    SDL_JoystickSetVirtualButton(joystick, sdlButton, SDL_RELEASED);
}

void PushWindowEvent(const EventTarget& target, uint8_t windowEvent)
{
    SDL_Event sdl{};
    sdl.type = SDL_WINDOWEVENT;
    sdl.window.windowID = target.windowId;
    sdl.window.event = windowEvent;
    SDL_PushEvent(&sdl);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// [SECTION] The window system
// ---------------------------------------------------------------------------------------------

bool StartWindowSystem(std::string& whyNot)
{
    // Before any video starts, so that every later start of it passes X errors on to the game.
    CatchDisplayErrors();
    TieForkedCopiesToTheGame();
    // SDL's start loads the libraries under it, which may complain about what the machine lacks;
    // the game says for itself what it does without a display or a sound card.
    QuietStandardError quiet;
    if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        whyNot = SDL_GetError();
        return false;
    }
    // Game controllers are welcome, not needed: the game plays on without them.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    return true;
}

void StopWindowSystem()
{
    SDL_Quit();
}

bool HasDisplay()
{
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0))
        return false;
    // Each video driver SDL tries complains in its own words when its display is not there.
    QuietStandardError quiet;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    const char* current = SDL_GetCurrentVideoDriver();
    bool real = current != nullptr && std::strcmp(current, "offscreen") != 0 && std::strcmp(current, "dummy") != 0;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return real;
}

void UseOffscreenWindows()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
}

void KeepVideoDriver()
{
    if (std::getenv("SDL_VIDEODRIVER") != nullptr || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr)
        setenv("SDL_VIDEODRIVER", driver, 1);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

uint32_t ReadTimerMs()
{
    return SDL_GetTicks();
}

void PumpEvents(const EventTarget& target, InputBatch& batch, int32_t waitMs)
{
    // ImGui's navigation reads which keys are down as each of its frames begins, so a key
    // pressed and released within one look at the queue would be over unseen: its release
    // waits for the next look.
    std::vector<SDL_Scancode> pressed;
    std::vector<SDL_Event> heldReleases;
    SDL_Event sdl;
    bool have = waitMs != 0 ? SDL_WaitEventTimeout(&sdl, waitMs < 0 ? 0x7FFFFFFF : waitMs) != 0
                            : SDL_PollEvent(&sdl) != 0;
    while (have) {
        ++batch.eventsTaken;
        if (sdl.type == SDL_KEYDOWN)
            pressed.push_back(sdl.key.keysym.scancode);
        if (sdl.type == SDL_KEYUP &&
            std::find(pressed.begin(), pressed.end(), sdl.key.keysym.scancode) != pressed.end()) {
            heldReleases.push_back(sdl);
        } else {
            if (ImGuiTakesEvents())
                ImGui_ImplSDL2_ProcessEvent(&sdl);
            TranslateEvent(target, sdl, batch);
        }
        have = SDL_PollEvent(&sdl) != 0;
    }
    for (SDL_Event& release : heldReleases)
        SDL_PushEvent(&release);
}

void ForgetWindowEvents()
{
    SDL_PumpEvents();
    SDL_FlushEvent(SDL_WINDOWEVENT);
}

void PushSyntheticEvent(const EventTarget& target, const SyntheticEvent& event)
{
    switch (event.kind) {
    case SyntheticKind::Key: {
        KeyCodes codes = SdlKeyOf(event.key);
        for (uint32_t type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event sdl{};
            sdl.type = type;
            sdl.key.windowID = target.windowId;
            sdl.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
            sdl.key.keysym.sym = codes.sym;
            sdl.key.keysym.scancode = codes.scancode;
            sdl.key.keysym.mod = SdlModifiersOf(event.modifiers);
            SDL_PushEvent(&sdl);
        }
        break;
    }
    case SyntheticKind::LeftClick:
        PushClick(target, event, SDL_BUTTON_LEFT);
        break;
    case SyntheticKind::RightClick:
        PushClick(target, event, SDL_BUTTON_RIGHT);
        break;
    case SyntheticKind::Minimise:
        PushWindowEvent(target, SDL_WINDOWEVENT_MINIMIZED);
        break;
    case SyntheticKind::Restore:
        PushWindowEvent(target, SDL_WINDOWEVENT_RESTORED);
        break;
    case SyntheticKind::Close:
        PushWindowEvent(target, SDL_WINDOWEVENT_CLOSE);
        break;
    case SyntheticKind::ControllerButton:
        PressVirtualButton(event.button);
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Message boxes, icon, cursor
// ---------------------------------------------------------------------------------------------

void ShowMessageBox(const char* caption, const std::string& text, MessageIcon icon, RenderDevice* owner,
                    bool printOnly)
{
    if (!printOnly) {
        uint32_t flags = icon == MessageIcon::Error     ? SDL_MESSAGEBOX_ERROR
                         : icon == MessageIcon::Warning ? SDL_MESSAGEBOX_WARNING
                                                        : SDL_MESSAGEBOX_INFORMATION;
        const SDL_MessageBoxButtonData ok = {
            SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, "OK"};
        SDL_MessageBoxData box = {};
        box.flags = flags;
        box.window = owner != nullptr ? owner->window : nullptr;
        box.title = caption;
        box.message = text.c_str();
        box.numbuttons = 1;
        box.buttons = &ok;
        int pressed = 0;
        int shown = 0;
        {
            SignalsEndTheGameAtOnce whileTheBoxIsUp;
            shown = SDL_ShowMessageBox(&box, &pressed);
        }
        if (shown == 0) {
            // The game window took no input while the box was up; what was typed or clicked at
            // it meanwhile is not for the game.
            SDL_PumpEvents();
            SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
            return;
        }
    }
    // Nobody to click OK: the box goes to the output, and the program goes on as if it had.
    std::printf("%s: %s\n", caption, text.c_str());
    std::fflush(stdout);
}

void DecorateGameWindow(RenderDevice& device, const TextureImage& icon, int32_t minimumSize)
{
    if (device.window == nullptr)
        return;
    SDL_SetWindowMinimumSize(device.window, minimumSize, minimumSize);
    if (icon.width <= 0 || icon.height <= 0)
        return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(icon.rgba.data()), icon.width,
                                                              icon.height, 32, icon.width * 4, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr)
        return;
    SDL_SetWindowIcon(device.window, surface);
    SDL_FreeSurface(surface);
}

void ShowGameCursor(bool shown)
{
    SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

uint32_t WindowIdOf(const RenderDevice& device)
{
    return device.window != nullptr ? SDL_GetWindowID(device.window) : 0;
}

uint64_t NativeWindowOf(const RenderDevice& device)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (device.window == nullptr || !SDL_GetWindowWMInfo(device.window, &info) || info.subsystem != SDL_SYSWM_X11)
        return 0;
    return static_cast<uint64_t>(info.info.x11.window);
}

int32_t DefaultWindowPosition()
{
    return static_cast<int32_t>(SDL_WINDOWPOS_UNDEFINED);
}

void ReadLiveWindowPlacement(const RenderDevice& device, RenderWindowPlacement& placement)
{
    if (device.window == nullptr || device.fullScreen)
        return;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(device.window, &x, &y);
    SDL_GetWindowSize(device.window, &width, &height);
    if (width <= 0 || height <= 0)
        return;
    placement.x = x;
    placement.y = y;
    placement.width = width;
    placement.height = height;
}

bool ReadWindowClientSize(const RenderDevice& device, int32_t& width, int32_t& height)
{
    if (device.window == nullptr)
        return false;
    int w = 0;
    int h = 0;
    SDL_GL_GetDrawableSize(device.window, &w, &h);
    width = w;
    height = h;
    return w > 0 && h > 0;
}

// ---------------------------------------------------------------------------------------------
// [SECTION] The dialog window
// ---------------------------------------------------------------------------------------------

namespace {

// Centred over the owner's window, moved inside the display it is on so that all of it shows.
void PlaceOverOwner(const RenderDevice& owner, int32_t width, int32_t height, int& x, int& y)
{
    int ownerX = 0;
    int ownerY = 0;
    int ownerWidth = 0;
    int ownerHeight = 0;
    SDL_GetWindowPosition(owner.window, &ownerX, &ownerY);
    SDL_GetWindowSize(owner.window, &ownerWidth, &ownerHeight);
    x = ownerX + (ownerWidth - width) / 2;
    y = ownerY + (ownerHeight - height) / 2;
    SDL_Rect usable{};
    int display = SDL_GetWindowDisplayIndex(owner.window);
    if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0)
        return;
    x = std::max(usable.x, std::min(x, usable.x + usable.w - width));
    y = std::max(usable.y, std::min(y, usable.y + usable.h - height));
}

}  // namespace

bool OpenDialogWindow(DialogWindow& dialog, const char* title, int32_t width, int32_t height,
                      const TextureImage& icon, const RenderDevice* owner)
{
    dialog = DialogWindow{};
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    dialog.videoStarted = 1;
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    bool owned = owner != nullptr && owner->window != nullptr;
    int x = static_cast<int>(SDL_WINDOWPOS_CENTERED);
    int y = static_cast<int>(SDL_WINDOWPOS_CENTERED);
    if (owned)
        PlaceOverOwner(*owner, width, height, x, y);
    SDL_Window* window = SDL_CreateWindow(title, x, y, width, height, SDL_WINDOW_OPENGL);
    if (window == nullptr) {
        CloseDialogWindow(dialog);
        return false;
    }
    if (owned)
        SDL_SetWindowModalFor(window, owner->window);
    dialog.window = window;
    dialog.windowId = SDL_GetWindowID(window);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        CloseDialogWindow(dialog);
        return false;
    }
    dialog.glContext = context;
    SDL_GL_MakeCurrent(window, context);
    SDL_GL_SetSwapInterval(1);
    if (icon.width > 0 && icon.height > 0) {
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<uint8_t*>(icon.rgba.data()), icon.width, icon.height, 32, icon.width * 4, SDL_PIXELFORMAT_RGBA32);
        if (surface != nullptr) {
            SDL_SetWindowIcon(window, surface);
            SDL_FreeSurface(surface);
        }
    }
    return true;
}

void PresentDialogWindow(DialogWindow& dialog)
{
    if (dialog.window != nullptr)
        SDL_GL_SwapWindow(static_cast<SDL_Window*>(dialog.window));
}

void CloseDialogWindow(DialogWindow& dialog)
{
    if (dialog.glContext != nullptr) {
        SDL_GL_MakeCurrent(static_cast<SDL_Window*>(dialog.window), nullptr);
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(dialog.glContext));
    }
    if (dialog.window != nullptr)
        SDL_DestroyWindow(static_cast<SDL_Window*>(dialog.window));
    if (dialog.videoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    dialog = DialogWindow{};
}
