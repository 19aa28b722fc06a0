#include "shell/event_script.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include <nlohmann/json.hpp>

namespace {

struct NamedKey {
    const char* name;
    int32_t key;
};

constexpr NamedKey NamedKeys[] = {
    {"SPACE", KeySpace},
    {"RETURN", KeyReturn},
    {"ENTER", KeyReturn},
    {"ESCAPE", KeyEscape},
    {"ESC", KeyEscape},
    {"KP_PLUS", KeyKeypadPlus},
    {"KP_MINUS", KeyKeypadMinus},
    {"KP_MULTIPLY", KeyKeypadMultiply},
    {"KP_DIVIDE", KeyKeypadDivide},
    {"KP_PERIOD", KeyKeypadPeriod},
    {"SHIFT", KeyShift},
    {"CONTROL", KeyControl},
    {"ALT", KeyAlt},
    {"TAB", KeyTab},
    {"LEFT", KeyLeft},
    {"UP", KeyUp},
    {"RIGHT", KeyRight},
    {"DOWN", KeyDown},
    {"APPLICATION", KeyApplication},
    {"MENU", KeyApplication},
    {"OTHER", KeyOther},
};

constexpr NamedKey NamedButtons[] = {
    {"DPAD_UP", ButtonDpadUp},
    {"DPAD_DOWN", ButtonDpadDown},
    {"LEFTSHOULDER", ButtonLeftShoulder},
    {"RIGHTSHOULDER", ButtonRightShoulder},
    {"START", ButtonStart},
    {"BACK", ButtonBack},
};

bool ReadModifiers(const nlohmann::json& line, uint32_t& modifiers)
{
    modifiers = ModifierNone;
    if (!line.contains("modifiers"))
        return true;
    const nlohmann::json& list = line["modifiers"];
    if (!list.is_array())
        return false;
    for (const nlohmann::json& item : list) {
        if (!item.is_string())
            return false;
        std::string name = item.get<std::string>();
        if (name == "shift")
            modifiers |= ModifierShift;
        else if (name == "ctrl" || name == "control")
            modifiers |= ModifierControl;
        else if (name == "alt")
            modifiers |= ModifierAlt;
        else
            return false;
    }
    return true;
}

bool ReadPair(const nlohmann::json& value, double& first, double& second)
{
    if (!value.is_array() || value.size() != 2 || !value[0].is_number() || !value[1].is_number())
        return false;
    first = value[0].get<double>();
    second = value[1].get<double>();
    return std::isfinite(first) && std::isfinite(second);
}

bool ReadLine(const nlohmann::json& line, ScriptEvent& event)
{
    if (!line.is_object() || !line.contains("at") || !line["at"].is_number())
        return false;
    event.at = line["at"].get<double>();
    if (!std::isfinite(event.at) || event.at < 0.0)
        return false;

    if (line.contains("key")) {
        if (!line["key"].is_string())
            return false;
        event.action = ScriptAction::Input;
        event.input.kind = SyntheticKind::Key;
        event.input.key = KeyNamed(line["key"].get<std::string>());
        return event.input.key != KeyNone && ReadModifiers(line, event.input.modifiers);
    }
    if (line.contains("controller")) {
        if (!line["controller"].is_string())
            return false;
        event.action = ScriptAction::Input;
        event.input.kind = SyntheticKind::ControllerButton;
        event.input.button = ButtonNamed(line["controller"].get<std::string>());
        return event.input.button != ButtonNone;
    }
    if (line.contains("button") && !(line["button"] == "left" || line["button"] == "right"))
        return false;
    bool right = line.contains("button") && line["button"] == "right";
    if (line.contains("click")) {
        event.action = ScriptAction::PictureClick;
        event.input.kind = right ? SyntheticKind::RightClick : SyntheticKind::LeftClick;
        return ReadPair(line["click"], event.pictureX, event.pictureY);
    }
    if (line.contains("windowClick")) {
        double x = 0.0;
        double y = 0.0;
        if (!ReadPair(line["windowClick"], x, y) || x < 0.0 || y < 0.0 || x > 65535.0 || y > 65535.0)
            return false;
        event.action = ScriptAction::Input;
        event.input.kind = right ? SyntheticKind::RightClick : SyntheticKind::LeftClick;
        event.input.x = static_cast<int32_t>(x);
        event.input.y = static_cast<int32_t>(y);
        return true;
    }
    struct Flag {
        const char* name;
        SyntheticKind kind;
    };
    for (Flag flag : {Flag{"minimise", SyntheticKind::Minimise}, Flag{"restore", SyntheticKind::Restore},
                      Flag{"close", SyntheticKind::Close}}) {
        if (line.contains(flag.name)) {
            event.action = ScriptAction::Input;
            event.input.kind = flag.kind;
            return true;
        }
    }
    for (const char* name : {"snapshot", "screenshot"}) {
        if (line.contains(name)) {
            if (!line[name].is_string() || line[name].get<std::string>().empty())
                return false;
            event.action = std::string(name) == "snapshot" ? ScriptAction::Snapshot : ScriptAction::Screenshot;
            event.text = line[name].get<std::string>();
            return true;
        }
    }
    return false;
}

}  // namespace

int32_t KeyNamed(const std::string& name)
{
    std::string upper = name;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper.size() == 1 && ((upper[0] >= 'A' && upper[0] <= 'Z') || (upper[0] >= '0' && upper[0] <= '9')))
        return upper[0];
    if (upper.size() >= 2 && upper.size() <= 3 && upper[0] == 'F' &&
        std::all_of(upper.begin() + 1, upper.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        int number = std::stoi(upper.substr(1));
        if (number >= 1 && number <= 12)
            return KeyF1 + (number - 1);
    }
    if (upper.size() == 4 && upper.rfind("KP_", 0) == 0 && upper[3] >= '0' && upper[3] <= '9')
        return KeyKeypad0 + (upper[3] - '0');
    for (const NamedKey& named : NamedKeys) {
        if (upper == named.name)
            return named.key;
    }
    return KeyNone;
}

int32_t ButtonNamed(const std::string& name)
{
    for (const NamedKey& named : NamedButtons) {
        if (name == named.name)
            return named.key;
    }
    return ButtonNone;
}

bool ReadEventScript(std::istream& in, std::vector<ScriptEvent>& events, std::string& error)
{
    events.clear();
    std::string text;
    int lineNumber = 0;
    while (std::getline(in, text)) {
        ++lineNumber;
        if (text.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        nlohmann::json line = nlohmann::json::parse(text, nullptr, false);
        ScriptEvent event;
        if (line.is_discarded() || !ReadLine(line, event)) {
            error = "line " + std::to_string(lineNumber) + " is not a script event: " + text;
            return false;
        }
        events.push_back(event);
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.at < b.at; });
    return true;
}
