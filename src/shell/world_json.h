#pragma once
// The built world as JSON (format "tagvind-world-1"), for comparing builds and for tools.
// Every 32-bit float is written so that reading it back gives the same float.

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

struct GameOptions;
struct World;

// Keys keep the order they were written in, and numbers with a fraction are single precision,
// so that the text of a float is the shortest that reads back as that float.
using WorldJson = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t,
                                       std::uint64_t, float>;

constexpr const char* WorldJsonFormat = "tagvind-world-1";

// The world's tables as far as the last build filled them; options are those after the build.
WorldJson WorldToJson(const World& world, const GameOptions& options);

// The text of a dump: one key of the top level per line, and one record per line in the lists
// of records, so that two dumps compare line by line.
std::string FormatWorldJson(const WorldJson& json);
