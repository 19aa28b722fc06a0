#include "device/bitmap_resources.h"

#include <cctype>

// ListBitmapResources is generated at build time from resources/ (cmake/embed_resources.cmake).

static bool NamesMatchIgnoringCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

const BitmapResource* FindBitmapResource(const char* name)
{
    for (const BitmapResource& resource : ListBitmapResources()) {
        if (NamesMatchIgnoringCase(resource.name, name))
            return &resource;
    }
    return nullptr;
}
