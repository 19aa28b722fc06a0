#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include "shell/commands/world_options_cli.h"
#include "shell/world_options.h"
#include "world/game_random.h"

namespace {

struct Resolved {
    bool ok;
    GameOptions options;
    uint32_t seed;
    std::string notices;
};

// Parses the arguments as a command carrying the world options, then resolves them.
Resolved ResolveArguments(std::vector<std::string> arguments)
{
    CLI::App command;
    WorldOptionsInput input;
    AddWorldOptions(command, input);
    std::reverse(arguments.begin(), arguments.end());  // CLI11 takes the vector back to front
    command.parse(arguments);

    Resolved resolved{};
    std::ostringstream notices;
    resolved.ok = ResolveWorldOptions(input, resolved.options, resolved.seed, notices);
    resolved.notices = notices.str();
    return resolved;
}

}  // namespace

TEST(WorldOptions, ValuesOutsideTheirRangeTakeTheDialogsReplacement)
{
    struct Case {
        std::vector<std::string> arguments;
        int32_t GameOptions::*field;
        int32_t expected;
        std::string notice;  // empty: the value is accepted without a word
    };
    const Case cases[] = {
        {{"--length", "0"}, &GameOptions::totalLengthKm, 100, "tagvind: --length 0 is outside 5..100; using 100\n"},
        {{"--length", "4"}, &GameOptions::totalLengthKm, 100, "tagvind: --length 4 is outside 5..100; using 100\n"},
        {{"--length", "101"}, &GameOptions::totalLengthKm, 100,
         "tagvind: --length 101 is outside 5..100; using 100\n"},
        {{"--length", "5"}, &GameOptions::totalLengthKm, 5, ""},
        {{"--length", "-20"}, &GameOptions::totalLengthKm, 100,
         "tagvind: --length -20 is outside 5..100; using 100\n"},
        {{"--length", "99999999999999999999999"}, &GameOptions::totalLengthKm, 100,
         "tagvind: --length 99999999999999999999999 is outside 5..100; using 100\n"},
        {{"--length", "4294967302"}, &GameOptions::totalLengthKm, 100,
         "tagvind: --length 4294967302 is outside 5..100; using 100\n"},
        {{"--meeting", "0"}, &GameOptions::meetingDistanceKm, 2, "tagvind: --meeting 0 is outside 2..10; using 2\n"},
        {{"--meeting", "10"}, &GameOptions::meetingDistanceKm, 10, ""},
        {{"--meeting", "11"}, &GameOptions::meetingDistanceKm, 2, "tagvind: --meeting 11 is outside 2..10; using 2\n"},
        {{"--scenery", "custom", "--curves", "0"}, &GameOptions::curvesPercent, 0, ""},
        {{"--scenery", "custom", "--curves", "80"}, &GameOptions::curvesPercent, 80, ""},
        {{"--scenery", "custom", "--curves", "81"}, &GameOptions::curvesPercent, 20,
         "tagvind: --curves 81 is outside 0..80; using 20\n"},
        {{"--scenery", "custom", "--villages", "0"}, &GameOptions::villagesPercent, 0, ""},
        {{"--scenery", "custom", "--villages", "15"}, &GameOptions::villagesPercent, 15, ""},
        {{"--scenery", "custom", "--villages", "21"}, &GameOptions::villagesPercent, 20,
         "tagvind: --villages 21 is outside 0..20; using 20\n"},
        {{"--scenery", "custom", "--forest", "0"}, &GameOptions::forestLevel, 0, ""},
        {{"--scenery", "custom", "--forest", "3"}, &GameOptions::forestLevel, 3, ""},
        {{"--scenery", "custom", "--forest", "6"}, &GameOptions::forestLevel, 5,
         "tagvind: --forest 6 is outside 0..5; using 5\n"},
        {{"--scenery", "custom", "--forest", "-1"}, &GameOptions::forestLevel, 5,
         "tagvind: --forest -1 is outside 0..5; using 5\n"},
    };
    for (const Case& c : cases) {
        std::string shown = c.arguments[c.arguments.size() - 2] + " " + c.arguments.back();
        Resolved resolved = ResolveArguments(c.arguments);
        EXPECT_TRUE(resolved.ok) << shown;
        EXPECT_EQ(resolved.options.*c.field, c.expected) << shown;
        EXPECT_EQ(resolved.notices, c.notice) << shown;
    }
}

