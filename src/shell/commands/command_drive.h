#pragma once
// `tagvind drive`: drives a built line without a window, by the autopilot or by recorded
// controls, and prints a summary. `tagvind bench drive`: how many times faster than real time
// the autopilot drives.

#include <CLI/CLI.hpp>

// Exit status of a drive that ran out of game time before the destination.
constexpr int ExitTimeRanOut = 3;

// Adds `drive`, and `drive` under the `bench` command when that has been added already.
void AddDriveCommand(CLI::App& app);

// Adds the `drive` case to a bench command.
void AddBenchDriveCommand(CLI::App& bench);
