#pragma once
// The world options as options of a command: every command that builds a line takes them, and
// hands what it read to ResolveWorldOptions.

#include <CLI/CLI.hpp>

#include "shell/world_options.h"

// Adds --scenery, --length, --meeting, --curves, --villages, --forest, --relief, --sound and
// --seed.
void AddWorldOptions(CLI::App& command, WorldOptionsInput& input);
