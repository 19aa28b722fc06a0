#pragma once
// Runs the built `tagvind` executable with a command line and collects what it printed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

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
    std::sort(names.begin(), names.end());
    return names;
}

struct TagvindRun {
    int status;  // -1 when the program did not end by itself
    std::string out;
    std::string err;
};

// Runs a shell command line in the folder, its output going to out.txt and err.txt there.
inline TagvindRun RunInFolder(const ScratchFolder& folder, const std::string& commandLine)
{
    std::string command = "cd '" + folder.path().string() + "' && " + commandLine + " >out.txt 2>err.txt";
    int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadWholeFile(folder / "out.txt"), ReadWholeFile(folder / "err.txt")};
}

// arguments are passed through the shell as written, so quote anything unusual.
inline TagvindRun RunTagvind(const std::string& arguments)
{
    ScratchFolder capture;
    return RunInFolder(capture, std::string("'") + TAGVIND_EXECUTABLE + "' " + arguments);
}
