#include "shell/world_options.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <ctime>

#include "shell/command_numbers.h"
#include "world/world.h"

namespace {

std::string LowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::optional<int32_t> ReadScenery(const std::string& text)
{
    std::string word = LowerCase(text);
    if (word == "random")
        return SceneryRandom;
    if (word == "custom")
        return SceneryCustom;
    std::optional<int64_t> number = ReadWholeNumber(text);
    if (number && *number >= 1 && *number <= SceneryCustom)
        return static_cast<int32_t>(*number);
    return std::nullopt;
}

std::optional<int32_t> ReadSoundType(const std::string& text)
{
    std::string word = LowerCase(text);
    if (word == "off" || word == "0")
        return SoundOff;
    if (word == "automatic" || word == "diesel-automatic" || word == "1")
        return SoundDieselAutomatic;
    if (word == "electric" || word == "diesel-electric" || word == "2")
        return SoundDieselElectric;
    return std::nullopt;
}

struct ReliefBounds {
    int32_t minimum;
    int32_t maximum;
};

// Reads MIN..MAX, two whole numbers of metres; the reason goes to notices when it is not that.
std::optional<ReliefBounds> ReadReliefBounds(const std::string& text, std::ostream& notices)
{
    size_t dots = text.find("..");
    std::optional<int64_t> minimum = dots == std::string::npos ? std::nullopt : ReadWholeNumber(text.substr(0, dots));
    std::optional<int64_t> maximum = dots == std::string::npos ? std::nullopt : ReadWholeNumber(text.substr(dots + 2));
    if (!minimum || !maximum) {
        notices << "tagvind: --relief expects MIN..MAX in whole metres, e.g. -10..20, not '" << text << "'\n";
        return std::nullopt;
    }
    if (*minimum < LowestRelief || *maximum > HighestRelief) {
        notices << "tagvind: --relief bounds must lie within " << LowestRelief << ".." << HighestRelief << ", not '"
                << text << "'\n";
        return std::nullopt;
    }
    if (*minimum > *maximum) {
        notices << "tagvind: --relief MIN must not be above MAX, not '" << text << "'\n";
        return std::nullopt;
    }
    return ReliefBounds{static_cast<int32_t>(*minimum), static_cast<int32_t>(*maximum)};
}

// Curves, villages and forest: the options a preset or Random sets by itself.
bool IsSetBySceneryItself(const OptionRange& range)
{
    return range.field == &GameOptions::curvesPercent || range.field == &GameOptions::villagesPercent ||
           range.field == &GameOptions::forestLevel;
}

void NoticePresetSetsIt(std::ostream& notices, const char* name, int32_t scenery)
{
    notices << "tagvind: --" << name << " has no effect with preset scenery " << scenery
            << ", which sets it; use --scenery custom\n";
}

}  // namespace

