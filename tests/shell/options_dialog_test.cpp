#include "shell/options_dialog.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "shell/app_state.h"
#include "shell/world_options.h"
#include "world/game_random.h"

namespace {

struct OpenDialog {
    GameOptions options;
    AppState app;
    OptionsDialog dialog;
};

OpenDialog OpenOn(const GameOptions& options, int32_t gameStarted, uint32_t seed = 100)
{
    OpenDialog open;
    open.options = options;
    open.app.gameStarted = gameStarted;
    OpenOptionsDialog(open.dialog, open.options, open.app, seed);
    return open;
}

}  // namespace

TEST(OptionsDialog, OpensOnTheOptionsWithStartAndCancelForTheRun)
{
    GameOptions options;
    options.scenery = 3;
    options.soundType = SoundDieselElectric;
    options.totalLengthKm = 42;
    OpenDialog first = OpenOn(options, 0);
    EXPECT_EQ(first.dialog.workingScenery, 3);
    EXPECT_EQ(first.dialog.workingSoundType, SoundDieselElectric);
    EXPECT_EQ(first.dialog.editTexts[0], "42");
    EXPECT_EQ(first.dialog.editTexts[1], "3");
    EXPECT_EQ(first.dialog.editTexts[2], "30");
    EXPECT_EQ(first.dialog.editTexts[3], "5");
    EXPECT_EQ(first.dialog.editTexts[4], "1");
    EXPECT_STREQ(OptionsStartLabel(first.dialog), "START");
    EXPECT_FALSE(OptionsCancelEnabled(first.dialog));

    OpenDialog later = OpenOn(options, 1);
    EXPECT_STREQ(OptionsStartLabel(later.dialog), "RESTART");
    EXPECT_TRUE(OptionsCancelEnabled(later.dialog));
}

TEST(OptionsDialog, EditsAreEnabledOnlyForCustom)
{
    OpenDialog open = OpenOn(GameOptions{}, 1);
    for (int32_t scenery : {1, 2, 3, 4, 5, SceneryCustom}) {
        ChooseScenery(open.dialog, scenery);
        EXPECT_EQ(OptionsEditsEnabled(open.dialog), scenery == SceneryCustom) << scenery;
    }
    GameRandom random;
    PressRandom(open.dialog, open.options, random);
    EXPECT_FALSE(OptionsEditsEnabled(open.dialog));
}

TEST(OptionsDialog, StartReadsEveryEditWithTheReadingRules)
{
    struct Case {
        int edit;
        const char* text;
        int32_t expected;
    };
    const Case cases[] = {
        {0, "", 100},      {1, "", 2},        {2, "", 0},       {3, "", 0},         {4, "", 0},
        {0, "12km", 12},   {0, "4", 100},     {0, "101", 100},  {0, "  +55", 55},   {0, "abc", 100},
        {1, "0", 2},       {1, "10", 10},     {1, "11", 2},     {2, "80", 80},      {2, "81", 20},
        {2, "-1", 20},     {3, "15", 15},     {3, "21", 20},    {4, "5", 5},        {4, "6", 5},
        // Only the first eight characters are read: "000000099" reads as 9, "123456789" as
        // 12345678, outside the range.
        {0, "000000099", 9},  {0, "123456789", 100},
    };
    for (const Case& c : cases) {
        OpenDialog open = OpenOn(GameOptions{}, 1);
        open.dialog.editTexts[c.edit] = c.text;
        PressStart(open.dialog, open.options);
        EXPECT_EQ(open.options.*EditedOptionRanges[c.edit].field, c.expected)
            << "edit " << c.edit << " holding '" << c.text << "'";
        EXPECT_EQ(open.dialog.outcome, OptionsOutcome::Started);
    }
}

TEST(OptionsDialog, WorkingCopiesReachTheOptionsOnlyOnStart)
{
    GameOptions options;
    OpenDialog open = OpenOn(options, 1);
    ChooseScenery(open.dialog, 4);
    ChooseSoundType(open.dialog, SoundOff);
    open.dialog.editTexts[0] = "20";
    PressCancel(open.dialog);
    EXPECT_EQ(open.dialog.outcome, OptionsOutcome::Cancelled);
    EXPECT_EQ(open.options.scenery, 1);
    EXPECT_EQ(open.options.soundType, SoundDieselAutomatic);
    EXPECT_EQ(open.options.totalLengthKm, 100);

    OpenDialog started = OpenOn(options, 1);
    ChooseScenery(started.dialog, 4);
    ChooseSoundType(started.dialog, SoundOff);
    PressStart(started.dialog, started.options);
    EXPECT_EQ(started.options.scenery, 4);
    EXPECT_EQ(started.options.soundType, SoundOff);
}

TEST(OptionsDialog, FirstDialogCannotBeCancelledButCanExit)
{
    OpenDialog open = OpenOn(GameOptions{}, 0);
    PressCancel(open.dialog);
    EXPECT_EQ(open.dialog.outcome, OptionsOutcome::Open);
    PressExit(open.dialog, open.app);
    EXPECT_EQ(open.dialog.outcome, OptionsOutcome::Exited);
    EXPECT_EQ(open.app.exitRequested, 1);
}

