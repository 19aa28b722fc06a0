#include "shell/options_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "resolve_arguments.h"
#include "shell/app_state.h"
#include "world/game_random.h"
#include "world/world.h"

TEST(OptionsDialog, TheFirstDialogCanOnlyStartOrExitLaterOnesCanCancel)
{
    for (int32_t gameStarted : {0, 1}) {
        GameOptions options;
        options.totalLengthKm = 42;
        AppState app;
        app.gameStarted = gameStarted;
        OptionsDialog dialog;
        OpenOptionsDialog(dialog, options, app, 100);
        EXPECT_EQ(dialog.editTexts, (std::array<std::string, 5>{"42", "3", "30", "5", "1"}));
        EXPECT_STREQ(OptionsStartLabel(dialog), gameStarted ? "RESTART" : "START");
        PressCancel(dialog);
        EXPECT_EQ(dialog.outcome, gameStarted ? OptionsOutcome::Cancelled : OptionsOutcome::Open);
        PressExit(dialog, app);
        EXPECT_EQ(std::make_pair(dialog.outcome, app.exitRequested), std::make_pair(OptionsOutcome::Exited, 1));
        for (int32_t scenery : {1, 5, SceneryCustom}) {
            ChooseScenery(dialog, scenery);
            EXPECT_EQ(OptionsEditsEnabled(dialog), scenery == SceneryCustom) << scenery;
        }
    }
}

TEST(OptionsDialog, StartStoresTheChoicesAndReadsEveryEditWithTheReadingRules)
{
    struct Case {
        int edit;
        const char* text;
        int32_t expected;
    };
    const Case cases[] = {
        {0, "", 100},     {1, "", 2},      {2, "", 0},        {3, "", 0},         {4, "", 0},
        {0, "12km", 12},  {0, "4", 100},   {0, "5", 5},       {0, "101", 100},    {0, "  +55", 55},
        {0, "abc", 100},  {0, " 4 5", 100}, {1, "0", 2},      {1, "10", 10},      {1, "11", 2},
        {2, "80", 80},    {2, "81", 20},   {2, "-3", 20},     {3, "20", 20},      {3, "21", 20},
        {4, "5", 5},      {4, "6", 5},
        // Only the first eight characters are read.
        {0, "000000099", 9}, {0, "123456789", 100}, {0, "        9", 100},
    };
    for (const Case& c : cases) {
        GameOptions options;
        OptionsDialog dialog;
        OpenOptionsDialog(dialog, options, AppState{}, 100);
        ChooseScenery(dialog, 4);
        ChooseSoundType(dialog, SoundOff);
        dialog.editTexts[c.edit] = c.text;
        PressStart(dialog, options);
        EXPECT_EQ(options.*EditedOptionRanges[c.edit].field, c.expected) << c.edit << " '" << c.text << "'";
        EXPECT_EQ(std::make_tuple(options.scenery, options.soundType, dialog.outcome),
                  std::make_tuple(4, SoundOff, OptionsOutcome::Started));
    }
}

// Each start of a dialog builds a new line even when nothing was clicked; each Random click goes
// on with the game's one generator; the line the dialog shows builds what its Start stores,
// whatever clicks, cancels and restarts led there.
TEST(OptionsDialog, EveryStartBuildsANewLineThatTheShownLineRebuilds)
{
    struct Dialog {
        const char* clicks;  // R Random, C Custom, 1..5 a preset, e curves typed as 95, x Cancel
        uint32_t clockSeed;
        uint32_t offeredSeed;  // the clock's reading when it has moved on, or the last seed + 1
    };
    const std::vector<std::vector<Dialog>> cases = {
        {{"R", 1700000000u, 1700000000u}, {"", 1700000000u, 1700000001u}, {"", 5u, 1700000002u}},
        {{"RRR", 1700000000u, 1700000000u}, {"R", 1800000000u, 1800000000u}},
        {{"Rx", 1700000000u, 1700000000u}, {"Ce", 1700000000u, 1700000000u}, {"R3", 0x80000000u + 9, 1700000001u}},
        {{"RC", HighestSeed, HighestSeed}, {"4", HighestSeed, 0u}, {"CR", 0x80000000u + 3, 3u}},
    };
    for (const std::vector<Dialog>& dialogs : cases) {
        auto world = std::make_unique<World>();
        GameOptions options;
        uint32_t runSeed = 4321;
        SeedAsStartUp(*world, options, runSeed);
        std::set<std::pair<std::vector<int32_t>, uint32_t>> lines = {{BuiltValues(options), runSeed}};
        for (const Dialog& d : dialogs) {
            SCOPED_TRACE(std::string("clicks '") + d.clicks + "'");
            AppState app;
            app.gameStarted = 1;
            OptionsDialog dialog;
            OpenOptionsDialog(dialog, options, app, FreshRouteSeed(runSeed, d.clockSeed));
            EXPECT_EQ(dialog.routeSeed, d.offeredSeed);
            GameOptions before = options, drawn = options;
            GameRandom goesOn = world->random;
            for (const char* click = d.clicks; *click != '\0'; ++click) {
                if (*click == 'R') {
                    PressRandom(dialog, options, world->random);
                    PressRandomScenery(drawn, goesOn);
                    EXPECT_EQ(std::tie(dialog.editTexts[2], dialog.editTexts[3], dialog.editTexts[4]),
                              std::make_tuple(std::to_string(drawn.curvesPercent), std::to_string(drawn.villagesPercent),
                                              std::to_string(drawn.forestLevel)));
                } else if (*click == 'e') {
                    dialog.editTexts[2] = "95";
                } else if (*click != 'x') {
                    ChooseScenery(dialog, *click == 'C' ? SceneryCustom : *click - '0');
                }
            }
            // Random stores the relief bounds at once, and Cancel keeps them.
            EXPECT_EQ(std::make_pair(options.reliefMin, options.reliefMax),
                      std::make_pair(drawn.reliefMin, drawn.reliefMax));
            std::string shown = ReplayCommandLine(dialog);
            if (std::string(d.clicks).find('x') != std::string::npos) {
                PressCancel(dialog);
                EXPECT_EQ(std::tie(options.scenery, options.curvesPercent, options.villagesPercent, options.forestLevel),
                          std::tie(before.scenery, before.curvesPercent, before.villagesPercent, before.forestLevel));
                continue;
            }
            PressStart(dialog, options);
            ResolvedOptions replayed = ResolveCommandLine(shown);
            EXPECT_EQ(std::make_pair(replayed.ok, replayed.notices), std::make_pair(true, std::string())) << shown;
            EXPECT_EQ(replayed.seed, dialog.routeSeed) << shown;
            EXPECT_EQ(BuiltValues(replayed.options), BuiltValues(options)) << shown;
            EXPECT_TRUE(lines.insert({BuiltValues(options), dialog.routeSeed}).second) << "built again: " << shown;
            runSeed = dialog.routeSeed;
            SeedAsStartUp(*world, options, runSeed);
        }
    }
}
