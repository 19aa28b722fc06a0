#include "shell/event_script.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(EventScript, ReadsEveryFormInTimeOrder)
{
    std::istringstream in(R"({"at": 3.0, "key": "kp_plus"}
{"at": 1.0, "key": "RETURN", "modifiers": ["alt"]}

{"at": 2.0, "click": [0.03, 0.72]}
{"at": 2.0, "windowClick": [120, 40], "button": "right"}
{"at": 4.0, "minimise": true}
{"at": 5.0, "snapshot": "paused"}
{"at": 5.0, "screenshot": "paused.png"}
{"at": 6.0, "controller": "LEFTSHOULDER"}
)");
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(ReadEventScript(in, events, error)) << error;
    ASSERT_EQ(events.size(), 8u);
    EXPECT_EQ(events[0].input.key, KeyReturn);
    EXPECT_EQ(events[0].input.modifiers, ModifierAlt);
    // Equal times keep the order of the file.
    EXPECT_EQ(events[1].action, ScriptAction::PictureClick);
    EXPECT_DOUBLE_EQ(events[1].pictureY, 0.72);
    EXPECT_EQ(events[2].input.kind, SyntheticKind::RightClick);
    EXPECT_EQ(events[2].input.x, 120);
    EXPECT_EQ(events[3].input.key, KeyKeypadPlus);
    EXPECT_EQ(events[4].input.kind, SyntheticKind::Minimise);
    EXPECT_EQ(events[5].action, ScriptAction::Snapshot);
    EXPECT_EQ(events[6].text, "paused.png");
    EXPECT_EQ(events[7].input.kind, SyntheticKind::ControllerButton);
    EXPECT_EQ(events[7].input.button, ButtonLeftShoulder);
}

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

TEST(EventScript, NamesTheKeysTheGameKnows)
{
    EXPECT_EQ(KeyNamed("p"), 'P');
    EXPECT_EQ(KeyNamed("7"), '7');
    EXPECT_EQ(KeyNamed("F1"), KeyF1);
    EXPECT_EQ(KeyNamed("f12"), KeyF12);
    EXPECT_EQ(KeyNamed("F13"), KeyNone);
    EXPECT_EQ(KeyNamed("KP_5"), KeyKeypad5);
    EXPECT_EQ(KeyNamed("KP_MINUS"), KeyKeypadMinus);
    EXPECT_EQ(KeyNamed("ESC"), KeyEscape);
    EXPECT_EQ(KeyNamed("SPACE"), KeySpace);
    EXPECT_EQ(KeyNamed("down"), KeyDown);
    EXPECT_EQ(KeyNamed("MENU"), KeyApplication);
    EXPECT_EQ(KeyNamed(""), KeyNone);
}
