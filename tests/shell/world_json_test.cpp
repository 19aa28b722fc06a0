#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "shell/world_json.h"

namespace {

uint32_t FloatBits(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace

TEST(WorldJson, FloatsReadBackAsTheSameFloatThroughADoubleReader)
{
    const float values[] = {
        0.1f,
        1.0f / 3.0f,
        3.1416f,
        -0.062832f,
        -1.97327f,
        225.58f,
        16777215.0f,
        16777216.0f,
        std::nextafter(1.0f, 2.0f),
        std::nextafter(100.0f, 0.0f),
        FLT_MIN,
        std::numeric_limits<float>::denorm_min(),
        FLT_MAX,
        -0.0f,
    };
    WorldJson json = {{"values", WorldJson::array()}};
    for (float value : values)
        json["values"].push_back(value);

    nlohmann::json parsed = nlohmann::json::parse(FormatWorldJson(json));
    ASSERT_EQ(parsed["values"].size(), std::size(values));
    for (size_t i = 0; i < std::size(values); ++i) {
        float back = static_cast<float>(parsed["values"][i].get<double>());
        EXPECT_EQ(FloatBits(back), FloatBits(values[i])) << "value " << values[i];
    }
    // The shortest text that reads back: a float is not widened to its double digits.
    EXPECT_EQ(WorldJson(0.1f).dump(), "0.1");
}

TEST(WorldJson, LayoutPutsEachKeyAndEachRecordOnItsOwnLine)
{
    WorldJson json = {
        {"format", WorldJsonFormat},
        {"options", {{"scenery", 1}, {"totalLengthKm", 10}}},
        {"groundNoise", {0.5f, 0.25f}},
        {"plan", {{{"type", 4}, {"length", 0.0f}}, {{"type", 1}, {"length", 300.0f}}}},
        {"events", WorldJson::array()},
        {"modelLibrary", {{"vertices", 3}, {"models", {{{"type", 1}}, {{"type", 10}}}}}},
    };
    std::string text = FormatWorldJson(json);

    EXPECT_EQ(Lines(text), (std::vector<std::string>{
                               "{",
                               "  \"format\": \"tagvind-world-1\",",
                               "  \"options\": {\"scenery\":1,\"totalLengthKm\":10},",
                               "  \"groundNoise\": [0.5,0.25],",
                               "  \"plan\": [",
                               "    {\"type\":4,\"length\":0.0},",
                               "    {\"type\":1,\"length\":300.0}",
                               "  ],",
                               "  \"events\": [],",
                               "  \"modelLibrary\": {",
                               "    \"vertices\": 3,",
                               "    \"models\": [",
                               "      {\"type\":1},",
                               "      {\"type\":10}",
                               "    ]",
                               "  }",
                               "}",
                           }));
    EXPECT_EQ(WorldJson::parse(text), json);
}
