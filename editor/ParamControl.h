#pragma once
// One parameter of the Common, Tone and Effects pages and the control(s) that show it, with
// the load and store between the controls and the patch bytes by the parameter's coding.

#include "gr33/Catalogue.h"
#include "gr33/Patch.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class TFrameOnepack;
class TFrameSixCheck;
class TFrameSixpack;

struct ParamControl {
    const ParameterInfo* info = nullptr;
    // Exactly one kind of control is set, matching info->control.
    QLineEdit* name = nullptr;
    TFrameOnepack* number = nullptr;
    TFrameSixpack* numbers = nullptr;
    TFrameSixCheck* checks = nullptr;
    QCheckBox* check = nullptr;
    // A drop-down list in lists[0]; the per-string lists hold string k at index k - 1.
    std::array<QComboBox*, StringCount> lists{};
};

// Sets the control(s) from the bytes. A list whose byte (or pair) lies beyond its entries shows
// no selection; a number whose coded value lies outside the field's range shows the nearest
// end; a flag byte other than 0 shows as on. Setting a list does not run its change handler.
void LoadParamControl(const ParamControl& control, const PatchBytes& bytes);

// Writes the control's coded value into the target where it differs from the target's bytes,
// and then sets changed. A list showing no selection leaves its byte (or pair) alone.
void StoreParamControl(const ParamControl& control, TPatch& target, bool& changed);
