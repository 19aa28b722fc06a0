#include <string>

#include "shell/commands/commands.h"

void SetUpCommandLine(CLI::App& app)
{
    app.name("tagvind");
    app.description("Tagvind: drive a railcar along a line built anew for every run.");
    app.require_subcommand(0, 1);
    // The build hands over the version it gives the project, so the two cannot drift apart.
    app.set_version_flag("--version", "Tagvind " TAGVIND_VERSION, "Print the game's version and exit");
    app.failure_message([](const CLI::App* command, const CLI::Error& error) {
        std::string name = command->get_name().empty() ? "tagvind" : command->get_name();
        return "tagvind: " + std::string(error.what()) + "\nRun '" + name + " --help' for the options.\n";
    });
}

int RunCommandLine(CLI::App& app, int argc, char** argv)
{
    try {
        app.parse(argc, argv);
    } catch (const CLI::RuntimeError& failure) {
        return failure.get_exit_code();
    } catch (const CLI::ParseError& error) {
        // Help prints and succeeds; every other parse error is a mistake on the command line.
        return app.exit(error) == ExitSuccess ? ExitSuccess : ExitUsage;
    }
    if (app.get_subcommands().empty())
        return RunDefaultCommand();
    return ExitSuccess;
}
