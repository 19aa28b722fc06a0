#include "shell/commands/control_settings.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "world/train_unit.h"

namespace {

constexpr const char* ExpectedLine = " (expected {\"t\": seconds, \"throttle\": 0..5, \"brake\": 1..8})";

bool ReadWholeField(const nlohmann::json& line, const char* name, int32_t lowest, int32_t highest, int32_t& value,
                    std::string& problem)
{
    auto field = line.find(name);
    if (field == line.end()) {
        problem = std::string("has no \"") + name + "\"";
        return false;
    }
    if (!field->is_number_integer() || field->get<int64_t>() < lowest || field->get<int64_t>() > highest) {
        problem = std::string("\"") + name + "\" must be a whole number from " + std::to_string(lowest) + " to " +
                  std::to_string(highest);
        return false;
    }
    value = static_cast<int32_t>(field->get<int64_t>());
    return true;
}

// Parses one line as a JSON object. The JSON reader would keep the last of two equal keys and
// stop at a NUL byte as at the end of the text, so both are looked for here: a line that says
// two things, or hides something after its object, is not one setting.
bool ParseSettingObject(std::string_view text, nlohmann::json& line, std::string& problem)
{
    size_t nul = text.find('\0');
    std::vector<std::set<std::string>> keysOfOpenObjects;
    std::string repeatedKey;
    auto noteKeys = [&](int, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
        if (event == nlohmann::json::parse_event_t::object_start) {
            keysOfOpenObjects.emplace_back();
        } else if (event == nlohmann::json::parse_event_t::object_end && !keysOfOpenObjects.empty()) {
            keysOfOpenObjects.pop_back();
        } else if (event == nlohmann::json::parse_event_t::key && !keysOfOpenObjects.empty()) {
            const std::string& key = parsed.get_ref<const std::string&>();
            if (!keysOfOpenObjects.back().insert(key).second && repeatedKey.empty())
                repeatedKey = key;
        }
        return true;
    };
    std::string_view json = text.substr(0, nul);
    line = nlohmann::json::parse(json.begin(), json.end(), noteKeys, false);
    if (line.is_discarded() || !line.is_object()) {
        problem = "is not a JSON object";
        return false;
    }
    if (nul != std::string_view::npos) {
        problem = "goes on after its JSON object (a NUL byte and what follows it)";
        return false;
    }
    if (!repeatedKey.empty()) {
        problem = "gives \"" + repeatedKey + "\" twice";
        return false;
    }
    return true;
}

bool ReadSettingLine(std::string_view text, ControlSetting& setting, std::string& problem)
{
    nlohmann::json line;
    if (!ParseSettingObject(text, line, problem))
        return false;
    auto time = line.find("t");
    if (time == line.end()) {
        problem = "has no \"t\"";
        return false;
    }
    if (!time->is_number() || !std::isfinite(time->get<double>()) || time->get<double>() < 0.0) {
        problem = "\"t\" must be a number of seconds, 0 or more";
        return false;
    }
    setting.time = time->get<double>();
    if (!ReadWholeField(line, "throttle", ThrottleClosed, ThrottleFull, setting.throttle, problem) ||
        !ReadWholeField(line, "brake", BrakeFull, BrakeReleased, setting.brake, problem))
        return false;
    // The levers open the throttle only once the brake is released, and taking power releases
    // it: a replay must not drive in a way no driver could.
    if (setting.throttle > ThrottleClosed && setting.brake != BrakeReleased) {
        problem = "opens the throttle to " + std::to_string(setting.throttle) + " with the brake at " +
                  std::to_string(setting.brake) + "; the levers take power only with the brake released (" +
                  std::to_string(BrakeReleased) + ")";
        return false;
    }
    return true;
}

bool IsBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c) != 0; });
}

// A controls text as it arrives: whole lines are read as their newline comes, the line being
// gathered never grows past ControlsLineMaxBytes, and the text never past ControlsFileMaxBytes.
struct ControlsReading {
    std::vector<ControlSetting>& settings;
    std::string line;
    int lineNumber = 0;
    uint64_t bytesTaken = 0;
    std::string error;
};

