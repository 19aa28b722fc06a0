#include <optional>

#include "run_tagvind.h"
#include "shell/command_numbers.h"

TEST(CommandNumbers, OnlyPlainNumbersWithinTheRangeAreTaken)
{
    constexpr WholeNumberRule RunsRule = {"--runs", "a whole number of runs", 1, 100};
    constexpr DecimalNumberRule SecondsRule = {"--drive", "a number of seconds", 0.0, 21600.0};
    const std::optional<int64_t> no;
    struct Case {
        const char* text;
        std::optional<int64_t> runs;
        std::optional<double> seconds;
    } cases[] = {
        {"7", 7, 7.0},     {"007", 7, 7.0},        {"100", 100, 100.0}, {"101", no, 101.0},     {"0", no, 0.0},
        {"1.5", no, 1.5},  {".5", no, 0.5},        {"21600", no, 21600.0}, {"21600.5", no, no}, {"-1", no, no},
        {"+5", no, no},    {" 5", no, no},         {"5 ", no, no},      {"5s", no, no},         {"0x10", no, no},
        {"1e3", no, no},   {"nan", no, no},        {"inf", no, no},     {"1.2.3", no, no},      {".", no, no},
        {"-", no, no},     {"", no, no},           {"18446744073709551617", no, no},
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
        int32_t width, height;  // 0: refused
    } sizes[] = {
        {"640x480", 640, 480}, {"16X16384", 16, 16384}, {"4294967396x100", 0, 0}, {"100x4294967312", 0, 0},
        {" 100x100", 0, 0},    {"100x 100", 0, 0},      {"+100x+100", 0, 0},      {"100x100 ", 0, 0},
        {"100x100x100", 0, 0}, {"100x", 0, 0},          {"x100", 0, 0},           {"15x100", 0, 0},
        {"100x16385", 0, 0},   {"100x-100", 0, 0},      {"0x10", 0, 0},           {"wide", 0, 0},
    };
    for (const SizeCase& c : sizes) {
        std::ostringstream err;
        std::optional<PictureSize> size =
            ReadPictureSizeOption("--size", c.text, SmallestPictureSide, LargestPictureSide, err);
        EXPECT_EQ(size ? std::pair(size->width, size->height) : std::pair(0, 0), std::pair(c.width, c.height)) << c.text;
        EXPECT_EQ(err.str().empty(), c.width != 0) << c.text;
    }
}

TEST(CommandLine, EveryCommandRefusesAMistakeSayingWhatItExpectsAndNothingElse)
{
    const std::string missing = "/nonexistent/missing.jsonl";
    // Every message begins "tagvind: "; one that ends a line is all of standard error, any other
    // begins it.
    struct Case {
        std::string arguments;
        int status;
        std::string message;
    } cases[] = {
        {"route --seed 2147483648", 2, "--seed expects a whole number from 0 to 2147483647, not '2147483648'\n"},
        {"shot --drive 0x10 --png x.png", 2, "--drive expects a number of seconds from 0 to 21600, not '0x10'\n"},
        {"shot --size 4294967396x100 --png x.png", 2,
         "--size expects WIDTHxHEIGHT, each side from 16 to 16384, not '4294967396x100'\n"},
        {"shot --view above --png x.png", 2, "--view"},
        {"shot --size 160x120", 2, "--png is required"},
        {"drive --step nan", 2, "--step expects a number of seconds from 0.001 to 1, not 'nan'\n"},
        {"drive --max-minutes 100000", 2,
         "--max-minutes expects a number of game minutes from 0 to 1440, not '100000'\n"},
        {"drive --length 5 --controls '" + missing + "'", 1, "cannot read the controls file '" + missing + "'"},
        {"drive --autopilot --controls '" + missing + "'", 2, "--autopilot excludes --controls"},
        {"bench", 2, "A subcommand is required"},
        {"bench world --builds 0x10", 2, "--builds expects a whole number of builds from 1 to 10000, not '0x10'\n"},
        {"bench drive --step nan", 2, "--step expects a number of seconds from 0.001 to 1, not 'nan'\n"},
        {"bench drive --runs 1e2", 2, "--runs expects a whole number of runs from 1 to 100, not '1e2'\n"},
        {"bench scene --frames -1", 2, "--frames expects a whole number of frames from 1 to 10000, not '-1'\n"},
        {"play --quit-after inf", 2, "--quit-after expects a number of seconds from 0.001 to 604800, not 'inf'\n"},
        {"play --window 50x50", 2, "--window expects WIDTHxHEIGHT, each side from 100 to 16384, not '50x50'\n"},
        {"play --fixed-frame-ms 16.5", 2,
         "--fixed-frame-ms expects a whole number of milliseconds from 1 to 1000, not '16.5'\n"},
        {"play --scenery 9", 2, "--scenery expects 1 to 5, random or custom (or 6, 7), not '9'\n"},
    };
    for (const Case& c : cases) {
        TagvindRun run = RunTagvind(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        std::string message = "tagvind: " + c.message;
        EXPECT_EQ(message.back() == '\n' ? run.err : run.err.substr(0, message.size()), message) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
    }
}
