#include "editor/EffectSlotOf.h"

const EffectSlot& EffectSlotOf(const EffectTypeInfo& type, int slot) {
    return type.slots.at(static_cast<std::size_t>(slot - 1));
}
