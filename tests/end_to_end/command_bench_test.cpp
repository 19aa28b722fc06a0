#include "run_tagvind.h"

TEST(CommandBench, EachBenchRunsTheLineItNames)
{
    // The 10 km line of scenery 1 with meeting stations every 3 km has 58 segments, 39 ground
    // strips and 10 events.
    TagvindRun world = RunTagvind("bench world --builds 1 --scenery 1 --length 10 --meeting 3");
    ASSERT_EQ(world.status, 0) << world.err;
    EXPECT_NE(world.out.find("scenery 1, 10 km, meeting stations every 3 km: 1 builds"), std::string::npos) << world.out;
    EXPECT_NE(world.out.find(" 58 segments, 39 strips, 10 events\n"), std::string::npos) << world.out;
    TagvindRun drive = RunTagvind("bench drive --runs 1 --length 5");
    ASSERT_EQ(drive.status, 0) << drive.err;
    EXPECT_NE(drive.out.find("(destination reached)"), std::string::npos) << drive.out;
}
