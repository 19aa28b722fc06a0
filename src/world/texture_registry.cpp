#include "world/texture_registry.h"

#include <cctype>
#include <cstring>

bool NamesMatchIgnoringCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

int FindTextureRegistration(const TextureRegistry& registry, const char* name)
{
    for (int i = 0; i < registry.count; ++i) {
        if (NamesMatchIgnoringCase(registry.entries[i].name, name))
            return i;
    }
    return -1;
}

bool RegisterTextureName(TextureRegistry& registry, const char* name, int32_t flags)
{
    if (FindTextureRegistration(registry, name) >= 0)
        return true;
    size_t length = std::strlen(name);
    if (registry.count >= static_cast<int32_t>(registry.entries.size()) || length >= sizeof(TextureRegistration::name))
        return false;
    TextureRegistration& entry = registry.entries[registry.count];
    std::memcpy(entry.name, name, length + 1);
    entry.flags = flags;
    registry.count += 1;
    return true;
}
