#pragma once
// The world options of a command line, parsed and resolved as the program reads them.

#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "shell/commands/world_options_cli.h"
#include "shell/world_options.h"

struct ResolvedOptions {
    bool ok = false;
    GameOptions options;
    uint32_t seed = 0;
    std::string notices;
};

inline ResolvedOptions ResolveArguments(std::vector<std::string> arguments)
{
    CLI::App command;
    WorldOptionsInput input;
    AddWorldOptions(command, input);
    std::reverse(arguments.begin(), arguments.end());  // CLI11 takes the vector back to front
    command.parse(arguments);
    ResolvedOptions resolved;
    std::ostringstream notices;
    resolved.ok = ResolveWorldOptions(input, resolved.options, resolved.seed, notices);
    resolved.notices = notices.str();
    return resolved;
}

// A whole line such as "tagvind play --scenery 3 --seed 9 ...".
inline ResolvedOptions ResolveCommandLine(const std::string& line)
{
    std::istringstream words(line);
    std::vector<std::string> arguments(std::istream_iterator<std::string>(words), {});
    arguments.erase(arguments.begin(), arguments.begin() + std::min<std::ptrdiff_t>(2, std::ssize(arguments)));
    return ResolveArguments(arguments);
}

// What a build reads of the options: a preset sets curves, villages, forest and relief itself.
inline std::vector<int32_t> BuiltValues(const GameOptions& o)
{
    if (o.scenery >= 1 && o.scenery <= 5)
        return {o.scenery, o.totalLengthKm, o.meetingDistanceKm};
    return {o.scenery, o.totalLengthKm, o.meetingDistanceKm, o.curvesPercent, o.villagesPercent, o.forestLevel,
            o.reliefMin, o.reliefMax};
}
