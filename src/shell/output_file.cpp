#include "shell/output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

// As many links as the kernel itself follows before it calls a path a loop.
constexpr int MostLinksFollowed = 40;
// Large enough that a trace line rarely costs a system call of its own.
constexpr size_t StreamBufferBytes = 64 * 1024;

std::string SystemReason(int errorNumber)
{
    return std::strerror(errorNumber);
}

std::string FolderOf(const std::filesystem::path& path)
{
    std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// Where a path leads once its links are followed.
struct OutputPlace {
    std::string path;               // the file to write, or the name its temporary file takes
    bool exists = false;
    mode_t type = 0;                // S_IFREG, S_IFIFO … of what exists there
    bool openByAProgram = false;    // reached through a link of /proc: written in place
    int ownDescriptor = -1;         // a link to one of this program's own open files
};

bool IsOnProcFileSystem(const std::string& folder)
{
    struct statfs system {};
    return statfs(folder.c_str(), &system) == 0 && system.f_type == PROC_SUPER_MAGIC;
}

// /dev/stdout and /dev/fd/N are links to the program's own open files: writing through its own
// descriptor keeps the stream as the shell set it up (appending, a socket), as reopening may not.
int OwnDescriptorOf(const std::filesystem::path& link)
{
    std::error_code failed;
    std::filesystem::path folder = std::filesystem::canonical(FolderOf(link), failed);
    if (failed || folder != std::filesystem::path("/proc") / std::to_string(getpid()) / "fd")
        return -1;
    const std::string name = link.filename().string();
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos || name.size() > 9)
        return -1;
    return std::stoi(name);
}

bool FindOutputPlace(const std::string& path, OutputPlace& place, std::string& error)
{
    std::filesystem::path current(path);
    for (int links = 0; links <= MostLinksFollowed; ++links) {
        struct stat info {};
        if (lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT) {
                error = SystemReason(errno);
                return false;
            }
            place.path = current.string();
            place.exists = false;
            return true;
        }
        if (!S_ISLNK(info.st_mode)) {
            place.path = current.string();
            place.exists = true;
            place.type = info.st_mode & S_IFMT;
            return true;
        }
        // The links of /proc lead to a program's open files, pipes and terminals included, which
        // have no name to follow; the kernel opens them as the program has them.
        if (IsOnProcFileSystem(FolderOf(current))) {
            if (stat(current.c_str(), &info) != 0) {
                error = SystemReason(errno);
                return false;
            }
            place.path = current.string();
            place.exists = true;
            place.type = info.st_mode & S_IFMT;
            place.openByAProgram = true;
            place.ownDescriptor = OwnDescriptorOf(current);
            return true;
        }
        std::error_code failed;
        std::filesystem::path target = std::filesystem::read_symlink(current, failed);
        if (failed) {
            error = failed.message();
            return false;
        }
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    error = SystemReason(ELOOP);
    return false;
}

bool IsReplacedWhole(const OutputPlace& place)
{
    return !place.openByAProgram && (!place.exists || place.type == S_IFREG);
}

bool FolderExists(const std::string& folder, std::string& error)
{
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0) {
        error = errno == ENOENT ? "the folder '" + folder + "' does not exist" : SystemReason(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        error = "'" + folder + "' is not a folder";
        return false;
    }
    return true;
}

// A hidden name, unique to this write, so that neither a listing nor a second writer picks it up.
int CreateTemporaryFile(const std::string& target, std::string& temporaryPath, std::string& error)
{
    std::filesystem::path targetPath(target);
    std::string temporaryName = ".";
    temporaryName += targetPath.filename().string();
    temporaryName += ".tmp-XXXXXX";
    std::string pattern = (std::filesystem::path(FolderOf(targetPath)) / temporaryName).string();
    int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        error = SystemReason(errno);
        return -1;
    }
    temporaryPath = pattern;
    return fd;
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

// A FIFO opened for writing waits for a reader; opened without waiting it says at once that
// there is none, and is then made to wait for the reader as an ordinary stream does.
int OpenFifo(const std::string& path, std::string& error)
{
    int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno == ENXIO ? std::string("nobody reads from this FIFO") : SystemReason(errno);
        return -1;
    }
    int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        error = SystemReason(errno);
        close(fd);
        return -1;
    }
    return fd;
}

int ConnectSocket(const std::string& path, std::string& error)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        error = SystemReason(ENAMETOOLONG);
        return -1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = SystemReason(errno);
        if (fd >= 0)
            close(fd);
        return -1;
    }
    return fd;
}

int OpenInPlace(const OutputPlace& place, std::string& error)
{
    if (place.ownDescriptor >= 0) {
        int mode = fcntl(place.ownDescriptor, F_GETFL);
        int fd = -1;
        if (mode >= 0 && (mode & O_ACCMODE) == O_RDONLY)
            errno = EBADF;
        else if (mode >= 0)
            fd = fcntl(place.ownDescriptor, F_DUPFD_CLOEXEC, 0);
        if (fd < 0)
            error = SystemReason(errno);
        return fd;
    }
    if (place.type == S_IFIFO)
        return OpenFifo(place.path, error);
    if (place.type == S_IFSOCK && !place.openByAProgram)
        return ConnectSocket(place.path, error);
    // A program's open regular file is written where its stream stands, after what it holds.
    int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | (place.type == S_IFREG ? O_APPEND : 0);
    int fd = open(place.path.c_str(), flags);
    if (fd < 0)
        error = SystemReason(errno);
    return fd;
}

}  // namespace

