#pragma once
// SDL shows a message box on X from a child process of its own: a copy of the game made with
// fork(), which keeps the box's locale away from the game's and which the game waits for until
// OK is pressed. That copy inherits SDL's signal handlers, which turn SIGTERM and SIGINT into a
// quit event nobody reads, and nothing ends it when the game ends: killed while a box was up,
// the game left the box on the screen and its process running. These two keep the box's process
// from outliving the game.

#include <csignal>

// From now on every copy the game forks dies with the game, and takes SIGTERM and SIGINT as any
// program does. Called once, before the first box can open.
void TieForkedCopiesToTheGame();

// While one of these lives, SIGTERM and SIGINT end the game at once, as they would any program:
// the game waits inside a box and could not end in order meanwhile, and its box ends with it.
// Its end gives the signals back to SDL, which ends the game in order.
class SignalsEndTheGameAtOnce {
public:
    SignalsEndTheGameAtOnce();
    ~SignalsEndTheGameAtOnce();
    SignalsEndTheGameAtOnce(const SignalsEndTheGameAtOnce&) = delete;
    SignalsEndTheGameAtOnce& operator=(const SignalsEndTheGameAtOnce&) = delete;

private:
    struct sigaction savedTerminate_ = {};
    struct sigaction savedInterrupt_ = {};
};
