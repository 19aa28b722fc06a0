#pragma once
// Where the two levers of the cab display lie, as fractions of the render surface: the brake
// lever in a strip along the left edge, the throttle lever in a strip along the right edge,
// their positions stacked in the bottom 30 % of the height. The click rules read the bands
// (in double precision, as the click is measured) and the cab display draws each knob inside
// the band that a click selects it by (in single precision, as it is drawn).

// Top edges of the lever positions as fractions of the height: brake 1..8 on the left lever,
// throttle 0..5 on the right one. Each position reaches down to the next edge, the last one to
// the bottom of the surface.
constexpr double BrakeBandTops[8] = {0.7, 0.74, 0.775, 0.81, 0.845, 0.88, 0.915, 0.95};
constexpr double ThrottleBandTops[6] = {0.7, 0.74, 0.775, 0.81, 0.845, 0.88};

// The inner edges of the two strips, as fractions of the width.
constexpr double BrakeLeverRightEdge = 0.07;
constexpr double ThrottleLeverLeftEdge = 0.93;

// Heights of the knob centres for brake 1..8 and throttle 0..5: one step of 0.035 down per
// position, each inside its band.
constexpr float KnobHeights[8] = {0.722f, 0.757f, 0.792f, 0.827f, 0.862f, 0.897f, 0.932f, 0.967f};
// The knobs' centres across, inside their strips.
constexpr float BrakeKnobX = 0.03f;
constexpr float ThrottleKnobX = 0.97f;
