#include "shell/help_contents.h"

#include "device/texture_store.h"

namespace {

// The sign's head, from the picture on the open device, at the height of a few lines of text.
constexpr float SignHeadShare = 0.4f;
constexpr float SignPictureHeight = 72.0f;

HelpLine SignLine(const TextureStore* store, const char* bitmap, const char* meaning)
{
    HelpLine line;
    line.text = meaning;
    if (store == nullptr)
        return line;
    int entry = FindTextureEntry(*store, bitmap);
    if (entry < 0)
        return line;
    const TextureEntry& texture = store->entries[static_cast<size_t>(entry)];
    if (texture.deviceTexture == 0 || texture.image.height <= 0)
        return line;
    line.texture = texture.deviceTexture;
    line.pictureShare = SignHeadShare;
    line.pictureHeight = SignPictureHeight;
    line.pictureWidth = SignPictureHeight * static_cast<float>(texture.image.width) /
                        (static_cast<float>(texture.image.height) * SignHeadShare);
    return line;
}

HelpLine Text(const char* text)
{
    HelpLine line;
    line.text = text;
    return line;
}

}  // namespace

std::vector<HelpSection> BuildHelpSections(const TextureStore* store)
{
    std::vector<HelpSection> sections;
    sections.push_back({"Driving",
                        {Text("You drive a diesel railcar from the starting station to the destination. The "
                              "line is single track: at meeting stations other trains wait for you, pass you "
                              "or make you wait at a red signal."),
                         Text("Opening this help pauses the game. Press any key other than those below to "
                              "drive on; the help stays open beside the game until you close it."),
                         Text("Keypad +: release the brake one step; with the brake released, open the "
                              "throttle one notch."),
                         Text("Keypad -: close the throttle one notch; with the throttle closed, brake one "
                              "step harder."),
                         Text("The two keys move one handle: from full brake (brake 1) through released "
                              "(N) to full power (notch 5) and back.")}});
    sections.push_back({"Levers",
                        {Text("Click the levers at the bottom corners of the cab view with the left mouse "
                              "button."),
                         Text("Brake lever (left): positions 1 (full brake) to 7, and N (released) at the "
                              "bottom. Clicking it anywhere above N also shuts off the power."),
                         Text("Throttle lever (right): notches 0 (no power) to 5 (full power). Taking a notch "
                              "from 1 up releases the brake."),
                         Text("A red brake knob means the brake is on; a green throttle knob means power is "
                              "on."),
                         Text("The readouts in the middle show your speed (white), the speed limit (green, "
                              "red when you are more than 5 km/h over it) and the limit announced ahead "
                              "(yellow).")}});
    sections.push_back({"Signals and signs",
                        {SignLine(store, "sign0001.bmp", "One green lamp: line speed; the limit becomes the "
                                                         "line's speed."),
                         SignLine(store, "sign0003.bmp", "Two green lamps: limit 40 km/h from here."),
                         SignLine(store, "sign0002.bmp", "Red lamp: stop. Passing it costs 1000 points and puts "
                                                         "the train back before it; wait until it clears."),
                         SignLine(store, "sign0011.bmp", "Distant signal, one green lamp blinking: expect stop "
                                                         "at the next signal."),
                         SignLine(store, "sign0012.bmp", "Distant signal, two green lamps blinking: expect 40 "
                                                         "km/h at the next signal."),
                         SignLine(store, "sign0013.bmp", "Distant signal, white lamp blinking: expect line "
                                                         "speed; the limit is raised here already."),
                         Text("The destination has no sign: the run ends when you reach it.")}});
    sections.push_back({"Score",
                        {Text("Every second within 5 km/h of the limit: +1 point."),
                         Text("Passing a limit sign within the limit: +100; 5 km/h or more over it: -100."),
                         Text("More than 5 km/h over the limit: -5 points a second, and -5 more each time the "
                              "warning appears."),
                         Text("Passing a red signal: -1000 points."),
                         Text("The score stays between -9999 and 9999 and is shown when you reach the "
                              "destination.")}});
    sections.push_back({"Views",
                        {Text("F9 switches between the cab view, with the dashboard, and the view from "
                              "behind and above the train. In a tunnel the cab view comes back."),
                         Text("F5 switches the top line between distance and score, and the frame rate.")}});
    sections.push_back({"Keys",
                        {Text("P: pause, and P again to drive on. Any other key also drives on."),
                         Text("S: engine sound on or off."),
                         Text("F2 or Esc: start menu (choose the next line, RESTART, or go back)."),
                         Text("F3: change the display device or mode."),
                         Text("F5: distance and score, or frame rate."),
                         Text("F9: cab view or outside view."),
                         Text("Alt+Enter: full screen or window."),
                         Text("F1: this help.   A: about Tagvind.   Alt+F4: exit."),
                         Text("T, F8, keypad 1-4, 6-9, * and / do nothing; keypad + and - drive."),
                         Text("Right-click the picture, or press Shift+F10 or the Menu key, for the menu in "
                              "the middle of the picture (it is the only menu in full screen).")}});
    sections.push_back({"Menus and dialogs from the keyboard",
                        {Text("Alt (pressed and released on its own) or F10: to the menu bar; Alt or F10 "
                              "again leaves it."),
                         Text("Alt+M opens Menu, Alt+H opens Help."),
                         Text("Arrows move through the menus, Enter or Space chooses, Esc closes the menu "
                              "(then Esc is the start menu again)."),
                         Text("In an open menu a line's letter chooses it: Pause P, Start menu S (in the "
                              "pop-up menu), Change device C, Toggle View T, Exit X, Helpfile H, About A."),
                         Text("In a dialog Tab moves between the controls and Shift+Tab back, Space presses "
                              "the one chosen, Enter presses START or OK, and Esc cancels (the first dialog "
                              "has nothing to cancel to).")}});
    sections.push_back({"Game controller",
                        {Text("D-pad up or right shoulder button: as keypad +. D-pad down or left shoulder "
                              "button: as keypad -."),
                         Text("Start: pause, as P. Back: cab view or outside view, as F9."),
                         Text("In an open menu or a dialog the D-pad moves and A chooses. A controller can be "
                              "plugged in while the game runs.")}});
    return sections;
}
