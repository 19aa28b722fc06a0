#include "shell/png_file.h"

#include <stb_image_write.h>

namespace {

void AppendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

}  // namespace

bool EncodePng(int32_t width, int32_t height, const std::vector<uint8_t>& rgba, std::string& png)
{
    png.clear();
    size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (width <= 0 || height <= 0 || rgba.size() != pixels * 4)
        return false;
    // The framebuffer's alpha is whatever the sky was cleared with; a picture is opaque.
    std::vector<uint8_t> rgb(pixels * 3);
    for (size_t i = 0; i < pixels; ++i) {
        rgb[i * 3] = rgba[i * 4];
        rgb[i * 3 + 1] = rgba[i * 4 + 1];
        rgb[i * 3 + 2] = rgba[i * 4 + 2];
    }
    return stbi_write_png_to_func(AppendBytes, &png, width, height, 3, rgb.data(), width * 3) != 0;
}
