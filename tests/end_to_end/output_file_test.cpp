// Every option that writes a file, run by the real program against each kind of path: what
// must be replaced whole, what must be written in place, and what must be refused with the path
// named and a failed exit.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "run_tagvind.h"

namespace {

struct OutputOption {
    const char* arguments;  // the command line, up to the output path
    std::string starts;     // how what it writes begins
};

enum class PathKind { RegularFile, LinkToAFile, FifoWithAReader, StandardOutput, MissingFolder, Folder, FullDisk,
                      FileTooLargeToWrite };

struct PathCase {
    PathKind kind;
    const char* name;
    bool written;
};

// Reads a FIFO for as long as the program may write to it. The test holds a writing end of its
// own, so that the reader never sees the end of the data before the program has opened it.
struct FifoReader {
    int readEnd = -1;
    int heldWriteEnd = -1;
    std::string received;
    std::thread thread;

    explicit FifoReader(const std::filesystem::path& fifo)
    {
        readEnd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        heldWriteEnd = open(fifo.c_str(), O_WRONLY);
        fcntl(readEnd, F_SETFL, fcntl(readEnd, F_GETFL) & ~O_NONBLOCK);
        thread = std::thread([this] {
            char chunk[4096];
            for (ssize_t n; (n = read(readEnd, chunk, sizeof chunk)) > 0;)
                received.append(chunk, static_cast<size_t>(n));
        });
    }
    std::string Finish()
    {
        close(heldWriteEnd);
        thread.join();
        close(readEnd);
        return received;
    }
};

bool IsCharacterDevice(const char* path)
{
    struct stat info {};
    return stat(path, &info) == 0 && S_ISCHR(info.st_mode);
}

}  // namespace

TEST(OutputFiles, EachKindOfPathIsReplacedWrittenInPlaceOrRefusedByName)
{
    // shot draws offscreen; the display drivers' own small leaks cannot be named after they are
    // unloaded (the drawing itself is leak-checked by the tests that draw in-process).
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    std::string previousSanitizer = sanitizer != nullptr ? sanitizer : "";
    setenv("ASAN_OPTIONS", (previousSanitizer + ":detect_leaks=0").c_str(), 1);
    // A file that cannot grow past a kilobyte fails its writes with an error, not a signal.
    auto previousFileSizeSignal = std::signal(SIGXFSZ, SIG_IGN);

    const std::string png = "\x89PNG";
    const OutputOption options[] = {
        {"route --length 5 --json", "{\n  \"format\": \"tagvind-world-1\""},
        {"drive --length 5 --seed 1 --autopilot --trace", "{\""},
        {"drive --length 5 --seed 1 --autopilot --record", "{\"brake\":"},
        {"shot --length 5 --seed 1 --size 64x48 --png", png},
        {"play --offscreen --autopilot --sound off --length 5 --seed 1 --quit-after 0.3 --window 100x100 --screenshot",
         png},
    };
    const PathCase paths[] = {
        {PathKind::RegularFile, "a regular file", true},
        {PathKind::LinkToAFile, "a link to a file", true},
        {PathKind::FifoWithAReader, "a FIFO with a reader", true},
        {PathKind::StandardOutput, "-", true},
        {PathKind::MissingFolder, "a missing folder", false},
        {PathKind::Folder, "a folder", false},
        {PathKind::FullDisk, "a full disk", false},
        {PathKind::FileTooLargeToWrite, "a file that cannot be written whole", false},
    };
    const std::string oldContents(1 << 20, 'x');

    for (const OutputOption& option : options) {
        for (const PathCase& path : paths) {
            SCOPED_TRACE(std::string(option.arguments) + " on " + path.name);
            ScratchFolder folder;
            std::filesystem::path file = folder / "old.out";
            std::string target = file.string();
            std::ofstream(file) << oldContents;
            std::vector<std::string> entriesAfter = {"old.out"};
            std::unique_ptr<FifoReader> reader;
            switch (path.kind) {
            case PathKind::RegularFile:
            case PathKind::FileTooLargeToWrite:
                break;
            case PathKind::LinkToAFile:
                std::filesystem::create_symlink("old.out", folder / "link");
                target = (folder / "link").string();
                entriesAfter.push_back("link");
                break;
            case PathKind::FifoWithAReader:
                mkfifo((folder / "fifo").c_str(), 0600);
                reader = std::make_unique<FifoReader>(folder / "fifo");
                target = (folder / "fifo").string();
                entriesAfter.push_back("fifo");
                break;
            case PathKind::StandardOutput:
                target = "-";
                break;
            case PathKind::MissingFolder:
                target = (folder / "missing" / "new.out").string();
                break;
            case PathKind::Folder:
                std::filesystem::create_directory(folder / "taken");
                target = (folder / "taken").string();
                entriesAfter.push_back("taken");
                break;
            case PathKind::FullDisk:
                target = "/dev/full";
                break;
            }

            rlimit previousFileSize {};
            getrlimit(RLIMIT_FSIZE, &previousFileSize);
            if (path.kind == PathKind::FileTooLargeToWrite) {
                rlimit oneKilobyte = previousFileSize;
                oneKilobyte.rlim_cur = 1024;
                setrlimit(RLIMIT_FSIZE, &oneKilobyte);
            }
            TagvindRun run = RunTagvind(std::string(option.arguments) + " '" + target + "'");
            setrlimit(RLIMIT_FSIZE, &previousFileSize);
            std::string received = reader ? reader->Finish() : "";

            std::string contents = ReadWholeFile(file);
            if (path.written) {
                EXPECT_EQ(run.status, 0) << run.err;
                std::string written = path.kind == PathKind::FifoWithAReader ? received
                                      : path.kind == PathKind::StandardOutput ? run.out
                                                                               : contents;
                EXPECT_EQ(written.rfind(option.starts, 0), 0u) << written.substr(0, 40);
                EXPECT_EQ(written.find("xxxxxxxx"), std::string::npos) << "the old file is replaced whole";
            } else {
                EXPECT_EQ(run.status, 1);
                EXPECT_NE(run.err.find(target), std::string::npos) << "the message names the path: " << run.err;
            }
            if (path.kind == PathKind::MissingFolder || path.kind == PathKind::Folder) {
                EXPECT_EQ(run.out, "") << "refused before the run";
            }
            if (path.kind != PathKind::RegularFile && path.kind != PathKind::LinkToAFile) {
                EXPECT_EQ(contents, oldContents) << "only the file named is written";
            }
            // Whatever stands at the path is still what it was, and no temporary file is left.
            EXPECT_EQ(FolderEntries(folder.path()).size(), entriesAfter.size());
            for (const std::string& entry : entriesAfter)
                EXPECT_TRUE(std::filesystem::exists(folder / entry)) << entry;
            EXPECT_TRUE(std::filesystem::is_symlink(folder / "link") == (path.kind == PathKind::LinkToAFile));
            EXPECT_TRUE(std::filesystem::is_fifo(folder / "fifo") == (path.kind == PathKind::FifoWithAReader));
            EXPECT_TRUE(IsCharacterDevice("/dev/full"));
            if (path.kind == PathKind::StandardOutput) {
                EXPECT_EQ(run.out.find("reachedDestination"), std::string::npos) << "the output stands alone there";
            }
        }
    }

    std::signal(SIGXFSZ, previousFileSizeSignal);
    if (sanitizer != nullptr)
        setenv("ASAN_OPTIONS", previousSanitizer.c_str(), 1);
    else
        unsetenv("ASAN_OPTIONS");
}
