#pragma once
// What the help window says: the driver's controls, the levers, the signs and what they mean,
// the score, the views and every key. The signs are shown with their own pictures when the
// texture store has them on the open device.

#include <vector>

#include "shell/game_ui.h"

struct TextureStore;

std::vector<HelpSection> BuildHelpSections(const TextureStore* store);
