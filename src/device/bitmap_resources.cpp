#include "device/bitmap_resources.h"

#include "world/texture_registry.h"

// ListBitmapResources is generated at build time from resources/ (cmake/embed_resources.cmake).

const BitmapResource* FindBitmapResource(const char* name)
{
    for (const BitmapResource& resource : ListBitmapResources()) {
        if (NamesMatchIgnoringCase(resource.name, name))
            return &resource;
    }
    return nullptr;
}
