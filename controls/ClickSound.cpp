#include "controls/ClickSound.h"

#include <utility>

namespace {
ClickSoundFn& InstalledClick() {
    static ClickSoundFn click;
    return click;
}
} // namespace

void SetClickSound(ClickSoundFn fn) {
    InstalledClick() = std::move(fn);
}

void PlayBarClick(float distance, float range) {
    if (const ClickSoundFn& click = InstalledClick()) click(distance, range);
}
