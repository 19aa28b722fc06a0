#pragma once
// `tagvind play`: the game in a window, or offscreen for demos and tests.

#include <CLI/CLI.hpp>

void AddPlayCommand(CLI::App& app);