bool ReadGatheredLine(ControlsReading& reading)
{
    ++reading.lineNumber;
    ControlSetting setting = {};
    std::string problem;
    if (!IsBlank(reading.line)) {
        if (!ReadSettingLine(reading.line, setting, problem)) {
            reading.error = "line " + std::to_string(reading.lineNumber) + " " + problem + ExpectedLine;
            return false;
        }
        reading.settings.push_back(setting);
    }
    reading.line.clear();
    return true;
}

bool TakeControlsBytes(ControlsReading& reading, std::string_view bytes)
{
    reading.bytesTaken += bytes.size();
    if (reading.bytesTaken > ControlsFileMaxBytes) {
        reading.error = "it is larger than " + std::to_string(ControlsFileMaxBytes >> 20) + " MB";
        return false;
    }
    while (!bytes.empty()) {
        size_t newline = bytes.find('\n');
        std::string_view piece = bytes.substr(0, newline);
        if (reading.line.size() + piece.size() > ControlsLineMaxBytes) {
            reading.error = "line " + std::to_string(reading.lineNumber + 1) + " is longer than " +
                            std::to_string(ControlsLineMaxBytes) + " bytes";
            return false;
        }
        reading.line.append(piece);
        if (newline == std::string_view::npos)
            return true;
        if (!ReadGatheredLine(reading))
            return false;
        bytes.remove_prefix(newline + 1);
    }
    return true;
}

bool FinishControlsReading(ControlsReading& reading)
{
    if (!reading.line.empty() && !ReadGatheredLine(reading))
        return false;
    std::stable_sort(reading.settings.begin(), reading.settings.end(),
                     [](const ControlSetting& a, const ControlSetting& b) { return a.time < b.time; });
    return true;
}

// Reads the file to its end through reading; false with reading.error when it cannot.
bool ReadControlsFrom(int file, ControlsReading& reading)
{
    std::vector<char> chunk(64 * 1024);
    for (;;) {
        ssize_t got = read(file, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            reading.error = std::string("it could not be read: ") + std::strerror(errno);
            return false;
        }
        if (got == 0)
            return FinishControlsReading(reading);
        if (!TakeControlsBytes(reading, std::string_view(chunk.data(), static_cast<size_t>(got))))
            return false;
    }
}

}  // namespace

bool ReadControlSettings(std::string_view text, std::vector<ControlSetting>& settings, std::string& error)
{
    settings.clear();
    ControlsReading reading = {settings, {}, 0, 0, {}};
    if (!TakeControlsBytes(reading, text) || !FinishControlsReading(reading)) {
        error = reading.error;
        return false;
    }
    return true;
}

bool ReadControlsFile(const std::string& path, std::vector<ControlSetting>& settings, std::string& error)
{
    settings.clear();
    ControlsReading reading = {settings, {}, 0, 0, {}};
    if (path == "-") {
        bool read = ReadControlsFrom(STDIN_FILENO, reading);
        error = reading.error;
        return read;
    }
    // Opened without blocking: a named pipe would otherwise hold the drive until a writer came.
    int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        error = std::strerror(errno);
        return false;
    }
    struct stat status {};
    bool read = false;
    if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode))
        reading.error = "it is not a regular file (give a file, or - for standard input)";
    else if (static_cast<uint64_t>(status.st_size) > ControlsFileMaxBytes)
        reading.error = "it is larger than " + std::to_string(ControlsFileMaxBytes >> 20) + " MB";
    else
        read = ReadControlsFrom(file, reading);
    close(file);
    error = reading.error;
    return read;
}

void WriteControlSettingLine(std::ostream& out, const ControlSetting& setting)
{
    nlohmann::json line = {{"t", setting.time}, {"throttle", setting.throttle}, {"brake", setting.brake}};
    out << line.dump() << '\n';
}
