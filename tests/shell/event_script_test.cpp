#include "shell/event_script.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

TEST(EventScript, RefusesWhatItCannotReadNamingTheLine)
{
    for (const char* line : {R"({"key": "P"})", R"({"at": -1, "key": "P"})", R"({"at": 1, "key": "NOSUCHKEY"})",
                             R"({"at": 1, "key": "P", "modifiers": ["hyper"]})", R"({"at": 1, "click": [1]})",
                             R"({"at": 1, "windowClick": [-5, 3]})", R"({"at": 1, "click": [0, 0], "button": 3})", R"({"at": 1, "controller": "TRIGGER"})",
                             R"({"at": 1})", "not json"}) {
        std::istringstream in(std::string(R"({"at": 0.5, "key": "P"})") + "\n" + line + "\n");
        std::vector<ScriptEvent> events;
        std::string error;
        EXPECT_FALSE(ReadEventScript(in, events, error)) << line;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    }
}

TEST(EventScript, NamesTheFunctionKeysF1ToF12)
{
    EXPECT_EQ(std::make_tuple(KeyNamed("F1"), KeyNamed("f12"), KeyNamed("F13")), std::make_tuple(KeyF1, KeyF12, KeyNone));
}
