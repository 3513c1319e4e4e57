#pragma once
// Ctrl+C during a transfer or a library import. The signal only raises a flag; the transfer
// looks at it before each patch (the import before each file) and ends as it does on an error,
// so its ports are closed on the way out and no file is written. A second Ctrl+C ends the
// program at once. Commands that never look at the flag do not catch the signal, so Ctrl+C
// ends them at once.

#include <stdexcept>

class EInterrupted : public std::runtime_error {
public:
    EInterrupted() : std::runtime_error("Interrupted.") {}
};

// SIGINT raises the flag from now on, once.
void CatchInterrupt();
// Raises EInterrupted when the flag is up, and lowers it.
void ThrowIfInterrupted();
