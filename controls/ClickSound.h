#pragma once
// The click a bar plays on every value change while its Sound switch is on. The controls do not
// know the MIDI layer: the application installs the MIDI click at start-up; until then (and in
// tests) the click is silent.

#include <functional>

using ClickSoundFn = std::function<void(float distance, float range)>;

// Installs the click; an empty function makes the click silent again.
void SetClickSound(ClickSoundFn fn);

// Plays the click for a value at `distance` from the bar's base on a bar spanning `range`.
// Whatever the installed click throws reaches the caller.
void PlayBarClick(float distance, float range);