bool CheckOutputPath(const std::string& path, std::string& error)
{
    if (path.empty()) {
        error = "no file name given";
        return false;
    }
    if (path == StandardOutputName)
        return true;
    OutputPlace place;
    if (!FindOutputPlace(path, place, error))
        return false;
    if (place.exists && place.type == S_IFDIR) {
        error = "it is a folder";
        return false;
    }
    if (IsReplacedWhole(place)) {
        std::string folder = FolderOf(place.path);
        if (!FolderExists(folder, error))
            return false;
        // Only a file made there shows that the folder takes one: permissions alone do not tell
        // of a read-only disk, or of /sys.
        std::string probe;
        int fd = CreateTemporaryFile(place.path, probe, error);
        if (fd < 0)
            return false;
        close(fd);
        unlink(probe.c_str());
        return true;
    }
    if (access(place.path.c_str(), W_OK) != 0) {
        error = SystemReason(errno);
        return false;
    }
    return true;
}

OutputFile::~OutputFile()
{
    DiscardOutputFile(*this);
}

bool OpenOutputFile(const std::string& path, OutputFile& file, std::string& error)
{
    DiscardOutputFile(file);
    file.writeError = 0;
    if (path.empty()) {
        error = "no file name given";
        return false;
    }
    if (path == StandardOutputName) {
        file.descriptor = STDOUT_FILENO;
        file.ownsDescriptor = false;
        return true;
    }
    OutputPlace place;
    if (!FindOutputPlace(path, place, error))
        return false;
    if (place.exists && place.type == S_IFDIR) {
        error = "it is a folder";
        return false;
    }
    int fd = -1;
    if (IsReplacedWhole(place)) {
        if (!FolderExists(FolderOf(place.path), error))
            return false;
        fd = CreateTemporaryFile(place.path, file.temporaryPath, error);
    } else {
        fd = OpenInPlace(place, error);
    }
    if (fd < 0)
        return false;
    file.descriptor = fd;
    file.ownsDescriptor = true;
    file.targetPath = place.path;
    return true;
}

bool WriteOutputBytes(OutputFile& file, std::string_view bytes)
{
    if (file.writeError != 0)
        return false;
    if (file.descriptor < 0) {
        file.writeError = EBADF;
        return false;
    }
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = write(file.descriptor, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            file.writeError = n < 0 ? errno : EIO;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

bool CloseOutputFile(OutputFile& file, std::string& error)
{
    if (file.descriptor < 0 && file.writeError == 0)
        file.writeError = EBADF;
    if (file.writeError != 0) {
        error = SystemReason(file.writeError);
        DiscardOutputFile(file);
        return false;
    }
    if (file.temporaryPath.empty()) {
        int fd = file.descriptor;
        bool owned = file.ownsDescriptor;
        file.descriptor = -1;
        if (owned && close(fd) != 0) {
            error = SystemReason(errno);
            return false;
        }
        return true;
    }
    // The data is on the disk before the name moves, so that a crash leaves the old file or the
    // new one, never an empty one.
    bool finished = fchmod(file.descriptor, TargetMode(file.targetPath)) == 0 && fsync(file.descriptor) == 0;
    int finishError = errno;
    if (close(file.descriptor) != 0 && finished) {
        finished = false;
        finishError = errno;
    }
    file.descriptor = -1;
    if (finished && rename(file.temporaryPath.c_str(), file.targetPath.c_str()) != 0) {
        finished = false;
        finishError = errno;
    }
    if (!finished) {
        error = SystemReason(finishError);
        DiscardOutputFile(file);
        return false;
    }
    file.temporaryPath.clear();
    return true;
}

void DiscardOutputFile(OutputFile& file)
{
    if (file.descriptor >= 0 && file.ownsDescriptor)
        close(file.descriptor);
    file.descriptor = -1;
    if (!file.temporaryPath.empty())
        unlink(file.temporaryPath.c_str());
    file.temporaryPath.clear();
}

bool WriteOutputFile(const std::string& path, std::string_view contents, std::string& error)
{
    OutputFile file;
    if (!OpenOutputFile(path, file, error))
        return false;
    WriteOutputBytes(file, contents);
    return CloseOutputFile(file, error);
}

OutputFileBuffer::OutputFileBuffer(OutputFile& file) : file_(file), buffer_(StreamBufferBytes)
{
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool OutputFileBuffer::WritePending()
{
    bool written = WriteOutputBytes(file_, std::string_view(pbase(), static_cast<size_t>(pptr() - pbase())));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return written;
}

OutputFileBuffer::int_type OutputFileBuffer::overflow(int_type byte)
{
    if (!WritePending())
        return traits_type::eof();
    if (!traits_type::eq_int_type(byte, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(byte);
        pbump(1);
    }
    return traits_type::not_eof(byte);
}

int OutputFileBuffer::sync()
{
    return WritePending() ? 0 : -1;
}
