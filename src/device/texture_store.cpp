#include "device/texture_store.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "device/bmp_check.h"
#include "device/device_results.h"
#include "world/texture_registry.h"

namespace {

bool HasBmpExtension(const std::string& path)
{
    size_t dot = path.rfind('.');
    return dot != std::string::npos && NamesMatchIgnoringCase(path.c_str() + dot, ".bmp");
}

// Opening without blocking: a named pipe called like a bitmap must not stall the game.
int OpenWithoutBlocking(const std::string& path)
{
    return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

}  // namespace

int FindTextureEntry(const TextureStore& store, const char* name)
{
    for (size_t i = 0; i < store.entries.size(); ++i) {
        if (NamesMatchIgnoringCase(store.entries[i].name, name))
            return static_cast<int>(i);
    }
    return -1;
}

TextureHandle TextureHandleOf(const TextureStore& store, const char* name)
{
    int index = FindTextureEntry(store, name);
    if (index < 0 || store.entries[index].deviceTexture == 0)
        return NoTexture;
    return static_cast<TextureHandle>(index + 1);
}

void ApplyColourKey(TextureImage& image, int32_t flags)
{
    bool blackKey = (flags & 2) != 0;
    bool whiteKey = !blackKey && (flags & 1) != 0;
    image.hasTransparentTexels = 0;
    size_t pixels = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
    for (size_t i = 0; i < pixels; ++i) {
        uint8_t* texel = &image.rgba[i * 4];
        bool isBlack = texel[0] == 0 && texel[1] == 0 && texel[2] == 0;
        bool isWhite = texel[0] == 255 && texel[1] == 255 && texel[2] == 255;
        bool transparent = (blackKey && isBlack) || (whiteKey && isWhite);
        texel[3] = transparent ? 0 : 255;
        if (transparent)
            image.hasTransparentTexels = 1;
    }
}

bool TextureRepeats(int32_t flags)
{
    return (flags & (TextureWhiteTransparent | TextureBlackTransparent)) == 0;
}

std::vector<std::string> BitmapFileCandidates(const char* name)
{
    std::vector<std::string> candidates{name};
    const char* folder = std::getenv("D3DPATH");
    if (folder != nullptr && folder[0] != '\0')
        candidates.push_back(std::string(folder) + "/" + name);
    return candidates;
}

bool ReadBitmapFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& reason)
{
    bytes.clear();
    int file = OpenWithoutBlocking(path);
    if (file < 0) {
        reason = std::string("cannot open: ") + std::strerror(errno);
        return false;
    }
    struct stat status {};
    if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(file);
        reason = "not a regular file";
        return false;
    }
    if (static_cast<uint64_t>(status.st_size) > BitmapMaxFileBytes) {
        close(file);
        reason = "file too large for a texture (" + std::to_string(status.st_size) + " bytes)";
        return false;
    }
    // Read to the end rather than trusting the size: the file may change while it is read, and
    // reading stops one byte past the largest bitmap there can be.
    bytes.resize(static_cast<size_t>(status.st_size) + 1);
    size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > BitmapMaxFileBytes)
                break;
            bytes.resize(std::min(bytes.size() * 2, BitmapMaxFileBytes + 1));
        }
        ssize_t got = read(file, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            close(file);
            reason = std::string("read failed: ") + std::strerror(errno);
            return false;
        }
        if (got == 0)
            break;
        filled += static_cast<size_t>(got);
    }
    close(file);
    if (filled > BitmapMaxFileBytes) {
        reason = "file too large for a texture";
        return false;
    }
    bytes.resize(filled);
    return true;
}

int32_t AddTexture(TextureStore& store, const char* name, int32_t stage, int32_t flags, const BitmapSource& source,
                   std::string& whyNot)
{
    if (FindTextureEntry(store, name) >= 0)
        return DeviceOk;
    if (std::strchr(name, '.') == nullptr) {
        whyNot = "no file extension";
        return DeviceNotImplemented;
    }
    if (std::strlen(name) >= sizeof(TextureEntry::name)) {
        whyNot = "name too long";
        return DeviceInvalidArgument;
    }

    TextureImage image;
    std::string reason;
    const uint8_t* resourceBytes = nullptr;
    size_t resourceSize = 0;
    if (source.findResource != nullptr && source.findResource(name, resourceBytes, resourceSize)) {
        if (!source.decode(resourceBytes, resourceSize, image, reason)) {
            whyNot = "embedded bitmap unreadable: " + reason;
            return DeviceFailed;
        }
    } else {
        std::string found;
        for (const std::string& candidate : BitmapFileCandidates(name)) {
            int file = OpenWithoutBlocking(candidate);
            if (file < 0)
                continue;
            close(file);
            found = candidate;
            break;
        }
        if (found.empty()) {
            whyNot = "not among the resources and no such file";
            return DeviceBitmapNotFound;
        }
        if (!HasBmpExtension(found)) {
            whyNot = found + ": not a .bmp file";
            return DeviceNotImplemented;
        }
        std::vector<uint8_t> bytes;
        if (!ReadBitmapFile(found, bytes, reason) || !source.decode(bytes.data(), bytes.size(), image, reason)) {
            whyNot = found + ": " + reason;
            return DeviceFailed;
        }
    }

    ApplyColourKey(image, flags);
    TextureEntry entry{};
    std::memcpy(entry.name, name, std::strlen(name) + 1);
    entry.stage = stage;
    entry.flags = flags;
    entry.image = std::move(image);
    store.entries.push_back(std::move(entry));
    return DeviceOk;
}

int LoadRegisteredTextures(TextureStore& store, const TextureRegistry& registry, const BitmapSource& source,
                           std::string& whyNotLines)
{
    int failed = 0;
    for (int32_t i = 0; i < registry.count; ++i) {
        const TextureRegistration& registration = registry.entries[i];
        std::string whyNot;
        int result = AddTexture(store, registration.name, 0, registration.flags, source, whyNot);
        if (IsFailure(result)) {
            // A bitmap that is nowhere is the usual case of the disc's "c.bmp", not news to a
            // player on every start; one that is there and cannot be read is.
            if (result != DeviceBitmapNotFound)
                whyNotLines += std::string("tagvind: texture ") + registration.name + ": " + whyNot + "\n";
            failed += 1;
        }
    }
    return failed;
}
