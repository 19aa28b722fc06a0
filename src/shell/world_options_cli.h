#pragma once
// The world options every command of the program accepts: scenery, the five edited values,
// sound and the seed. They are read as text and resolved the way the options dialog reads its
// edits, so a value outside its range is replaced, not refused.

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "shell/game_options.h"

struct GameRandom;
struct World;

// What the command line gave, as typed; an option left out stays empty.
struct WorldOptionsInput {
    std::optional<std::string> scenery;
    std::array<std::optional<std::string>, 5> editedValues;  // in EditedOptionRanges order
    std::optional<std::string> sound;
    std::optional<std::string> seed;
};

// Adds --scenery, --length, --meeting, --curves, --villages, --forest, --sound and --seed.
void AddWorldOptions(CLI::App& command, WorldOptionsInput& input);

// Applies the input to options. Values outside a range take the dialog's replacement value and
// a one-line notice; seed is the --seed value, or the clock reading when none was given.
// Returns false, with the reason on notices, when some text is not a value of its option.
bool ResolveWorldOptions(const WorldOptionsInput& input, GameOptions& options, uint32_t& seed,
                         std::ostream& notices);

// The options a run was built with, as the drive and play summaries print them.
nlohmann::json RunOptionsJson(const GameOptions& options);

// The options dialog's Random button: five draws set curves, villages, forest and the relief
// bounds.
void PressRandomScenery(GameOptions& options, GameRandom& random);

// Start-up as the game does it, with seed standing for the clock reading: seeds the world's
// generator, and presses Random when that scenery was chosen. BuildWorld(world, options, seed)
// follows.
void SeedAsStartUp(World& world, GameOptions& options, uint32_t seed);
