#pragma once
// The game clock: seconds on the millisecond timer since clockStartMs, the time step handed to
// the simulation, the pause counter, and the bracket around every interruption (a dialog, a
// message box, an open menu) that moves clockStartMs forward by the time it lasted, so the game
// does not see it. The timer reading is passed in, so tests set the time themselves.
//
// The pause counter: 0 running, 1 paused, 2 or more resume at the next frame. A pause by P does
// not move the clock: it runs on, and only the step is held at 0.
//
// Rendering is allowed (isReady) while no modal hold is in force and the render device is not
// being opened again.

#include <cstdint>

struct AppState;

// Time zero of the game clock is now; the previous frame was at 0.
void StartGameClock(AppState& app, uint32_t nowMs);

// The game clock in seconds. The difference wraps as the timer does, so a timer that rolls over
// after 49 days still counts on.
float GameClockSeconds(const AppState& app, uint32_t nowMs);

// A resume asked for since the last frame takes effect: a counter of 2 or more becomes 0.
void TakePendingResume(AppState& app);

// After the frame's simulation: the step the next frame simulates is the time since the
// previous frame, 0 while paused.
void AdvanceFrameStep(AppState& app, float clockSeconds);

// Pauses now, whatever the counter said: a menu opening, or Pause and Help chosen from a menu,
// whose closing has just asked for a resume.
void PauseGame(AppState& app);

// Resumes now, without waiting for the next frame: any key that is not the driver's.
void ResumeGame(AppState& app);

// Asks the next frame to resume: a closed menu or options dialog lets the game run on.
void ResumeAtNextFrame(AppState& app);

// Begins (on) or ends (off) a hold on rendering; holds nest. Returns true when this call began
// the first hold, the moment a full-screen picture must make room for the dialog.
bool HoldRendering(AppState& app, bool on);

// The interruption bracket: remembers when it began, and on its end moves the clock's start
// forward by its length.
void BeginInterruption(AppState& app, uint32_t nowMs);
void EndInterruption(AppState& app, uint32_t nowMs);

// A modal dialog or message box: rendering is held and the time it is open is kept off the game
// clock, so the first step after it does not move every train on by the whole time.
void BeginModalHold(AppState& app, uint32_t nowMs);
void EndModalHold(AppState& app, uint32_t nowMs);

// Rendering stops while the render device is closed or opened again, and starts once it is open.
void StopRendering(AppState& app);
void AllowRendering(AppState& app);

// The pause key, the Help command and the device dialog count a pause up; the first count
// pauses, the next one resumes at the next frame. Returns true when the game has just paused,
// so that the engine must be silenced.
bool CountPauseUp(AppState& app);
