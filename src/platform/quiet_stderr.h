#pragma once
// The C libraries under the platform layer (ALSA, the Wayland and X clients) print their own
// complaints to the standard error stream while SDL probes for a sound card or a display, and
// on a machine without one that is a screenful of lines the player cannot act on. The game says
// in its own words what it does instead, so those lines are held back while such a probe runs.

// While one of these lives, file descriptor 2 points at /dev/null; its end puts the stream back
// where it was. Only for the span of a library call: a message of the game's own written
// meanwhile would be lost too.
class QuietStandardError {
public:
    QuietStandardError();
    ~QuietStandardError();
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int savedStream_ = -1;  // a copy of the real stream, or -1 when nothing was redirected
};
