#pragma once
// The program's command line. Each subcommand lives in its own file and adds itself with one
// call; its callback runs the command and ends a failed run by throwing CLI::RuntimeError with
// the exit status.

#include <CLI/CLI.hpp>

constexpr int ExitSuccess = 0;
constexpr int ExitFailure = 1;  // the command could not do its work (a file not written)
constexpr int ExitUsage = 2;    // the command line itself was wrong

// Names the program, describes it, gives it `--version` and sets how command-line mistakes are
// reported.
void SetUpCommandLine(CLI::App& app);

// `tagvind route`: builds a world and prints its report, or writes it as JSON.
void AddRouteCommand(CLI::App& app);

// `tagvind bench world`: times whole world builds.
void AddBenchCommand(CLI::App& app);

// Parses the command line and runs the chosen subcommand, or the game with the default options
// when none is given. Returns the exit status.
int RunCommandLine(CLI::App& app, int argc, char** argv);

// What the program does without a subcommand: `tagvind play` with the default options
// (command_play.cpp).
int RunDefaultCommand();
