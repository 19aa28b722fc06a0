#include "cab/cab_palette.h"

void CreateCabPalette(CabPalette& palette)
{
    palette.brushes[BrushPanel] = {32, 32, 32};
    palette.brushes[BrushWhite] = {255, 255, 255};
    palette.brushes[BrushRed] = {255, 0, 0};
    palette.brushes[BrushGreen] = {0, 255, 0};

    palette.pens[PenPanel] = {{32, 32, 32}, 1};
    palette.pens[PenScale] = {{255, 255, 0}, 1};
    palette.pens[PenWhite] = {{255, 255, 255}, 1};
    palette.pens[PenRed] = {{255, 0, 0}, 1};
    palette.pens[PenGreen] = {{0, 255, 0}, 1};
    palette.pens[PenSpeed] = {{255, 255, 255}, 2};
    palette.pens[PenLimitOk] = {{0, 128, 0}, 2};
    palette.pens[PenLimitOver] = {{255, 0, 0}, 2};
    palette.pens[PenAnnounce] = {{255, 255, 0}, 2};
    palette.createdCount += 1;
}