bool ResolveWorldOptions(const WorldOptionsInput& input, GameOptions& options, uint32_t& seed,
                         std::ostream& notices)
{
    if (input.scenery) {
        std::optional<int32_t> scenery = ReadScenery(*input.scenery);
        if (!scenery) {
            notices << "tagvind: --scenery expects 1 to 5, random or custom (or 6, 7), not '"
                    << *input.scenery << "'\n";
            return false;
        }
        options.scenery = *scenery;
    }

    if (input.sound) {
        std::optional<int32_t> soundType = ReadSoundType(*input.sound);
        if (!soundType) {
            notices << "tagvind: --sound expects off, automatic or electric, not '" << *input.sound
                    << "'\n";
            return false;
        }
        options.soundType = *soundType;
    }

    if (input.seed) {
        std::optional<int64_t> given = ReadWholeOption(SeedRule, *input.seed, notices);
        if (!given)
            return false;
        seed = static_cast<uint32_t>(*given);
    } else {
        seed = SeedFromClock(std::time(nullptr));
    }

    // Start-up presses Random with the generator just seeded; the values the line names below
    // stand in for the ones drawn.
    if (options.scenery == SceneryRandom) {
        GameRandom startUp;
        startUp.seed(seed);
        PressRandomScenery(options, startUp);
    }

    for (size_t i = 0; i < input.editedValues.size(); ++i) {
        if (!input.editedValues[i])
            continue;
        const OptionRange& range = EditedOptionRanges[i];
        const std::string& text = *input.editedValues[i];
        std::optional<int64_t> number = ReadWholeNumber(text);
        if (!number) {
            notices << "tagvind: --" << range.name << " expects a whole number, not '" << text << "'\n";
            return false;
        }
        // A number too large for the record lies outside every range, so the saturated value
        // is replaced like any other.
        int32_t value = static_cast<int32_t>(std::clamp<int64_t>(*number, INT32_MIN, INT32_MAX));
        if (!StoreOptionValue(options, range, value)) {
            notices << "tagvind: --" << range.name << " " << text << " is outside " << range.minimum
                    << ".." << range.maximum << "; using " << range.replacement << "\n";
        }
    }

    if (input.relief) {
        std::optional<ReliefBounds> relief = ReadReliefBounds(*input.relief, notices);
        if (!relief)
            return false;
        options.reliefMin = relief->minimum;
        options.reliefMax = relief->maximum;
    }

    // The values stay stored, as the dialog stores its edits whatever the scenery; only the
    // player should know that a preset build will not use them.
    if (options.scenery >= 1 && options.scenery <= 5) {
        for (size_t i = 0; i < input.editedValues.size(); ++i) {
            const OptionRange& range = EditedOptionRanges[i];
            if (input.editedValues[i] && IsSetBySceneryItself(range))
                NoticePresetSetsIt(notices, range.name, options.scenery);
        }
        if (input.relief)
            NoticePresetSetsIt(notices, "relief", options.scenery);
    }
    return true;
}

uint32_t SeedFromClock(std::time_t now)
{
    return static_cast<uint32_t>(now) & HighestSeed;
}

void PressRandomScenery(GameOptions& options, GameRandom& random)
{
    options.curvesPercent = static_cast<int32_t>(random.draw() / 32767.0 * 80.0);
    options.villagesPercent = static_cast<int32_t>(random.draw() / 32767.0 * 10.0);
    options.forestLevel = static_cast<int32_t>(random.draw() / 32767.0 * 5.0);
    options.reliefMax = static_cast<int32_t>(random.draw() / 32767.0 * 50.0);
    options.reliefMin = static_cast<int32_t>(random.draw() / 32767.0 * -10.0);
}

void SeedAsStartUp(World& world, const GameOptions& options, uint32_t seed)
{
    world.random.seed(seed);
    if (options.scenery == SceneryRandom) {
        GameOptions drawn = options;
        PressRandomScenery(drawn, world.random);
    }
}

nlohmann::json RunOptionsJson(const GameOptions& options)
{
    return {{"scenery", options.scenery},
            {"length", options.totalLengthKm},
            {"meeting", options.meetingDistanceKm},
            {"curves", options.curvesPercent},
            {"villages", options.villagesPercent},
            {"forest", options.forestLevel},
            {"sound", options.soundType}};
}

std::string PlayCommandLine(const GameOptions& options, uint32_t seed)
{
    std::string line = "tagvind play --scenery ";
    if (options.scenery == SceneryRandom)
        line += "random";
    else if (options.scenery == SceneryCustom)
        line += "custom";
    else
        line += std::to_string(options.scenery);
    line += " --seed " + std::to_string(seed);
    bool presetSetsTheRest = options.scenery >= 1 && options.scenery <= 5;
    for (const OptionRange& range : EditedOptionRanges) {
        if (presetSetsTheRest && IsSetBySceneryItself(range))
            continue;
        line += std::string(" --") + range.name + " " + std::to_string(options.*range.field);
    }
    if (!presetSetsTheRest)
        line += " --relief " + std::to_string(options.reliefMin) + ".." + std::to_string(options.reliefMax);
    return line;
}
