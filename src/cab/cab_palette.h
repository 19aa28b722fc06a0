#pragma once
// The solid pens and brushes the cab display draws its instruments with. The world build
// creates them as plain data; the drawing layer turns them into whatever it draws with.

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
    int32_t createdCount;  // how many times the set was created (once per world build)
};

// Creates the brushes, then the pens.
void CreateCabPalette(CabPalette& palette);
