#pragma once
// Runs the built `tagvind` executable with a command line and collects what it printed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "../scratch_folder.h"

inline std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline std::vector<std::string> FolderEntries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

struct TagvindRun {
    int status;  // -1 when the program did not end by itself
    std::string out;
    std::string err;
};

// arguments are passed through the shell as written, so quote anything unusual.
inline TagvindRun RunTagvind(const std::string& arguments)
{
    ScratchFolder capture;
    std::string command = std::string("'") + TAGVIND_EXECUTABLE + "' " + arguments + " >'" +
                          (capture / "out").string() + "' 2>'" + (capture / "err").string() + "'";
    int raw = std::system(command.c_str());
    TagvindRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadWholeFile(capture / "out");
    run.err = ReadWholeFile(capture / "err");
    return run;
}
