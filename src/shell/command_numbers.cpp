#include "shell/command_numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits and nothing else.
std::optional<int64_t> ReadDigits(std::string_view text)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit))
        return std::nullopt;
    int64_t value = 0;
    std::from_chars_result read = std::from_chars(text.data(), text.data() + text.size(), value);
    if (read.ec == std::errc::result_out_of_range)
        return INT64_MAX;
    return value;
}

}  // namespace

std::optional<int64_t> ReadWholeNumber(std::string_view text)
{
    bool negative = !text.empty() && text.front() == '-';
    std::optional<int64_t> digits = ReadDigits(negative ? text.substr(1) : text);
    if (!digits)
        return std::nullopt;
    return negative ? -*digits : *digits;
}

std::optional<double> ReadDecimalNumber(std::string_view text)
{
    // In the fixed format from_chars takes no exponent, no hexadecimal, no plus sign and no
    // spaces, and whatever it leaves unread makes the text no number; of what it does read,
    // nan and infinity remain to be refused.
    double value = 0.0;
    std::from_chars_result read =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (read.ec != std::errc() || read.ptr != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int64_t> ReadWholeOption(const WholeNumberRule& rule, std::string_view text, std::ostream& err)
{
    std::optional<int64_t> number = ReadWholeNumber(text);
    if (!number || *number < rule.lowest || *number > rule.highest) {
        err << "tagvind: " << rule.option << " expects " << rule.meaning << " from " << rule.lowest << " to "
            << rule.highest << ", not '" << text << "'\n";
        return std::nullopt;
    }
    return number;
}

std::optional<double> ReadDecimalOption(const DecimalNumberRule& rule, std::string_view text, std::ostream& err)
{
    std::optional<double> number = ReadDecimalNumber(text);
    if (!number || *number < rule.lowest || *number > rule.highest) {
        err << "tagvind: " << rule.option << " expects " << rule.meaning << " from " << rule.lowest << " to "
            << rule.highest << ", not '" << text << "'\n";
        return std::nullopt;
    }
    return number;
}

std::optional<PictureSize> ReadPictureSizeOption(const char* option, std::string_view text, int32_t smallestSide,
                                                 int32_t largestSide, std::ostream& err)
{
    size_t cross = text.find_first_of("xX");
    std::optional<int64_t> width = cross == std::string_view::npos ? std::nullopt : ReadDigits(text.substr(0, cross));
    std::optional<int64_t> height =
        cross == std::string_view::npos ? std::nullopt : ReadDigits(text.substr(cross + 1));
    if (!width || !height || *width < smallestSide || *width > largestSide || *height < smallestSide ||
        *height > largestSide) {
        err << "tagvind: " << option << " expects WIDTHxHEIGHT, each side from " << smallestSide << " to "
            << largestSide << ", not '" << text << "'\n";
        return std::nullopt;
    }
    return PictureSize{static_cast<int32_t>(*width), static_cast<int32_t>(*height)};
}