TEST(WorldOptions, TextThatIsNotAValueIsRefusedWithTheOptionNamed)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"--length", "abc"}, "tagvind: --length expects a whole number, not 'abc'\n"},
        {{"--length", "12km"}, "tagvind: --length expects a whole number, not '12km'\n"},
        {{"--meeting", "2.5"}, "tagvind: --meeting expects a whole number, not '2.5'\n"},
        {{"--curves", ""}, "tagvind: --curves expects a whole number, not ''\n"},
        {{"--villages", "-"}, "tagvind: --villages expects a whole number, not '-'\n"},
        {{"--forest", " 3"}, "tagvind: --forest expects a whole number, not ' 3'\n"},
        {{"--forest", "+3"}, "tagvind: --forest expects a whole number, not '+3'\n"},
        {{"--scenery", "0"}, "tagvind: --scenery expects 1 to 5, random or custom (or 6, 7), not '0'\n"},
        {{"--scenery", "8"}, "tagvind: --scenery expects 1 to 5, random or custom (or 6, 7), not '8'\n"},
        {{"--scenery", "randomly"}, "tagvind: --scenery expects 1 to 5, random or custom (or 6, 7), not 'randomly'\n"},
        {{"--sound", "loud"}, "tagvind: --sound expects off, automatic or electric, not 'loud'\n"},
        {{"--seed", "-1"}, "tagvind: --seed expects a whole number from 0 to 2147483647, not '-1'\n"},
        {{"--seed", "2147483648"}, "tagvind: --seed expects a whole number from 0 to 2147483647, not '2147483648'\n"},
        {{"--seed", "0x10"}, "tagvind: --seed expects a whole number from 0 to 2147483647, not '0x10'\n"},
        {{"--relief", "20"}, "tagvind: --relief expects MIN..MAX in whole metres, e.g. -10..20, not '20'\n"},
        {{"--relief", "-10..2x"}, "tagvind: --relief expects MIN..MAX in whole metres, e.g. -10..20, not '-10..2x'\n"},
        {{"--relief", "1...5"}, "tagvind: --relief expects MIN..MAX in whole metres, e.g. -10..20, not '1...5'\n"},
        {{"--relief", "..5"}, "tagvind: --relief expects MIN..MAX in whole metres, e.g. -10..20, not '..5'\n"},
        {{"--relief", "5..4"}, "tagvind: --relief MIN must not be above MAX, not '5..4'\n"},
        {{"--relief", "-1001..0"}, "tagvind: --relief bounds must lie within -1000..1000, not '-1001..0'\n"},
        {{"--relief", "0..1001"}, "tagvind: --relief bounds must lie within -1000..1000, not '0..1001'\n"},
    };
    for (const Case& c : cases) {
        Resolved resolved = ResolveArguments(c.arguments);
        EXPECT_FALSE(resolved.ok) << c.arguments[0] << " '" << c.arguments[1] << "'";
        EXPECT_EQ(resolved.notices, c.message);
    }
}

TEST(WorldOptions, SceneryAndSoundAcceptTheirWordsAndNumbers)
{
    struct Case {
        std::vector<std::string> arguments;
        int32_t GameOptions::*field;
        int32_t expected;
    };
    const Case cases[] = {
        {{"--scenery", "1"}, &GameOptions::scenery, 1},
        {{"--scenery", "5"}, &GameOptions::scenery, 5},
        {{"--scenery", "random"}, &GameOptions::scenery, SceneryRandom},
        {{"--scenery", "Random"}, &GameOptions::scenery, SceneryRandom},
        {{"--scenery", "6"}, &GameOptions::scenery, SceneryRandom},
        {{"--scenery", "CUSTOM"}, &GameOptions::scenery, SceneryCustom},
        {{"--scenery", "7"}, &GameOptions::scenery, SceneryCustom},
        {{"--sound", "off"}, &GameOptions::soundType, SoundOff},
        {{"--sound", "automatic"}, &GameOptions::soundType, SoundDieselAutomatic},
        {{"--sound", "diesel-electric"}, &GameOptions::soundType, SoundDieselElectric},
        {{"--sound", "electric"}, &GameOptions::soundType, SoundDieselElectric},
    };
    for (const Case& c : cases) {
        Resolved resolved = ResolveArguments(c.arguments);
        EXPECT_TRUE(resolved.ok) << c.arguments[0] << " " << c.arguments[1];
        EXPECT_EQ(resolved.options.*c.field, c.expected) << c.arguments[0] << " " << c.arguments[1];
        EXPECT_EQ(resolved.notices, "");
    }
}

