#include <gtest/gtest.h>

#include "world/game_options.h"

TEST(GameOptions, EditsAreReadLikeTheDialogReadsThem)
{
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"", 0},          {"12", 12},          {"12km", 12},      {"  7", 7},   {"-3", -3},
        {"+40", 40},      {"abc", 0},          {"123456789", 12345678}, {"        9", 0}, {" 4 5", 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadEditValue(c.text), c.value) << '"' << c.text << '"';
}

TEST(GameOptions, OutOfRangeValuesTakeTheirReplacement)
{
    struct Case {
        int field;  // index into EditedOptionRanges
        int32_t value;
        int32_t stored;
        bool accepted;
    };
    const Case cases[] = {
        {0, 0, 100, false}, {0, 4, 100, false}, {0, 101, 100, false}, {0, 5, 5, true}, {0, 12, 12, true},
        {1, 0, 2, false},   {1, 11, 2, false},  {1, 10, 10, true},
        {2, 0, 0, true},    {2, 81, 20, false}, {2, -1, 20, false},
        {3, 15, 15, true},  {3, 21, 20, false}, {3, 0, 0, true},
        {4, 0, 0, true},    {4, 6, 5, false},   {4, 5, 5, true},
    };
    for (const Case& c : cases) {
        GameOptions options;
        const OptionRange& range = EditedOptionRanges[c.field];
        EXPECT_EQ(StoreOptionValue(options, range, c.value), c.accepted) << range.name << " " << c.value;
        EXPECT_EQ(options.*range.field, c.stored) << range.name << " " << c.value;
    }
}

TEST(GameOptions, DefaultsAreTheFirstRunsOptions)
{
    GameOptions options;
    EXPECT_EQ(options.scenery, 1);
    EXPECT_EQ(options.totalLengthKm, 100);
    EXPECT_EQ(options.meetingDistanceKm, 3);
    EXPECT_EQ(options.curvesPercent, 30);
    EXPECT_EQ(options.villagesPercent, 5);
    EXPECT_EQ(options.forestLevel, 1);
    EXPECT_EQ(options.reliefMin, -10);
    EXPECT_EQ(options.reliefMax, 20);
    EXPECT_EQ(options.soundType, SoundDieselAutomatic);
}
