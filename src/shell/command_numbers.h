#pragma once
// Numbers typed on the command line, read strictly and the same way by every command: a whole
// number is digits, with a leading minus only where the option allows one; a decimal number is
// digits with at most one point. No plus sign, no spaces, no hexadecimal, no exponent, nothing
// after the number, never nan or infinity. `--drive 0x10` or `--size 4294967396x100` is the
// same mistake everywhere, and is said to be one.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string_view>

// An option that takes a whole number: what the number counts and the range it must lie in,
// for the message when it does not ("--runs expects a whole number of runs from 1 to 100").
struct WholeNumberRule {
    const char* option;   // "--runs"
    const char* meaning;  // "a whole number of runs"
    int64_t lowest;
    int64_t highest;
};

// An option that takes a decimal number, as WholeNumberRule.
struct DecimalNumberRule {
    const char* option;   // "--drive"
    const char* meaning;  // "a number of seconds"
    double lowest;
    double highest;
};

// Digits with an optional leading minus. A value beyond what int64_t holds saturates there: it
// lies outside every option's range all the same, and a range check says so.
std::optional<int64_t> ReadWholeNumber(std::string_view text);

// Digits with at most one decimal point and an optional leading minus.
std::optional<double> ReadDecimalNumber(std::string_view text);

// The value of text under rule, or nothing after a line on err that says what the option
// expects: "tagvind: --drive expects a number of seconds from 0 to 21600, not 'abc'".
std::optional<int64_t> ReadWholeOption(const WholeNumberRule& rule, std::string_view text, std::ostream& err);
std::optional<double> ReadDecimalOption(const DecimalNumberRule& rule, std::string_view text, std::ostream& err);

// The sides a picture of ours may have: from a few texels up to what a graphics driver offers
// at most.
constexpr int32_t SmallestPictureSide = 16;
constexpr int32_t LargestPictureSide = 16384;

struct PictureSize {
    int32_t width;
    int32_t height;
};

// "WIDTHxHEIGHT" (or with a capital X), both sides digits only and from smallestSide to
// largestSide; otherwise nothing, after a line on err naming option and the bounds.
std::optional<PictureSize> ReadPictureSizeOption(const char* option, std::string_view text, int32_t smallestSide,
                                                 int32_t largestSide, std::ostream& err);
