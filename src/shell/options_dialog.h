#pragma once
// The start options dialog, "Tagvind Options", as a model the drawing code and the tests both
// work: the scenery and sound choices are working copies that reach the options only on Start;
// the five edits hold text as the player typed it and are read on Start with the dialog's
// reading rules; Random draws five values at once; Cancel is not offered before the first run.
//
// Every route is built from a seed: the clock reading (or --seed) at start-up, and a fresh
// clock reading whenever the dialog opens during the game, so that each run is a new line. The dialog shows the command line that builds the line Start would build:
// the seed and every value the build reads, so that a random line is named whatever clicks
// drew its values.

#include <array>
#include <cstdint>
#include <string>

#include "world/game_options.h"

struct AppState;
struct GameRandom;

enum class OptionsOutcome : int32_t {
    Open = 0,
    Started = 1,    // START or RESTART: the options were stored
    Cancelled = 2,  // back to the run, options as they were
    Exited = 3,     // EXIT: the program closes
};

// Control texts and the radio buttons' values.
constexpr const char* OptionsDialogTitle = "Tagvind Options";
constexpr const char* SceneryGroupLabel = "Scenary";
constexpr const char* CustomGroupLabel = "Custom";
constexpr const char* SoundLabel = "Sound:";
constexpr const char* SoundTypeLabels[3] = {"Off", "Diesel-automatic", "Diesel-electric"};
constexpr const char* StartLabelFirstRun = "START";
constexpr const char* StartLabelRestart = "RESTART";

// The labels and range hints of the five edits, in EditedOptionRanges order. The villages hint
// says 0-10 although up to 20 is accepted: Random draws no more than 10.
constexpr const char* EditLabels[5] = {"Total length (km):", "Distance between\nmeeting stations:", "Curves (%)",
                                       "Villages (%)", "Forest"};
constexpr const char* EditRangeHints[5] = {"(5-100)", "(2-10)", "(0-80)", "(0-10)", "(0-5)"};

struct OptionsDialog {
    int32_t workingScenery = 1;    // 1..5 presets, 6 Random, 7 Custom
    int32_t workingSoundType = 1;
    std::array<std::string, 5> editTexts;  // in EditedOptionRanges order
    int32_t firstRun = 1;          // Start reads "START" and Cancel is disabled
    uint32_t routeSeed = 0;        // the seed the next run is built from
    // The relief bounds as the options hold them: Random stores them there at once, and the
    // command line shown must name them.
    int32_t reliefMin = 0;
    int32_t reliefMax = 0;
    OptionsOutcome outcome = OptionsOutcome::Open;
};

// Opens the dialog on the options: working copies, the edits' text, the Start button's label.
// routeSeed is the seed a Start now would build with.
void OpenOptionsDialog(OptionsDialog& dialog, const GameOptions& options, const AppState& app, uint32_t routeSeed);

// The edits can be typed into only while Custom is chosen.
bool OptionsEditsEnabled(const OptionsDialog& dialog);
bool OptionsCancelEnabled(const OptionsDialog& dialog);
const char* OptionsStartLabel(const OptionsDialog& dialog);

// A preset (1..5) or Custom (7). Random has its own button, which draws.
void ChooseScenery(OptionsDialog& dialog, int32_t scenery);
void ChooseSoundType(OptionsDialog& dialog, int32_t soundType);

// Random: five new draws from the game's generator, going on where it stands: curves, villages
// and forest into their edits, the relief bounds into the options at once. Length and meeting
// distance keep their text, and the route's seed stays the one the dialog opened with.
void PressRandom(OptionsDialog& dialog, GameOptions& options, GameRandom& random);

// Start: the working copies and then each edit, read and range-checked, go into the options.
void PressStart(OptionsDialog& dialog, GameOptions& options);
// Cancel (and Esc): ignored while Cancel is disabled.
void PressCancel(OptionsDialog& dialog);
// EXIT: the program closes at its next idle turn.
void PressExit(OptionsDialog& dialog, AppState& app);

// A seed newer than previous: the clock reading when it has moved past it. Both are seeds
// --seed accepts (0..HighestSeed), past the highest one it starts again at 0.
uint32_t FreshRouteSeed(uint32_t previous, uint32_t clockSeed);

// The command line that builds the line Start would build: PlayCommandLine of the options as
// Start would store them, with the dialog's seed.
std::string ReplayCommandLine(const OptionsDialog& dialog);
