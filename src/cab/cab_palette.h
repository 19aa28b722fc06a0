#pragma once
// The solid pens and brushes the cab display draws its instruments with: a fixed table of plain
// colours and widths that the canvas turns into whatever it draws with.

#include <array>
#include <cstdint>

struct CabColour {
    uint8_t red, green, blue;
};

struct CabPen {
    CabColour colour;
    int32_t width;
};

enum CabBrushId { BrushPanel, BrushWhite, BrushRed, BrushGreen, CabBrushCount };

enum CabPenId {
    PenPanel,
    PenScale,
    PenWhite,
    PenRed,
    PenGreen,
    PenSpeed,
    PenLimitOk,
    PenLimitOver,
    PenAnnounce,
    CabPenCount
};

struct CabPalette {
    std::array<CabColour, CabBrushCount> brushes;
    std::array<CabPen, CabPenCount> pens;
};

// In the order of the ids above.
constexpr CabPalette CabPens = {
    {{{32, 32, 32}, {255, 255, 255}, {255, 0, 0}, {0, 255, 0}}},
    {{
        {{32, 32, 32}, 1},     // PenPanel
        {{255, 255, 0}, 1},    // PenScale
        {{255, 255, 255}, 1},  // PenWhite
        {{255, 0, 0}, 1},      // PenRed
        {{0, 255, 0}, 1},      // PenGreen
        {{255, 255, 255}, 2},  // PenSpeed
        {{0, 128, 0}, 2},      // PenLimitOk
        {{255, 0, 0}, 2},      // PenLimitOver
        {{255, 255, 0}, 2},    // PenAnnounce
    }},
};
