// The program's entry point: one line per subcommand.

#include "shell/commands/command_drive.h"
#include "shell/commands/command_play.h"
#include "shell/commands/commands.h"
#include "shell/commands/render_commands.h"

int main(int argc, char** argv)
{
    CLI::App app;
    SetUpCommandLine(app);
    AddRouteCommand(app);
    AddBenchCommand(app);
    AddRenderCommands(app);
    AddDriveCommand(app);
    AddPlayCommand(app);
    return RunCommandLine(app, argc, argv);
}
