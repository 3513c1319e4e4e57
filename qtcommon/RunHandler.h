#pragma once
// Every window handler runs its body through RunHandler: an error ends the command and its text
// is shown in a message box (with the full-stop rule), so no exception crosses the event loop.

#include <functional>

// Runs body; returns false when it ended with an error (already shown to the user).
bool RunHandler(const std::function<void()>& body);
