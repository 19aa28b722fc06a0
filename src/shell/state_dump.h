#pragma once
// The game's state as JSON, for tests and for the summary a demo run prints at its end: the
// shell's switches and clock, the player's controls and train, the run and what the session
// has done, and the process's resident memory.

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "shell/world_json.h"

struct GameSession;

// Everything a test looks at, with the command line of the run's line and the digest of the
// world as it was built. timerMs is the timer reading at the moment of the dump, and
// pictureTop the rows the menu bar takes above the picture.
nlohmann::json DumpGameState(const GameSession& game, uint32_t timerMs, int32_t pictureTop);

// The run in a few numbers: how far, how well, on which line.
nlohmann::json RunSummary(const GameSession& game);

// A digest of a built world as `tagvind route --json` writes it, its options left out: they
// hold the sound choice, which is no part of the line. Equal digests, equal worlds.
std::string WorldDigest(WorldJson world);
