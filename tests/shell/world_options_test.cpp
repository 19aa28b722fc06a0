#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resolve_arguments.h"
#include "world/game_random.h"

TEST(WorldOptions, EachValueIsTakenReplacedOrRefusedInWordsThatNameTheOption)
{
    using G = GameOptions;
    struct Case {
        std::vector<std::string> arguments;
        int32_t G::*field;  // nullptr: refused
        int32_t expected;
        std::string said;
    };
    const std::string custom = "--scenery=custom";
    const Case cases[] = {
        {{"--length", "5"}, &G::totalLengthKm, 5, ""},
        {{"--length", "4"}, &G::totalLengthKm, 100, "tagvind: --length 4 is outside 5..100; using 100\n"},
        {{"--length", "4294967302"}, &G::totalLengthKm, 100,
         "tagvind: --length 4294967302 is outside 5..100; using 100\n"},
        {{"--meeting", "11"}, &G::meetingDistanceKm, 2, "tagvind: --meeting 11 is outside 2..10; using 2\n"},
        {{custom, "--curves", "81"}, &G::curvesPercent, 20, "tagvind: --curves 81 is outside 0..80; using 20\n"},
        {{custom, "--villages", "20"}, &G::villagesPercent, 20, ""},
        {{custom, "--villages", "21"}, &G::villagesPercent, 20, "tagvind: --villages 21 is outside 0..20; using 20\n"},
        {{custom, "--forest", "-1"}, &G::forestLevel, 5, "tagvind: --forest -1 is outside 0..5; using 5\n"},
        {{"--scenery", "CUSTOM"}, &G::scenery, SceneryCustom, ""},
        {{"--sound", "off"}, &G::soundType, SoundOff, ""},
        {{"--sound", "electric"}, &G::soundType, SoundDieselElectric, ""},
        {{"--length", "12km"}, nullptr, 0, "tagvind: --length expects a whole number, not '12km'\n"},
        {{"--forest", "+3"}, nullptr, 0, "tagvind: --forest expects a whole number, not '+3'\n"},
        {{"--scenery", "8"}, nullptr, 0, "tagvind: --scenery expects 1 to 5, random or custom (or 6, 7), not '8'\n"},
        {{"--scenery", "randomly"}, nullptr, 0,
         "tagvind: --scenery expects 1 to 5, random or custom (or 6, 7), not 'randomly'\n"},
        {{"--sound", "loud"}, nullptr, 0, "tagvind: --sound expects off, automatic or electric, not 'loud'\n"},
        {{"--seed", "-1"}, nullptr, 0, "tagvind: --seed expects a whole number from 0 to 2147483647, not '-1'\n"},
        {{"--relief", "20"}, nullptr, 0, "tagvind: --relief expects MIN..MAX in whole metres, e.g. -10..20, not '20'\n"},
        {{"--relief", "5.."}, nullptr, 0, "tagvind: --relief expects MIN..MAX in whole metres, e.g. -10..20, not '5..'\n"},
        {{"--relief", "..5"}, nullptr, 0, "tagvind: --relief expects MIN..MAX in whole metres, e.g. -10..20, not '..5'\n"},
        {{"--relief", "5..4"}, nullptr, 0, "tagvind: --relief MIN must not be above MAX, not '5..4'\n"},
        {{"--relief", "-1001..0"}, nullptr, 0, "tagvind: --relief bounds must lie within -1000..1000, not '-1001..0'\n"},
    };
    for (const Case& c : cases) {
        std::string shown = c.arguments[c.arguments.size() - 2] + " '" + c.arguments.back() + "'";
        ResolvedOptions resolved = ResolveArguments(c.arguments);
        EXPECT_EQ(resolved.ok, c.field != nullptr) << shown;
        EXPECT_EQ(resolved.notices, c.said) << shown;
        if (c.field != nullptr)
            EXPECT_EQ(resolved.options.*c.field, c.expected) << shown;
    }
}

TEST(WorldOptions, PresetsNoticeTheValuesTheySetAndRandomTakesThemInsteadOfItsDraws)
{
    ResolvedOptions preset = ResolveArguments({"--scenery", "2", "--curves", "50", "--length", "40", "--relief", "0..9"});
    ASSERT_TRUE(preset.ok);
    EXPECT_EQ(preset.options.totalLengthKm, 40);
    EXPECT_EQ(preset.notices,
              "tagvind: --curves has no effect with preset scenery 2, which sets it; use --scenery custom\n"
              "tagvind: --relief has no effect with preset scenery 2, which sets it; use --scenery custom\n");

    // Seed 1 draws curves 0, villages 5, forest 0 and relief -5..40 (the test below).
    ResolvedOptions drawn = ResolveArguments({"--scenery", "random", "--seed", "1"});
    ResolvedOptions named = ResolveArguments({"--scenery", "random", "--seed", "1", "--forest", "2", "--relief", "-7..-3"});
    EXPECT_EQ(drawn.notices + named.notices, "");
    EXPECT_EQ(BuiltValues(drawn.options), (std::vector<int32_t>{SceneryRandom, 100, 3, 0, 5, 0, -5, 40}));
    EXPECT_EQ(BuiltValues(named.options), (std::vector<int32_t>{SceneryRandom, 100, 3, 0, 5, 2, -7, -3}));
    EXPECT_EQ(BuiltValues(ResolveArguments({"--scenery", "custom", "--relief", "-1000..1000"}).options),
              (std::vector<int32_t>{SceneryCustom, 100, 3, 30, 5, 1, -1000, 1000}));
}

TEST(WorldOptions, RandomSceneryDrawsItsFiveValuesInTheDialogsOrder)
{
    // From seed 1 the generator yields 41, 18467, 6334, 26500, 19169: curves 41/32767 × 80,
    // villages 18467/32767 × 10, forest 6334/32767 × 5, relief max 26500/32767 × 50 and relief
    // min 19169/32767 × −10, each truncated toward zero.
    GameOptions options;
    options.scenery = SceneryRandom;
    options.totalLengthKm = 40;
    GameRandom random;
    random.seed(1);
    PressRandomScenery(options, random);
    EXPECT_EQ(BuiltValues(options), (std::vector<int32_t>{SceneryRandom, 40, 3, 0, 5, 0, -5, 40}));
    // The next press goes on with 15724, 11478, 29358, 26962, 24464.
    PressRandomScenery(options, random);
    EXPECT_EQ(BuiltValues(options), (std::vector<int32_t>{SceneryRandom, 40, 3, 38, 3, 4, -7, 41}));
    EXPECT_EQ(random.drawCount, 10u);
}
