#include "editor/SpinField.h"

#include "qtcommon/WheelFocus.h"

#include <QSpinBox>

QSpinBox* MakeSpinField(QWidget* parent, const char* name, const QRect& place) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setGeometry(place);
    spin->setRange(0, 255);
    spin->setValue(0);
    spin->setWrapping(true);
    spin->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Intermediate text ("-", "", "5" below a minimum of 50) is dropped on leaving the field.
    spin->setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    // The value changes only when the typed text is complete, not with every keystroke.
    spin->setKeyboardTracking(false);
    WheelOnlyWithFocus(*spin);
    return spin;
}

int ShownValue(QSpinBox& field) {
    field.interpretText();
    return field.value();
}
