#pragma once
// The start options dialog, "Tagvind Options", as a model the drawing code and the tests both
// work: the scenery and sound choices are working copies that reach the options only on Start;
// the five edits hold text as the player typed it and are read on Start with the dialog's
// reading rules; Random draws five values at once; Cancel is not offered before the first run.
//
// Every route is built from a seed, shown in the dialog so that the player can build the same
// line again with --seed. Start seeds the game's generator with it exactly as the command line
// does, and Random draws its values from it, so a Random line is one number.

#include <array>
#include <cstdint>
#include <string>

#include "shell/game_options.h"

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

// Random: takes a new seed (clockSeed, or one more than the last seed when the clock has not
// moved on, so every click draws new values), seeds the generator with it and draws curves,
// villages and forest into their edits and the relief bounds into the options at once. Length
// and meeting distance keep their text.
void PressRandom(OptionsDialog& dialog, GameOptions& options, GameRandom& random, uint32_t clockSeed);

// Start: the working copies and then each edit, read and range-checked, go into the options.
void PressStart(OptionsDialog& dialog, GameOptions& options);
// Cancel (and Esc): ignored while Cancel is disabled.
void PressCancel(OptionsDialog& dialog);
// EXIT: the program closes at its next idle turn.
void PressExit(OptionsDialog& dialog, AppState& app);

// A seed newer than previous: the clock reading when it has moved past it.
uint32_t FreshRouteSeed(uint32_t previous, uint32_t clockSeed);

// The command line that builds the dialog's line again, e.g.
// "tagvind play --scenery random --seed 1700000000 --length 100 --meeting 3".
std::string ReplayCommandLine(const OptionsDialog& dialog);
