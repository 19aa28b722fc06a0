#pragma once
// The built-in one-second engine sample: 22050 signed 8-bit values held in 32-bit entries.

#include <array>
#include <cstdint>

constexpr int EngineSampleLength = 22050;
using EngineSample = std::array<int32_t, EngineSampleLength>;

// Fills the table from a fixed formula: the same values at every build, no random draws.
void FillEngineSample(EngineSample& sample);
