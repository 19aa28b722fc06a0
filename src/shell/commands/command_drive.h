#pragma once
// `tagvind drive`: drives a built line without a window, by the autopilot or by recorded
// controls, and prints a summary. `tagvind bench drive`: how many times faster than real time
// the autopilot drives.

#include <CLI/CLI.hpp>

#include "shell/command_numbers.h"

// Exit status of a drive that ran out of game time before the destination.
constexpr int ExitTimeRanOut = 3;

// The game time a simulation step covers, for a drive and its benchmark: below a millisecond
// the steps only cost time, above a second the train jumps past signals.
constexpr DecimalNumberRule StepRule = {"--step", "a number of seconds", 0.001, 1.0};

// Adds `drive`, and `drive` under the `bench` command when that has been added already.
void AddDriveCommand(CLI::App& app);

// Adds the `drive` case to a bench command.
void AddBenchDriveCommand(CLI::App& bench);
