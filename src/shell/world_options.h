#pragma once
// The rules of the world options every command of the program accepts: scenery, the five edited
// values, the relief bounds, sound and the seed. They are read as text and resolved the way the
// options dialog reads its edits, so a value outside its range is replaced, not refused. The
// command line's options themselves are added in shell/commands/world_options_cli.h.
//
// A line is one recipe, the game's start-up: the generator is seeded with the seed, a random
// line presses Random once (five draws), and the build follows, whose route generator seeds
// itself with the same seed. Values named on the command line stand in for the ones Random
// drew, so a line built after any number of clicks in the options dialog can be named.

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "shell/command_numbers.h"
#include "world/game_options.h"

struct GameRandom;
struct World;

// What the command line gave, as typed; an option left out stays empty.
struct WorldOptionsInput {
    std::optional<std::string> scenery;
    std::array<std::optional<std::string>, 5> editedValues;  // in EditedOptionRanges order
    std::optional<std::string> relief;  // MIN..MAX
    std::optional<std::string> sound;
    std::optional<std::string> seed;
};

// The generator never lets the top bit of its state reach a draw, so seeds N and N + 2^31 build
// the same line: the seeds are the numbers below that bit, each its own line.
constexpr uint32_t HighestSeed = 0x7FFFFFFF;
constexpr WholeNumberRule SeedRule = {"--seed", "a whole number", 0, HighestSeed};

// The seed a clock reading stands for, the top bit dropped: the same line that reading builds,
// named by a seed that --seed accepts.
uint32_t SeedFromClock(std::time_t now);

// The relief bounds the command line accepts; far beyond what Random or a preset sets.
constexpr int32_t LowestRelief = -1000;
constexpr int32_t HighestRelief = 1000;

// Applies the input to options. Values outside a range take the dialog's replacement value and
// a one-line notice; seed is the --seed value, or SeedFromClock when none was given. For
// random scenery the values Random draws from the seed fill in what the input leaves out.
// Returns false, with the reason on notices, when some text is not a value of its option.
bool ResolveWorldOptions(const WorldOptionsInput& input, GameOptions& options, uint32_t& seed,
                         std::ostream& notices);

// The options a run was built with, as the drive and play summaries print them.
nlohmann::json RunOptionsJson(const GameOptions& options);

// The command line that builds the line of options and seed again: every value the build
// reads, e.g. "tagvind play --scenery random --seed 1700000000 --length 100 --meeting 3
// --curves 41 --villages 2 --forest 4 --relief -3..27". A preset sets curves, villages, forest
// and relief itself, so its line leaves them out.
std::string PlayCommandLine(const GameOptions& options, uint32_t seed);

// The options dialog's Random button: five draws set curves, villages, forest and the relief
// bounds.
void PressRandomScenery(GameOptions& options, GameRandom& random);

// Start-up as the game does it, with seed standing for the clock reading: seeds the world's
// generator and, for random scenery, makes the five draws of the Random press. The values were
// taken when the options were resolved, so the options are left as they are.
// BuildWorld(world, options, seed) follows.
void SeedAsStartUp(World& world, const GameOptions& options, uint32_t seed);
