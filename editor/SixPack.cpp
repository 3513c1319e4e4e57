#include "editor/SixPack.h"

#include "editor/SpinField.h"

#include <QFrame>
#include <QLabel>
#include <QSpinBox>

#include <algorithm>

TFrameSixpack::TFrameSixpack(QWidget* parent) : QWidget(parent) {
    setFixedSize(363, 27);
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(80, 0, 283, 27);
    label1 = new QLabel("Sixpack Label", this);
    label1->setObjectName("label1");
    label1->move(0, 7);
    label1->adjustSize();
    // Each field covers its text box and its arrow pair (the first pair is one pixel narrower).
    for (int k = 1; k <= Strings; ++k) {
        const int width = k == 1 ? 40 : 41;
        const QByteArray name = "Edit" + QByteArray::number(k);
        fields_[k - 1] =
            MakeSpinField(this, name.constData(), QRect(FieldLeft[k - 1], 3, width, 21));
    }
    for (int k = 1; k < Strings; ++k)
        setTabOrder(fields_[k - 1], fields_[k]);
}

void TFrameSixpack::SetCaption(const QString& caption) {
    label1->setText(caption);
    label1->adjustSize();
}

void TFrameSixpack::SetRange(int min, int max) {
    for (int k = 1; k <= Strings; ++k) {
        const int value = Value(k);
        Field(k)->setRange(min, max);
        SetValue(k, value);
    }
}

int TFrameSixpack::Value(int string) const {
    return ShownValue(*Field(string));
}

void TFrameSixpack::SetValue(int string, int value) {
    // The wrapping spin box would wrap a value beyond its range; show the nearest end instead.
    QSpinBox* field = Field(string);
    field->setValue(std::clamp(value, field->minimum(), field->maximum()));
}
