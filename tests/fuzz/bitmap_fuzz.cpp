// libFuzzer target for the bitmap loader: whatever bytes a file named like a bitmap holds, the
// check and the decoder must refuse them or give an image of the size the header declares,
// without reading or writing outside their buffers.

#include <cstddef>
#include <cstdint>
#include <string>

#include "device/bmp_check.h"
#include "device/texture_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TextureImage image;
    std::string reason;
    if (!DecodeBitmapFile(data, size, image, reason))
        return 0;
    BitmapHeader header;
    const char* refusal = nullptr;
    if (!CheckBitmapFile(data, size, header, refusal) || image.width != header.width ||
        image.height != header.height ||
        image.rgba.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4)
        __builtin_trap();
    ApplyColourKey(image, 2);
    return 0;
}
