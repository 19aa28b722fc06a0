#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

#include "run_tagvind.h"
#include "shell/command_numbers.h"

namespace {

constexpr WholeNumberRule RunsRule = {"--runs", "a whole number of runs", 1, 100};
constexpr DecimalNumberRule SecondsRule = {"--drive", "a number of seconds", 0.0, 21600.0};

}  // namespace

TEST(CommandNumbers, OnlyPlainNumbersWithinTheRangeAreTaken)
{
    struct Case {
        const char* text;
        std::optional<int64_t> runs;
        std::optional<double> seconds;
    } cases[] = {
        {"7", 7, 7.0},
        {"007", 7, 7.0},
        {"100", 100, 100.0},
        {"101", std::nullopt, 101.0},
        {"0", std::nullopt, 0.0},
        {"1.5", std::nullopt, 1.5},
        {".5", std::nullopt, 0.5},
        {"21600", std::nullopt, 21600.0},
        {"21600.5", std::nullopt, std::nullopt},
        {"-1", std::nullopt, std::nullopt},
        {"+5", std::nullopt, std::nullopt},
        {" 5", std::nullopt, std::nullopt},
        {"5 ", std::nullopt, std::nullopt},
        {"5s", std::nullopt, std::nullopt},
        {"0x10", std::nullopt, std::nullopt},
        {"1e3", std::nullopt, std::nullopt},
        {"nan", std::nullopt, std::nullopt},
        {"inf", std::nullopt, std::nullopt},
        {"1.2.3", std::nullopt, std::nullopt},
        {".", std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"18446744073709551617", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        std::ostringstream err;
        EXPECT_EQ(ReadWholeOption(RunsRule, c.text, err), c.runs) << "'" << c.text << "'";
        EXPECT_EQ(ReadDecimalOption(SecondsRule, c.text, err), c.seconds) << "'" << c.text << "'";
    }
    EXPECT_EQ(ReadWholeNumber("-40"), -40);
    EXPECT_EQ(ReadWholeNumber("-18446744073709551617"), -INT64_MAX) << "saturates, for the range to refuse";

    struct SizeCase {
        const char* text;
        int32_t width;  // 0: refused
        int32_t height;
    } sizes[] = {
        {"640x480", 640, 480},         {"16X16384", 16, 16384},  {"4294967396x100", 0, 0}, {"100x4294967312", 0, 0},
        {" 100x100", 0, 0},            {"100x 100", 0, 0},       {"+100x+100", 0, 0},      {"100x100 ", 0, 0},
        {"100x100x100", 0, 0},         {"100x", 0, 0},           {"x100", 0, 0},           {"15x100", 0, 0},
        {"100x16385", 0, 0},           {"100x-100", 0, 0},       {"0x10", 0, 0},           {"wide", 0, 0},
    };
    for (const SizeCase& c : sizes) {
        std::ostringstream err;
        std::optional<PictureSize> size =
            ReadPictureSizeOption("--size", c.text, SmallestPictureSide, LargestPictureSide, err);
        EXPECT_EQ(size.has_value(), c.width != 0) << "'" << c.text << "'";
        if (size && c.width != 0) {
            EXPECT_EQ(size->width, c.width) << c.text;
            EXPECT_EQ(size->height, c.height) << c.text;
        }
        EXPECT_EQ(err.str().empty(), c.width != 0) << c.text;
    }
}

TEST(CommandNumbers, EveryCommandRefusesABadNumberSayingWhatItExpects)
{
    struct Case {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"route --seed 2147483648", "tagvind: --seed expects a whole number from 0 to 2147483647, not '2147483648'\n"},
        {"shot --drive 0x10 --png x.png", "tagvind: --drive expects a number of seconds from 0 to 21600, not '0x10'\n"},
        {"shot --size 4294967396x100 --png x.png",
         "tagvind: --size expects WIDTHxHEIGHT, each side from 16 to 16384, not '4294967396x100'\n"},
        {"drive --step nan", "tagvind: --step expects a number of seconds from 0.001 to 1, not 'nan'\n"},
        {"drive --max-minutes 100000",
         "tagvind: --max-minutes expects a number of game minutes from 0 to 1440, not '100000'\n"},
        {"bench drive --step nan", "tagvind: --step expects a number of seconds from 0.001 to 1, not 'nan'\n"},
        {"bench drive --runs 1e2", "tagvind: --runs expects a whole number of runs from 1 to 100, not '1e2'\n"},
        {"bench world --builds 0x10", "tagvind: --builds expects a whole number of builds from 1 to 10000, not '0x10'\n"},
        {"bench scene --frames -1", "tagvind: --frames expects a whole number of frames from 1 to 10000, not '-1'\n"},
        {"play --quit-after inf", "tagvind: --quit-after expects a number of seconds from 0.001 to 604800, not 'inf'\n"},
        {"play --window +300x+300",
         "tagvind: --window expects WIDTHxHEIGHT, each side from 100 to 16384, not '+300x+300'\n"},
        {"play --fixed-frame-ms 16.5",
         "tagvind: --fixed-frame-ms expects a whole number of milliseconds from 1 to 1000, not '16.5'\n"},
    };
    for (const Case& c : cases) {
        TagvindRun run = RunTagvind(c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.err, c.message) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
    }
}
