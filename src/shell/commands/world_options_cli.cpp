#include "shell/commands/world_options_cli.h"

#include <optional>
#include <string>

void AddWorldOptions(CLI::App& command, WorldOptionsInput& input)
{
    command.add_option_function<std::string>(
        "--scenery", [&input](const std::string& text) { input.scenery = text; },
        "1..5 for a preset line, random or custom (also 6, 7)");

    const char* descriptions[5] = {
        "length of the line in km (5..100, else 100)",
        "distance between meeting stations in km (2..10, else 2)",
        "share of curves in percent (0..80, else 20; custom scenery)",
        "share of villages in percent (0..20, else 20; custom scenery)",
        "amount of forest (0..5, else 5; custom scenery)",
    };
    for (size_t i = 0; i < input.editedValues.size(); ++i) {
        std::optional<std::string>* value = &input.editedValues[i];
        command.add_option_function<std::string>(
            std::string("--") + EditedOptionRanges[i].name,
            [value](const std::string& text) { *value = text; }, descriptions[i]);
    }

    command.add_option_function<std::string>(
        "--relief", [&input](const std::string& text) { input.relief = text; },
        "lowest and highest height of the land beside the track in metres, MIN..MAX (random or custom "
        "scenery)");
    command.add_option_function<std::string>(
        "--sound", [&input](const std::string& text) { input.sound = text; }, "off, automatic or electric");
    command.add_option_function<std::string>(
        "--seed", [&input](const std::string& text) { input.seed = text; },
        "number that stands for the clock reading the generator is seeded with (0..2147483647), "
        "so that a random or custom line can be built again");
}
