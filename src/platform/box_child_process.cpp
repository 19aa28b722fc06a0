#include "platform/box_child_process.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// Set in the game as it forks, so that the copy knows whom it belongs to; fork hands its own
// copy of it to the child.
pid_t forkingProcess = 0;

void NoteForkingProcess()
{
    forkingProcess = getpid();
}

// In the copy, right after the fork: only calls that are safe in a signal handler, which is all
// the copy of a process with threads may make.
void DieWithTheForkingProcess()
{
    struct sigaction defaultAction = {};
    defaultAction.sa_handler = SIG_DFL;
    sigaction(SIGTERM, &defaultAction, nullptr);
    sigaction(SIGINT, &defaultAction, nullptr);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The game may have ended between the fork and the line above, which then came too late.
    if (getppid() != forkingProcess)
        _exit(1);
}

}  // namespace

void TieForkedCopiesToTheGame()
{
    // Each registration would run the handlers once more at every fork.
    static bool tied = false;
    if (tied)
        return;
    pthread_atfork(NoteForkingProcess, nullptr, DieWithTheForkingProcess);
    tied = true;
}

SignalsEndTheGameAtOnce::SignalsEndTheGameAtOnce()
{
    struct sigaction defaultAction = {};
    defaultAction.sa_handler = SIG_DFL;
    sigaction(SIGTERM, &defaultAction, &savedTerminate_);
    sigaction(SIGINT, &defaultAction, &savedInterrupt_);
}

SignalsEndTheGameAtOnce::~SignalsEndTheGameAtOnce()
{
    sigaction(SIGTERM, &savedTerminate_, nullptr);
    sigaction(SIGINT, &savedInterrupt_, nullptr);
}
