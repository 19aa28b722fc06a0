#pragma once
// Pictures as PNG files: rows from the top, four bytes (red, green, blue, alpha) a pixel.

#include <cstdint>
#include <string>
#include <vector>

// The PNG file of the picture, opaque (alpha is dropped); false when it cannot be encoded.
bool EncodePng(int32_t width, int32_t height, const std::vector<uint8_t>& rgba, std::string& png);
