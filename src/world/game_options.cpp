#include "world/game_options.h"

#include <cctype>

bool StoreOptionValue(GameOptions& options, const OptionRange& range, int32_t value)
{
    bool accepted = value >= range.minimum && value <= range.maximum;
    options.*range.field = accepted ? value : range.replacement;
    return accepted;
}

int32_t ReadEditValue(const std::string& text)
{
    std::string edit = text.substr(0, 8);
    size_t i = 0;
    while (i < edit.size() && std::isspace(static_cast<unsigned char>(edit[i])))
        ++i;
    bool negative = false;
    if (i < edit.size() && (edit[i] == '+' || edit[i] == '-')) {
        negative = edit[i] == '-';
        ++i;
    }
    int64_t value = 0;
    while (i < edit.size() && std::isdigit(static_cast<unsigned char>(edit[i]))) {
        value = value * 10 + (edit[i] - '0');
        ++i;
    }
    return static_cast<int32_t>(negative ? -value : value);
}
