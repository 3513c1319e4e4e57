#include "editor/OnePack.h"

#include "editor/SpinField.h"

#include <QLabel>
#include <QSpinBox>

#include <algorithm>

TFrameOnepack::TFrameOnepack(QWidget* parent) : QWidget(parent) {
    setFixedSize(120, 21);
    Edit1 = MakeSpinField(this, "Edit1", QRect(80, 0, 40, 21));
    Label1 = new QLabel("Onepack Label", this);
    Label1->setObjectName("Label1");
    Label1->move(0, 4);
    Label1->adjustSize();
}

void TFrameOnepack::SetCaption(const QString& caption) {
    Label1->setText(caption);
    Label1->adjustSize();
}

void TFrameOnepack::SetRange(int min, int max) {
    const int value = Edit1->value();
    Edit1->setRange(min, max);
    SetValue(value);
}

int TFrameOnepack::Value() const {
    return ShownValue(*Edit1);
}

void TFrameOnepack::SetValue(int value) {
    // The wrapping spin box would wrap a value beyond its range; show the nearest end instead.
    Edit1->setValue(std::clamp(value, Edit1->minimum(), Edit1->maximum()));
}
