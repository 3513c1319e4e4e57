#include "base/Dialogs.h"

#include "base/RecordingDialogs.h"

namespace {
// Until the application installs its own, prompts are recorded and answered "No"/cancel,
// which is what a program without windows (the command-line tool) wants.
RecordingDialogs& fallback() {
    static RecordingDialogs dialogs;
    return dialogs;
}
Dialogs* current = nullptr;
} // namespace

Dialogs& Prompts() {
    return current ? *current : fallback();
}
void SetPrompts(Dialogs* dialogs) {
    current = dialogs;
}

ScopedPrompts::ScopedPrompts(Dialogs& dialogs) : previous_(current) {
    current = &dialogs;
}
ScopedPrompts::~ScopedPrompts() {
    current = previous_;
}
