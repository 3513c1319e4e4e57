#include "editor/ParamControl.h"

#include "editor/OnePack.h"
#include "editor/SixCheck.h"
#include "editor/SixPack.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

namespace {

void storeByte(TPatch& target, int index, int value, bool& changed) {
    const auto byte = static_cast<std::uint8_t>(value);
    if (target.Data()[index] != byte) {
        target.Data()[index] = byte;
        changed = true;
    }
}

void storePair(TPatch& target, int index, int value, bool& changed) {
    if (PairToValue(target.Data() + index) != value) {
        ValueToPair(value, target.Data() + index);
        changed = true;
    }
}

void loadList(QComboBox* list, int raw) {
    list->setCurrentIndex(raw >= 0 && raw < list->count() ? raw : -1);
}

// Stores a list's position into its byte or pair; no selection stores nothing.
void storeList(const ParameterInfo& info, QComboBox* list, int index, TPatch& target,
               bool& changed) {
    const int position = list->currentIndex();
    if (position < 0) return;
    if (info.coding == ParamCoding::PairList)
        storePair(target, index, position, changed);
    else
        storeByte(target, index, position, changed);
}

} // namespace

void LoadParamControl(const ParamControl& control, const PatchBytes& bytes) {
    const ParameterInfo& info = *control.info;
    switch (info.control) {
    case ControlKind::NameField:
        control.name->setText(QString::fromStdString(NameToText(std::span(bytes).first(NameSize))));
        break;
    case ControlKind::NumberField:
        control.number->SetValue(RawToShown(info, ReadRaw(info, bytes)));
        break;
    case ControlKind::StringNumbers:
        for (int k = 1; k <= StringCount; ++k)
            control.numbers->SetValue(k, RawToShown(info, ReadRaw(info, bytes, k)));
        break;
    case ControlKind::StringChecks:
        for (int k = 1; k <= StringCount; ++k)
            control.checks->SetChecked(k, ReadRaw(info, bytes, k) != 0);
        break;
    case ControlKind::CheckBox:
        control.check->setChecked(ReadRaw(info, bytes) != 0);
        break;
    case ControlKind::DropDown:
        loadList(control.lists[0], ReadRaw(info, bytes));
        break;
    case ControlKind::StringDropDowns:
        // The lists stand from string 6 at the top to string 1 at the bottom.
        for (int k = StringCount; k >= 1; --k)
            loadList(control.lists[k - 1], ReadRaw(info, bytes, k));
        break;
    case ControlKind::EffectBar:
        break;
    }
}

void StoreParamControl(const ParamControl& control, TPatch& target, bool& changed) {
    const ParameterInfo& info = *control.info;
    const int first = info.firstByte;
    switch (info.control) {
    case ControlKind::NameField: {
        const auto name = TextToName(control.name->text().toStdString());
        if (!std::equal(name.begin(), name.end(), target.Data())) {
            std::copy(name.begin(), name.end(), target.Data());
            changed = true;
        }
        break;
    }
    case ControlKind::NumberField: {
        const int raw = ShownToRaw(info, control.number->Value());
        if (info.coding == ParamCoding::Pair)
            storePair(target, first, raw, changed);
        else
            storeByte(target, first, raw, changed);
        break;
    }
    case ControlKind::StringNumbers:
        for (int k = 1; k <= StringCount; ++k)
            storeByte(target, first + k - 1, ShownToRaw(info, control.numbers->Value(k)), changed);
        break;
    case ControlKind::StringChecks:
        for (int k = 1; k <= StringCount; ++k)
            storeByte(target, first + k - 1, control.checks->Checked(k) ? 1 : 0, changed);
        break;
    case ControlKind::CheckBox:
        storeByte(target, first, control.check->isChecked() ? 1 : 0, changed);
        break;
    case ControlKind::DropDown:
        storeList(info, control.lists[0], first, target, changed);
        break;
    case ControlKind::StringDropDowns:
        for (int k = StringCount; k >= 1; --k)
            storeList(info, control.lists[k - 1], first + k - 1, target, changed);
        break;
    case ControlKind::EffectBar:
        break;
    }
}