TEST(WorldOptions, OptionsLeftOutKeepTheirDefaultsAndTheClockSeeds)
{
    std::time_t before = std::time(nullptr);
    Resolved resolved = ResolveArguments({});
    std::time_t after = std::time(nullptr);

    ASSERT_TRUE(resolved.ok);
    GameOptions defaults;
    EXPECT_EQ(resolved.options.scenery, defaults.scenery);
    EXPECT_EQ(resolved.options.totalLengthKm, defaults.totalLengthKm);
    EXPECT_EQ(resolved.options.meetingDistanceKm, defaults.meetingDistanceKm);
    EXPECT_EQ(resolved.options.curvesPercent, defaults.curvesPercent);
    EXPECT_EQ(resolved.options.villagesPercent, defaults.villagesPercent);
    EXPECT_EQ(resolved.options.forestLevel, defaults.forestLevel);
    EXPECT_EQ(resolved.options.soundType, defaults.soundType);
    EXPECT_GE(resolved.seed, static_cast<uint32_t>(before));
    EXPECT_LE(resolved.seed, static_cast<uint32_t>(after));

    Resolved seeded = ResolveArguments({"--seed", "2147483647"});
    ASSERT_TRUE(seeded.ok);
    EXPECT_EQ(seeded.seed, 2147483647u);
}

TEST(WorldOptions, PresetsNoticeTheValuesTheySetAndRandomTakesThemInsteadOfItsDraws)
{
    Resolved preset = ResolveArguments({"--scenery", "2", "--curves", "50", "--length", "40", "--relief", "0..9"});
    ASSERT_TRUE(preset.ok);
    EXPECT_EQ(preset.options.curvesPercent, 50);
    EXPECT_EQ(preset.options.totalLengthKm, 40);
    EXPECT_EQ(preset.notices,
              "tagvind: --curves has no effect with preset scenery 2, which sets it; use --scenery custom\n"
              "tagvind: --relief has no effect with preset scenery 2, which sets it; use --scenery custom\n");

    // Seed 1 draws curves 0, villages 5, forest 0 and relief -5..40 (the test below).
    Resolved drawn = ResolveArguments({"--scenery", "random", "--seed", "1"});
    Resolved named = ResolveArguments({"--scenery", "random", "--seed", "1", "--forest", "2", "--relief", "-7..-3"});
    ASSERT_TRUE(drawn.ok && named.ok);
    EXPECT_EQ(drawn.notices + named.notices, "");
    EXPECT_EQ(std::make_pair(drawn.options.curvesPercent, drawn.options.villagesPercent), std::make_pair(0, 5));
    EXPECT_EQ(std::make_pair(drawn.options.reliefMin, drawn.options.reliefMax), std::make_pair(-5, 40));
    EXPECT_EQ(std::make_pair(drawn.options.forestLevel, named.options.forestLevel), std::make_pair(0, 2));
    EXPECT_EQ(std::make_pair(named.options.curvesPercent, named.options.villagesPercent), std::make_pair(0, 5));
    EXPECT_EQ(std::make_pair(named.options.reliefMin, named.options.reliefMax), std::make_pair(-7, -3));

    Resolved custom = ResolveArguments({"--scenery", "custom", "--forest", "2", "--relief", "-1000..1000"});
    ASSERT_TRUE(custom.ok);
    EXPECT_EQ(custom.notices, "");
    EXPECT_EQ(std::make_pair(custom.options.reliefMin, custom.options.reliefMax), std::make_pair(-1000, 1000));
}

TEST(WorldOptions, RandomSceneryDrawsItsFiveValuesInTheDialogsOrder)
{
    // From seed 1 the generator yields 41, 18467, 6334, 26500, 19169: curves 41/32767 × 80,
    // villages 18467/32767 × 10, forest 6334/32767 × 5, relief max 26500/32767 × 50 and relief
    // min 19169/32767 × −10, each truncated toward zero.
    GameOptions options;
    options.totalLengthKm = 40;
    options.meetingDistanceKm = 7;
    GameRandom random;
    random.seed(1);
    PressRandomScenery(options, random);

    EXPECT_EQ(options.curvesPercent, 0);
    EXPECT_EQ(options.villagesPercent, 5);
    EXPECT_EQ(options.forestLevel, 0);
    EXPECT_EQ(options.reliefMax, 40);
    EXPECT_EQ(options.reliefMin, -5);
    EXPECT_EQ(options.totalLengthKm, 40);
    EXPECT_EQ(options.meetingDistanceKm, 7);
    EXPECT_EQ(random.drawCount, 5u);
}
