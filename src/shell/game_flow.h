#pragma once
// The game's flow without the platform: the session a program run holds, the start of a new
// run, and RunFrame, the frame driver: the clock, the simulation and the engine sound, the end
// of a run, the scene, the ticks, the cab display and the present, in that order. Every run of
// the game goes through it: the window, and the headless commands on null platform parts. The window, the dialogs, the picture and the
// timer are reached through ShellPlatform, which game_app.cpp implements over SDL2, OpenGL
// and Dear ImGui and the tests implement with recording fakes.

#include <cstdint>
#include <string>

#include "cab/canvas.h"
#include "shell/app_state.h"
#include "shell/frame_ticks.h"
#include "shell/options_dialog.h"
#include "sim/camera.h"
#include "sim/signals_scoring.h"
#include "sound/engine_sound.h"
#include "world/game_options.h"
#include "world/world.h"

class CabCanvas;
class DrawDevice;

constexpr const char* EndOfRunCaption = "End";
constexpr const char* EndOfRunText = "You have reached the destination\nYour final score is: ";
constexpr const char* RenderingFailedText = "An error occurred during rendering.\n\nThis program will now exit";

class ShellPlatform {
public:
    virtual ~ShellPlatform() = default;

    // The millisecond timer the game clock runs on; it wraps after 49 days.
    virtual uint32_t NowMs() = 0;
    // The clock in whole seconds, for the seeds of new routes.
    virtual uint32_t ClockSeed() = 0;

    // Modal dialogs: each returns when the player has closed it; no frame runs meanwhile.
    // The options dialog works the model until its outcome is no longer Open.
    virtual void RunOptionsDialog(OptionsDialog& dialog, GameOptions& options, GameRandom& random,
                                  AppState& app) = 0;
    virtual void RunAboutBox() = 0;
    // DeviceDialogChanged with the chosen device's windowed choice, or DeviceDialogUnchanged.
    virtual int32_t RunDeviceDialog(int32_t windowed, int32_t& chosenWindowed) = 0;
    // A message box owned by the game window, OK only.
    virtual void ShowMessage(const char* caption, const std::string& text) = 0;

    // The help window and the pop-up menu open beside the running game.
    virtual void OpenHelp() = 0;
    virtual void OpenPopupMenu(int32_t x, int32_t y) = 0;

    // The render device: closes and opens it again for the current windowed flag; a failure
    // has been reported and ends the program. Resizing and moving only tell it where the
    // picture is and how large.
    virtual int32_t ReopenDevice(AppState& app) = 0;
    // The window took a new size: the windowed picture follows it.
    virtual void ResizeDevice() = 0;
    virtual void MoveDevice(int32_t x, int32_t y) = 0;
    // Closes the game window, which ends the program in order.
    virtual void CloseWindow() = 0;
    // A new world was built: its textures may need loading.
    virtual void WorldRebuilt(World& world) = 0;

    // One frame's picture: the scene's device (null when none is open), then the 2D canvas for
    // the cab display over it, then the present with the menus. Returns the present's result.
    virtual DrawDevice* SceneDevice() = 0;
    // False where nobody looks at the picture (a headless run on null parts): the frame then
    // skips the scene and the cab display, and everything else runs as it would.
    virtual bool PictureWanted() { return true; }
    virtual CabCanvas& BeginOverlay() = 0;
    virtual int32_t PresentFrame() = 0;
    virtual void RestoreSurfaces() = 0;
};

// Everything one program run of the game holds. Large (the world's tables): keep it on the heap.
struct GameSession {
    World world;
    GameOptions options;
    AppState app;
    Camera camera;
    FrameTicks ticks;
    CanvasSize cabPicture = {};    // the size the cab display was last drawn for: lever clicks map with it
    EngineSound sound;
    // > 0: every frame covers exactly this much game time and the ticks run on game time (a
    // headless run); 0: frames take the time the timer measured between them.
    double fixedStepSeconds = 0.0;
    uint32_t runSeed = 0;          // the seed the current run was built from
    std::string runCommandLine;    // the command line that builds the current run's line again
    std::string worldDigest;       // WorldDigest of the world as the run's build left it
    int32_t endsAfterRun = 0;      // nobody is there to choose: the dialog after a run exits
    int32_t menuOpen = 0;          // a menu of the menu bar or the pop-up menu is open
    // What happened, for the state dump and the tests.
    int32_t framesRun = 0;
    int32_t endOfRunMessages = 0;
    int32_t runsStarted = 0;
    int32_t deviceReopens = 0;
    SignTally signs = {};          // what the signs did to the player, over the program run
    int32_t speedingTicks = 0;     // score ticks that charged for speeding
};

// Seeds the generator for seed as the command line does and builds the world from the options
// as they stand (a random line keeps the values the dialog drew): a new run.
void StartNewRun(GameSession& game, uint32_t seed);

// The seed a newly opened options dialog offers: a fresh one, whatever the scenery, so that
// every run of a random or custom scenery is a new line.
uint32_t SeedForOptionsDialog(const GameSession& game, uint32_t clockSeed);

// One frame. A negative result is a rendering failure that ends the program.
int32_t RunFrame(GameSession& game, ShellPlatform& platform);

// The demo driver: the keypad key a player presses now to move the combined handle one step
// towards where the autopilot wants it, or KeyNone when it is there.
int32_t DemoDriverKey(const World& world, float frameStep);

// Between two frames: the demo driver presses the keys, through the window procedure as a
// player's keys go, until the handle is where the autopilot wants it.
void PressDemoDriverKeys(GameSession& game, ShellPlatform& platform);

// Whether the engine is heard: the sound switched on (key S, the low-frame-rate cut-off), a
// sound type chosen, and the game running (a resume pending at the next frame is still paused).
bool EngineAudible(const AppState& app, const GameOptions& options);

// The engine goes quiet at once; does nothing when there is no sound device.
void SilenceGameSound(GameSession& game);

// The text of the end-of-run message for a score.
std::string EndOfRunMessage(int32_t score);
