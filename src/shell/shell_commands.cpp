#include "shell/shell_commands.h"

#include <cctype>
#include <cstring>

namespace {

constexpr MenuItem MainMenuItems[] = {
    {"&Pause\tP", CommandPause},
    {nullptr, CommandNone},
    {"Start menu\tF2", CommandStartMenu},
    {"&Change device...\tF3", CommandChangeDevice},
    {"Toggle framerate \tF5", CommandToggleFrameRate},
    {"&Toggle View\tF9", CommandToggleView},
    {"Toggle Fullscreen \tAlt-Enter", CommandToggleFullScreen},
    {nullptr, CommandNone},
    {"E&xit\tAlt-F4", CommandExit},
};

constexpr MenuItem HelpMenuItems[] = {
    {"&Helpfile\tF1", CommandHelp},
    {nullptr, CommandNone},
    {"&About\tA", CommandAbout},
};

constexpr MenuDefinition MenuBarMenus[] = {
    {"&Menu", MainMenuItems},
    {"&Help", HelpMenuItems},
};

constexpr MenuItem PopupMenuItems[] = {
    {"&Pause\tP", CommandPause},
    {nullptr, CommandNone},
    {"&Start menu\tF2", CommandStartMenu},
    {"&Change device... \tF3", CommandChangeDevice},
    {"Toggle framerate \tF5", CommandToggleFrameRate},
    {"&Toggle View\tF9", CommandToggleView},
    {"Toggle fullscreen \t Alt-Enter", CommandToggleFullScreen},
    {nullptr, CommandNone},
    {"E&xit \tAlt-F4", CommandExit},
};

constexpr Accelerator Accelerators[] = {
    {'A', ModifierNone, CommandAbout},
    {'P', ModifierNone, CommandPause},
    {'P', ModifierShift, CommandPause},
    {KeyEscape, ModifierNone, CommandStartMenu},
    {KeyF1, ModifierNone, CommandHelp},
    {KeyF2, ModifierNone, CommandStartMenu},
    {KeyF3, ModifierNone, CommandChangeDevice},
    {KeyF4, ModifierAlt, CommandExit},
    {KeyF5, ModifierNone, CommandToggleFrameRate},
    {KeyF9, ModifierNone, CommandToggleView},
    {KeyReturn, ModifierAlt, CommandToggleFullScreen},
};

// Copies text[begin, end) without "&" and without the spaces at either end.
void CopyTrimmed(char* out, size_t size, const char* begin, const char* end)
{
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
    size_t length = 0;
    for (const char* c = begin; c < end && length + 1 < size; ++c) {
        if (*c != '&')
            out[length++] = *c;
    }
    out[length] = '\0';
}

}  // namespace

std::span<const MenuDefinition> MenuBar()
{
    return MenuBarMenus;
}

std::span<const MenuItem> PopupMenu()
{
    return PopupMenuItems;
}

std::span<const Accelerator> AcceleratorTable()
{
    return Accelerators;
}

int32_t TranslateAccelerator(int32_t key, uint32_t modifiers)
{
    for (const Accelerator& accelerator : Accelerators) {
        if (accelerator.key == key && accelerator.modifiers == modifiers)
            return accelerator.command;
    }
    return CommandNone;
}

MenuLabel SplitMenuText(const char* text)
{
    MenuLabel label = {};
    if (text == nullptr)
        return label;
    const char* tab = std::strchr(text, '\t');
    const char* end = text + std::strlen(text);
    CopyTrimmed(label.label, sizeof label.label, text, tab != nullptr ? tab : end);
    if (tab != nullptr)
        CopyTrimmed(label.shortcut, sizeof label.shortcut, tab + 1, end);
    const char* ampersand = std::strchr(text, '&');
    if (ampersand != nullptr && (tab == nullptr || ampersand < tab))
        label.mnemonic = std::toupper(static_cast<unsigned char>(ampersand[1]));
    return label;
}
