#pragma once
// Xlib answers an error of the display protocol by printing the request that failed and ending
// the process. A broken OpenGL driver makes GLX refuse a context that way, deep inside SDL's
// window creation, and the player would see neither the game's message box nor a reason. The
// game catches those errors instead: the call that caused one fails by its own result, and the
// error's words are kept for the box that says what failed.

#include <string>

// Catches display errors for the rest of the program run. Called before SDL's video starts:
// SDL keeps the handler it finds and hands the errors it does not expect on to it.
void CatchDisplayErrors();

// The first display error caught since the last call, as Xlib words it, e.g. "BadValue (integer
// parameter out of range for operation) in request 150.3"; "" when none came.
std::string TakeDisplayError();
