#include "editor/EffectSlotOf.h"

const EffectSlot& EffectSlotOf(const EffectTypeInfo& type, int slot) {
    return type.parameters.at(static_cast<std::size_t>(slot - 1));
}
