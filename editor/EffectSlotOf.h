#pragma once
// Slot access for the windows: the catalogue's member name "slots" is a keyword macro of Qt, so
// files that include Qt headers reach the slots through this Qt-free function.

#include "gr33/Catalogue.h"

// Slot 1..12 of the type.
const EffectSlot& EffectSlotOf(const EffectTypeInfo& type, int slot);
