#include "platform/quiet_stderr.h"

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

QuietStandardError::QuietStandardError()
{
    // Whatever was written before the probe still belongs on the real stream.
    std::fflush(stderr);
    int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nowhere < 0)
        return;
    savedStream_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (savedStream_ >= 0 && dup2(nowhere, STDERR_FILENO) < 0) {
        close(savedStream_);
        savedStream_ = -1;
    }
    close(nowhere);
}

QuietStandardError::~QuietStandardError()
{
    if (savedStream_ < 0)
        return;
    std::fflush(stderr);
    dup2(savedStream_, STDERR_FILENO);
    close(savedStream_);
}
