#include "shell/commands/control_settings.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include <nlohmann/json.hpp>

#include "world/train_unit.h"

namespace {

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

bool ReadSettingLine(const std::string& text, ControlSetting& setting, std::string& problem)
{
    nlohmann::json line = nlohmann::json::parse(text, nullptr, false);
    if (line.is_discarded() || !line.is_object()) {
        problem = "is not a JSON object";
        return false;
    }
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
    return ReadWholeField(line, "throttle", ThrottleClosed, ThrottleFull, setting.throttle, problem) &&
           ReadWholeField(line, "brake", BrakeFull, BrakeReleased, setting.brake, problem);
}

bool IsBlank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c) != 0; });
}

}  // namespace

bool ReadControlSettings(std::istream& in, std::vector<ControlSetting>& settings, std::string& error)
{
    settings.clear();
    std::string text;
    int lineNumber = 0;
    while (std::getline(in, text)) {
        ++lineNumber;
        if (IsBlank(text))
            continue;
        ControlSetting setting = {};
        std::string problem;
        if (!ReadSettingLine(text, setting, problem)) {
            error = "line " + std::to_string(lineNumber) + " " + problem +
                    " (expected {\"t\": seconds, \"throttle\": 0..5, \"brake\": 1..8})";
            return false;
        }
        settings.push_back(setting);
    }
    if (in.bad()) {
        error = "could not be read";
        return false;
    }
    std::stable_sort(settings.begin(), settings.end(),
                     [](const ControlSetting& a, const ControlSetting& b) { return a.time < b.time; });
    return true;
}

void WriteControlSettingLine(std::ostream& out, const ControlSetting& setting)
{
    nlohmann::json line = {{"t", setting.time}, {"throttle", setting.throttle}, {"brake", setting.brake}};
    out << line.dump() << '\n';
}
