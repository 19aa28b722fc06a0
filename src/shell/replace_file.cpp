#include "shell/replace_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string SystemReason(int errorNumber)
{
    return std::strerror(errorNumber);
}

// The mode a new file gets from open(): read and write for everyone, less the umask. A file
// that already exists keeps its own.
mode_t TargetMode(const std::string& path)
{
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0)
        return existing.st_mode & 07777;
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, const std::string& contents)
{
    size_t written = 0;
    while (written < contents.size()) {
        ssize_t n = write(fd, contents.data() + written, contents.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, const std::string& contents, std::string& error)
{
    if (path.empty()) {
        error = "no file name given";
        return false;
    }
    std::filesystem::path target(path);
    std::filesystem::path folder = target.parent_path();
    // Hidden, and unique to this write, so that neither a listing nor a second writer picks it up.
    std::string temporaryFile = ".";
    temporaryFile += target.filename().string();
    temporaryFile += ".tmp-XXXXXX";
    std::string pattern = (folder.empty() ? std::filesystem::path(".") : folder) / temporaryFile;
    std::vector<char> temporaryName(pattern.begin(), pattern.end());
    temporaryName.push_back('\0');

    int fd = mkstemp(temporaryName.data());
    if (fd < 0) {
        error = SystemReason(errno);
        return false;
    }
    const char* temporary = temporaryName.data();

    bool written = WriteAll(fd, contents) && fchmod(fd, TargetMode(path)) == 0 && fsync(fd) == 0;
    int writeError = errno;
    if (close(fd) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (!written) {
        unlink(temporary);
        error = SystemReason(writeError);
        return false;
    }
    if (rename(temporary, path.c_str()) != 0) {
        int renameError = errno;
        unlink(temporary);
        error = SystemReason(renameError);
        return false;
    }
    return true;
}
