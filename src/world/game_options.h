#pragma once
// The start options every run is built from, with the ranges the options dialog and the
// command line enforce.

#include <cstdint>
#include <string>

struct GameOptions {
    int32_t scenery = 1;             // 1..5 presets, 6 Random, 7 Custom
    int32_t totalLengthKm = 100;
    int32_t meetingDistanceKm = 3;
    int32_t tunnelSpacing = 10000;   // rewritten by every plan generation
    int32_t curvesPercent = 30;
    int32_t villagesPercent = 5;
    int32_t forestLevel = 1;
    int32_t reliefMin = -10;
    int32_t reliefMax = 20;
    int32_t soundType = 1;           // 0 Off, 1 Diesel-automatic, 2 Diesel-electric
};

constexpr int32_t SceneryRandom = 6;
constexpr int32_t SceneryCustom = 7;

constexpr int32_t SoundOff = 0;
constexpr int32_t SoundDieselAutomatic = 1;
constexpr int32_t SoundDieselElectric = 2;

// One edited option: its accepted range and the value that replaces anything outside it.
struct OptionRange {
    const char* name;
    int32_t GameOptions::*field;
    int32_t minimum;
    int32_t maximum;
    int32_t replacement;
};

// The five edited options, in the order the options dialog reads them.
constexpr OptionRange EditedOptionRanges[5] = {
    {"length", &GameOptions::totalLengthKm, 5, 100, 100},
    {"meeting", &GameOptions::meetingDistanceKm, 2, 10, 2},
    {"curves", &GameOptions::curvesPercent, 0, 80, 20},
    {"villages", &GameOptions::villagesPercent, 0, 20, 20},
    {"forest", &GameOptions::forestLevel, 0, 5, 5},
};

// Stores value into the option if it lies in range, else the replacement value.
// Returns true when the value was accepted as it stood.
bool StoreOptionValue(GameOptions& options, const OptionRange& range, int32_t value);

// The dialog's reading of an edit: at most 8 characters, leading blanks and a sign allowed,
// conversion stops at the first non-digit, no digits give 0.
int32_t ReadEditValue(const std::string& text);