TEST(OptionsDialog, EachRandomClickDrawsTheNextFiveValues)
{
    GameOptions options;
    options.totalLengthKm = 40;
    options.meetingDistanceKm = 6;
    OpenDialog open = OpenOn(options, 1, 100);
    GameRandom random;
    random.seed(5000);
    GameRandom expected = random;
    std::set<std::string> curvesSeen;
    for (int click = 0; click < 20; ++click) {
        PressRandom(open.dialog, open.options, random);
        // The generator goes on: the click's values are the next five draws.
        GameOptions drawn;
        PressRandomScenery(drawn, expected);
        ASSERT_EQ(open.dialog.editTexts[2], std::to_string(drawn.curvesPercent)) << "click " << click;
        ASSERT_EQ(open.dialog.editTexts[3], std::to_string(drawn.villagesPercent)) << "click " << click;
        ASSERT_EQ(open.dialog.editTexts[4], std::to_string(drawn.forestLevel)) << "click " << click;
        ASSERT_EQ(open.options.reliefMax, drawn.reliefMax) << "click " << click;
        ASSERT_EQ(open.options.reliefMin, drawn.reliefMin) << "click " << click;
        curvesSeen.insert(open.dialog.editTexts[2]);
    }
    // New values on every click, not the same few again.
    EXPECT_GE(curvesSeen.size(), 10u);
    EXPECT_EQ(open.dialog.workingScenery, SceneryRandom);
    // The route keeps the seed the dialog opened with; length and meeting distance keep their
    // text; the drawn values wait in the edits.
    EXPECT_EQ(open.dialog.routeSeed, 100u);
    EXPECT_EQ(open.dialog.editTexts[0], "40");
    EXPECT_EQ(open.dialog.editTexts[1], "6");
    EXPECT_EQ(open.options.curvesPercent, 30);

    // The drawn values are the ones Start stores.
    PressStart(open.dialog, open.options);
    EXPECT_EQ(open.options.scenery, SceneryRandom);
    EXPECT_EQ(std::to_string(open.options.curvesPercent), open.dialog.editTexts[2]);
    EXPECT_EQ(std::to_string(open.options.villagesPercent), open.dialog.editTexts[3]);
    EXPECT_EQ(std::to_string(open.options.forestLevel), open.dialog.editTexts[4]);
}

TEST(OptionsDialog, RandomThenCancelKeepsOnlyTheReliefBounds)
{
    GameOptions options;
    OpenDialog open = OpenOn(options, 1);
    GameRandom random;
    // Seed 7's draws put the relief bounds away from their start values.
    random.seed(7);
    PressRandom(open.dialog, open.options, random);
    int32_t reliefMax = open.options.reliefMax;
    int32_t reliefMin = open.options.reliefMin;
    ASSERT_TRUE(reliefMax != options.reliefMax || reliefMin != options.reliefMin);
    PressCancel(open.dialog);
    EXPECT_EQ(open.options.scenery, 1);
    EXPECT_EQ(open.options.curvesPercent, options.curvesPercent);
    EXPECT_EQ(open.options.villagesPercent, options.villagesPercent);
    EXPECT_EQ(open.options.forestLevel, options.forestLevel);
    EXPECT_EQ(open.options.reliefMax, reliefMax);
    EXPECT_EQ(open.options.reliefMin, reliefMin);
}

TEST(OptionsDialog, ReplayLineNamesWhatTheSceneryLeavesOpen)
{
    GameOptions options;
    options.reliefMin = -4;
    options.reliefMax = 33;
    OpenDialog open = OpenOn(options, 1, 99);
    EXPECT_EQ(ReplayCommandLine(open.dialog), "tagvind play --scenery 1 --seed 99 --length 100 --meeting 3");
    ChooseScenery(open.dialog, SceneryCustom);
    open.dialog.editTexts[2] = "95";  // replaced by 20 on Start
    EXPECT_EQ(ReplayCommandLine(open.dialog), "tagvind play --scenery custom --seed 99 --length 100 --meeting 3 "
                                              "--curves 20 --villages 5 --forest 1 --relief -4..33");
    // Random names the values it drew, the relief bounds it stored among them.
    GameRandom random;
    random.seed(1);
    PressRandom(open.dialog, open.options, random);
    EXPECT_EQ(ReplayCommandLine(open.dialog), "tagvind play --scenery random --seed 99 --length 100 --meeting 3 "
                                              "--curves 0 --villages 5 --forest 0 --relief -5..40");
}

TEST(OptionsDialog, FreshSeedsGrowWithinTheSeedsTheCommandLineTakes)
{
    EXPECT_EQ(FreshRouteSeed(100, 200), 200u);
    EXPECT_EQ(FreshRouteSeed(200, 200), 201u);
    EXPECT_EQ(FreshRouteSeed(1700000000u, 1600000000u), 1700000001u);
    // A clock past 2038 drops its top bit; the highest seed is followed by 0.
    EXPECT_EQ(FreshRouteSeed(100, 0x80000000u + 300u), 300u);
    EXPECT_EQ(FreshRouteSeed(0x7FFFFFFFu, 1700000000u), 0u);
}
