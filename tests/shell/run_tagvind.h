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

// A folder of its own for one test, removed with everything in it afterwards.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tagvind-test-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data()) == nullptr)
            ADD_FAILURE() << "cannot create a scratch folder";
        path_ = name.data();
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

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
