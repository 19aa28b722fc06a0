// The program's entry point: one line per subcommand.

#include <csignal>

#include "shell/commands/command_drive.h"
#include "shell/commands/command_play.h"
#include "shell/commands/commands.h"
#include "shell/commands/render_commands.h"

int main(int argc, char** argv)
{
    // A reader that goes away (`tagvind route --json - | head`) makes a write fail, which the
    // command reports, rather than ending the program without a word.
    std::signal(SIGPIPE, SIG_IGN);
    CLI::App app;
    SetUpCommandLine(app);
    AddRouteCommand(app);
    AddBenchCommand(app);
    AddRenderCommands(app);
    AddDriveCommand(app);
    AddPlayCommand(app);
    return RunCommandLine(app, argc, argv);
}
