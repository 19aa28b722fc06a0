#pragma once
// The commands that draw the scene without a display: `tagvind shot` writes one frame as a PNG
// file, `tagvind bench scene` times the scene on both drawing paths.

#include <CLI/CLI.hpp>

// Adds `shot`, and `scene` under `bench` (which must have been added already).
void AddRenderCommands(CLI::App& app);

// `tagvind bench scene`, added under `bench`.
void AddBenchSceneCommand(CLI::App& app);
