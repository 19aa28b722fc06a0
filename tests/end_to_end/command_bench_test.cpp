#include <gtest/gtest.h>

#include <string>

#include "run_tagvind.h"

TEST(CommandBench, WorldBenchPrintsItsFigures)
{
    TagvindRun run = RunTagvind("bench world --builds 2 --length 5");
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* figure : {"2 builds", "median", "min", "max", "sizeof(World)"})
        EXPECT_NE(run.out.find(figure), std::string::npos) << figure << " in:\n" << run.out;

    EXPECT_EQ(RunTagvind("bench world --builds 0").status, 2);
    EXPECT_EQ(RunTagvind("bench world --length x").status, 2);
    EXPECT_EQ(RunTagvind("bench").status, 2);
}
