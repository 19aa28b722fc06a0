#pragma once
// Writing the files a command makes (a world's JSON, a trace, a picture) so that nothing the
// path names is ever clobbered:
// - a regular file, or a name not yet taken, is written to a temporary file beside it that then
//   takes the name in one step: a reader never finds it half written, and the old file survives
//   any failure;
// - a device, a FIFO or a socket is opened and written in place, never replaced;
// - a symbolic link is followed, and its target is written by these same rules (the link stays);
//   a link of /proc (/dev/stdout, /dev/fd/N) names a file some program has open, which is
//   written in place, where that program's stream stands;
// - "-" is standard output.

#include <cstddef>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

// The name that stands for standard output wherever an output file is asked for.
constexpr std::string_view StandardOutputName = "-";

// Says whether path could be written, without writing it, so that a long run can refuse a
// target at its start rather than fail at its end: the name is not empty and not a folder, the
// folder of a new or regular file exists and takes a new file, anything else can be opened for
// writing. False with a reason in error otherwise.
bool CheckOutputPath(const std::string& path, std::string& error);

// An output file open for writing. Written in place, or to the temporary file that CloseOutputFile
// renames to the target; a file dropped before then is discarded, and the old one stays.
struct OutputFile {
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    int descriptor = -1;
    bool ownsDescriptor = false;    // false for standard output, which stays open
    std::string targetPath;         // where the temporary file goes, with the links followed
    std::string temporaryPath;      // empty when written in place
    int writeError = 0;             // the errno of the first write that failed
};

// Opens path by the rules above. A FIFO that nobody reads is refused at once, not waited on.
bool OpenOutputFile(const std::string& path, OutputFile& file, std::string& error);

// Appends bytes; after a failure, nothing more is written and writeError says why.
bool WriteOutputBytes(OutputFile& file, std::string_view bytes);

// Finishes the file: the temporary file takes the target's name. False with a reason in error
// when any write failed or the file cannot be finished; the target is then as it was.
bool CloseOutputFile(OutputFile& file, std::string& error);

// Closes the file without finishing it, removing the temporary file.
void DiscardOutputFile(OutputFile& file);

// The whole of an output at once: opens, writes and closes path.
bool WriteOutputFile(const std::string& path, std::string_view contents, std::string& error);

// A stream buffer over an open output file, for output made a line at a time (a drive's trace):
// its memory stays the same however long the output grows.
class OutputFileBuffer : public std::streambuf {
public:
    explicit OutputFileBuffer(OutputFile& file);

protected:
    int_type overflow(int_type byte) override;
    int sync() override;

private:
    bool WritePending();

    OutputFile& file_;
    std::vector<char> buffer_;
};
