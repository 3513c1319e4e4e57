#include "cli/Interrupt.h"

#include <csignal>

namespace {
volatile std::sig_atomic_t interrupted = 0;

extern "C" void raiseFlag(int) {
    interrupted = 1;
}
} // namespace

void CatchInterrupt() {
    struct sigaction action {};
    action.sa_handler = raiseFlag;
    action.sa_flags = SA_RESETHAND; // the next Ctrl+C is the system's
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

void ThrowIfInterrupted() {
    if (!interrupted) return;
    interrupted = 0;
    throw EInterrupted();
}
