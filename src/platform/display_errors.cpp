#include "platform/display_errors.h"

#include <X11/Xlib.h>

#include <cstdio>

namespace {

// Xlib calls the handler with no room for a pointer of ours, so what it caught waits here for
// TakeDisplayError. Only the first error of a failure is kept: the ones after it are its echoes.
char firstError[200];
bool errorCaught = false;

// A handler may make no request of the display: the words come from Xlib's own tables, and the
// request is named by its numbers (an extension's major code, then its minor one).
int KeepDisplayError(Display* display, XErrorEvent* error)
{
    if (errorCaught)
        return 0;
    char words[120] = {};
    XGetErrorText(display, error->error_code, words, sizeof words);
    std::snprintf(firstError, sizeof firstError, "%s in request %u.%u", words,
                  static_cast<unsigned>(error->request_code), static_cast<unsigned>(error->minor_code));
    errorCaught = true;
    return 0;
}

}  // namespace

void CatchDisplayErrors()
{
    XSetErrorHandler(KeepDisplayError);
}

std::string TakeDisplayError()
{
    std::string taken = errorCaught ? firstError : "";
    errorCaught = false;
    return taken;
}
