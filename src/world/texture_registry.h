#pragma once
// The texture names the renderers look up, with their transparency flags. The world build
// registers them; the texture store loads each name when a render device opens.

#include <array>
#include <cstdint>

enum TextureFlags : int32_t {
    TextureWhiteTransparent = 1,
    TextureBlackTransparent = 2,
    TexturePrefer32Bit = 4,
};

struct TextureRegistration {
    char name[80];
    int32_t flags;
};

struct TextureRegistry {
    std::array<TextureRegistration, 64> entries;
    int32_t count;
};

// Texture and bitmap names compare without regard to case: the scene asks for "gras.bmp" and
// the bitmap is stored as "GRAS.BMP".
bool NamesMatchIgnoringCase(const char* a, const char* b);

// Adds the name unless it is already registered (names compare without regard to case).
// Returns false only when the registry is full or the name does not fit.
bool RegisterTextureName(TextureRegistry& registry, const char* name, int32_t flags);

// Index of the registration with that name (any case), or -1.
int FindTextureRegistration(const TextureRegistry& registry, const char* name);
