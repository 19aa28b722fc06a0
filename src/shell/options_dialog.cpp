#include "shell/options_dialog.h"

#include "shell/app_state.h"
#include "shell/world_options.h"
#include "world/game_random.h"

void OpenOptionsDialog(OptionsDialog& dialog, const GameOptions& options, const AppState& app, uint32_t routeSeed)
{
    dialog.workingScenery = options.scenery;
    dialog.workingSoundType = options.soundType;
    for (size_t i = 0; i < dialog.editTexts.size(); ++i)
        dialog.editTexts[i] = std::to_string(options.*EditedOptionRanges[i].field);
    dialog.firstRun = app.gameStarted ? 0 : 1;
    dialog.routeSeed = routeSeed;
    dialog.reliefMin = options.reliefMin;
    dialog.reliefMax = options.reliefMax;
    dialog.outcome = OptionsOutcome::Open;
}

bool OptionsEditsEnabled(const OptionsDialog& dialog)
{
    return dialog.workingScenery == SceneryCustom;
}

bool OptionsCancelEnabled(const OptionsDialog& dialog)
{
    return !dialog.firstRun;
}

const char* OptionsStartLabel(const OptionsDialog& dialog)
{
    return dialog.firstRun ? StartLabelFirstRun : StartLabelRestart;
}

void ChooseScenery(OptionsDialog& dialog, int32_t scenery)
{
    if ((scenery >= 1 && scenery <= 5) || scenery == SceneryCustom)
        dialog.workingScenery = scenery;
}

void ChooseSoundType(OptionsDialog& dialog, int32_t soundType)
{
    if (soundType >= SoundOff && soundType <= SoundDieselElectric)
        dialog.workingSoundType = soundType;
}

void PressRandom(OptionsDialog& dialog, GameOptions& options, GameRandom& random)
{
    // The generator is not seeded again: a click goes on with its sequence, so each click gives
    // values as new as the draws themselves. Curves, villages and forest go into the edits only
    // (Cancel forgets them); the relief bounds have no edit and are stored at once.
    GameOptions drawn = options;
    PressRandomScenery(drawn, random);
    dialog.editTexts[2] = std::to_string(drawn.curvesPercent);
    dialog.editTexts[3] = std::to_string(drawn.villagesPercent);
    dialog.editTexts[4] = std::to_string(drawn.forestLevel);
    options.reliefMax = drawn.reliefMax;
    options.reliefMin = drawn.reliefMin;
    dialog.reliefMax = drawn.reliefMax;
    dialog.reliefMin = drawn.reliefMin;
    dialog.workingScenery = SceneryRandom;
}

void PressStart(OptionsDialog& dialog, GameOptions& options)
{
    options.soundType = dialog.workingSoundType;
    options.scenery = dialog.workingScenery;
    for (size_t i = 0; i < dialog.editTexts.size(); ++i)
        StoreOptionValue(options, EditedOptionRanges[i], ReadEditValue(dialog.editTexts[i]));
    dialog.outcome = OptionsOutcome::Started;
}

void PressCancel(OptionsDialog& dialog)
{
    if (OptionsCancelEnabled(dialog))
        dialog.outcome = OptionsOutcome::Cancelled;
}

void PressExit(OptionsDialog& dialog, AppState& app)
{
    app.exitRequested = 1;
    dialog.outcome = OptionsOutcome::Exited;
}

uint32_t FreshRouteSeed(uint32_t previous, uint32_t clockSeed)
{
    // Both stay within the seeds --seed accepts, so the command line shown builds this line.
    uint32_t clock = SeedFromClock(clockSeed);
    return clock > previous ? clock : (previous + 1) & HighestSeed;
}

std::string ReplayCommandLine(const OptionsDialog& dialog)
{
    GameOptions onStart;
    onStart.scenery = dialog.workingScenery;
    for (size_t i = 0; i < dialog.editTexts.size(); ++i)
        StoreOptionValue(onStart, EditedOptionRanges[i], ReadEditValue(dialog.editTexts[i]));
    onStart.reliefMin = dialog.reliefMin;
    onStart.reliefMax = dialog.reliefMax;
    return PlayCommandLine(onStart, dialog.routeSeed);
}
