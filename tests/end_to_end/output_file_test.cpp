// Every option that writes a file, run by the real program against each kind of path: what
// must be replaced whole, what must be written in place, and what must be refused with the path
// named and a failed exit.

#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "run_tagvind.h"

namespace {

// The first four kinds of path are written, the others refused.
enum class PathKind { RegularFile, LinkToAFile, FifoWithAReader, StandardOutput, MissingFolder, Folder, FullDisk,
                      FileTooLargeToWrite };

// Reads a FIFO for as long as the program may write to it. The test holds a writing end of its
// own, so that the reader never sees the end of the data before the program has opened it.
struct FifoReader {
    int readEnd, heldWriteEnd;
    std::string received;
    std::thread thread;

    explicit FifoReader(const std::filesystem::path& fifo)
        : readEnd(open(fifo.c_str(), O_RDONLY | O_NONBLOCK)), heldWriteEnd(open(fifo.c_str(), O_WRONLY))
    {
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

}  // namespace

TEST(OutputFiles, EachKindOfPathIsReplacedWrittenInPlaceOrRefusedByName)
{
    const std::string png = "\x89PNG";
    const std::pair<const char*, std::string> options[] = {
        {"route --length 5 --json", "{\n  \"format\": \"tagvind-world-1\""},
        {"drive --length 5 --seed 1 --autopilot --trace", "{\""},
        {"drive --length 5 --seed 1 --autopilot --record", "{\"brake\":"},
        {"shot --length 5 --seed 1 --size 64x48 --png", png},
        {"play --offscreen --autopilot --sound off --length 5 --seed 1 --quit-after 0.3 --window 100x100 --screenshot",
         png},
    };
    const std::pair<PathKind, const char*> paths[] = {
        {PathKind::RegularFile, "a regular file"}, {PathKind::LinkToAFile, "a link to a file"},
        {PathKind::FifoWithAReader, "a FIFO with a reader"}, {PathKind::StandardOutput, "-"},
        {PathKind::MissingFolder, "a missing folder"}, {PathKind::Folder, "a folder"},
        {PathKind::FullDisk, "a full disk"}, {PathKind::FileTooLargeToWrite, "a file that cannot be written whole"},
    };
    const std::string oldContents(1 << 20, 'x');

    for (const auto& [arguments, starts] : options) {
        for (const auto& [kind, name] : paths) {
            SCOPED_TRACE(std::string(arguments) + " on " + name);
            ScratchFolder folder;
            std::filesystem::path file = folder / "old.out";
            std::ofstream(file) << oldContents;
            std::string target = kind == PathKind::LinkToAFile       ? (folder / "link").string()
                                 : kind == PathKind::FifoWithAReader ? (folder / "fifo").string()
                                 : kind == PathKind::StandardOutput  ? "-"
                                 : kind == PathKind::MissingFolder   ? (folder / "missing" / "new.out").string()
                                 : kind == PathKind::Folder          ? (folder / "taken").string()
                                 : kind == PathKind::FullDisk        ? "/dev/full"
                                                                     : file.string();
            std::unique_ptr<FifoReader> reader;
            if (kind == PathKind::LinkToAFile)
                std::filesystem::create_symlink("old.out", target);
            if (kind == PathKind::FifoWithAReader && mkfifo(target.c_str(), 0600) == 0)
                reader = std::make_unique<FifoReader>(target);
            if (kind == PathKind::Folder)
                std::filesystem::create_directory(target);
            std::vector<std::string> entriesBefore = FolderEntries(folder.path());

            // shot draws offscreen; the display drivers' own small leaks cannot be named after
            // they are unloaded (the drawing itself is leak-checked by the tests that draw
            // in-process). A file that cannot grow past a kilobyte (two blocks of 512 bytes)
            // fails its writes with an error, not a signal.
            ScratchFolder capture;
            TagvindRun run = RunInFolder(
                capture, std::string(kind == PathKind::FileTooLargeToWrite ? "ulimit -f 2 && trap '' XFSZ && " : "") +
                             "SDL_VIDEODRIVER=offscreen ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" '" +
                             TAGVIND_EXECUTABLE + "' " + arguments + " '" + target + "'");
            std::string received = reader ? reader->Finish() : "";

            std::string contents = ReadWholeFile(file);
            bool written = kind <= PathKind::StandardOutput;
            if (written) {
                EXPECT_EQ(run.status, 0) << run.err;
                std::string output = kind == PathKind::FifoWithAReader ? received
                                     : kind == PathKind::StandardOutput ? run.out
                                                                        : contents;
                EXPECT_EQ(output.rfind(starts, 0), 0u) << output.substr(0, 40);
                EXPECT_EQ(output.find("xxxxxxxx"), std::string::npos) << "the old file is replaced whole";
            } else {
                EXPECT_EQ(run.status, 1);
                EXPECT_NE(run.err.find(target), std::string::npos) << "the message names the path: " << run.err;
            }
            EXPECT_EQ(kind == PathKind::MissingFolder || kind == PathKind::Folder ? run.out : "", "") << "refused before the run";
            EXPECT_FALSE(kind == PathKind::StandardOutput && run.out.find("reachedDestination") != std::string::npos)
                << "the output stands alone there";
            EXPECT_TRUE(kind == PathKind::RegularFile || kind == PathKind::LinkToAFile || contents == oldContents)
                << "only the file named is written";
            // Whatever stands at the path is still what it was, and no temporary file is left.
            EXPECT_EQ(FolderEntries(folder.path()), entriesBefore);
            EXPECT_EQ(std::filesystem::is_symlink(folder / "link"), kind == PathKind::LinkToAFile);
            EXPECT_EQ(std::filesystem::is_fifo(folder / "fifo"), kind == PathKind::FifoWithAReader);
            EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
        }
    }
}
