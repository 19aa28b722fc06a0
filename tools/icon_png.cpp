// Turns the game's window icon bitmap into a PNG for the desktop's icon theme, enlarged by a
// whole factor so that every pixel stays a sharp square:
//
//   icon_png resources/TAGVIND.BMP tagvind-64.png 2
//
// Runs at build time; the installed icons are its output.

#include <cstdio>
#include <string>
#include <vector>

#include <stb_image.h>

#include "shell/output_file.h"
#include "shell/png_file.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: icon_png BITMAP PNG FACTOR\n");
        return 2;
    }
    std::string factorText = argv[3];
    if (factorText.empty() || factorText.size() > 1 || factorText[0] < '1' || factorText[0] > '8') {
        std::fprintf(stderr, "icon_png: the factor must be a whole number from 1 to 8, not '%s'\n", argv[3]);
        return 2;
    }
    int factor = factorText[0] - '0';

    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load(argv[1], &width, &height, &channels, 4);
    if (pixels == nullptr) {
        std::fprintf(stderr, "icon_png: cannot read %s: %s\n", argv[1], stbi_failure_reason());
        return 1;
    }
    // An icon, not a picture: anything larger is not the bitmap this was meant for.
    if (width > 256 || height > 256) {
        std::fprintf(stderr, "icon_png: %s is %dx%d, too large for an icon\n", argv[1], width, height);
        stbi_image_free(pixels);
        return 1;
    }
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * factor * factor * 4);
    for (int y = 0; y < height * factor; ++y) {
        for (int x = 0; x < width * factor; ++x) {
            const stbi_uc* from = pixels + (static_cast<size_t>(y / factor) * width + x / factor) * 4;
            uint8_t* to = rgba.data() + (static_cast<size_t>(y) * width * factor + x) * 4;
            for (int c = 0; c < 4; ++c)
                to[c] = from[c];
        }
    }
    stbi_image_free(pixels);

    std::string png;
    std::string reason;
    if (!EncodePng(width * factor, height * factor, rgba, png)) {
        std::fprintf(stderr, "icon_png: cannot encode %s\n", argv[2]);
        return 1;
    }
    if (!WriteOutputFile(argv[2], png, reason)) {
        std::fprintf(stderr, "icon_png: cannot write %s: %s\n", argv[2], reason.c_str());
        return 1;
    }
    return 0;
}
