#include "editor/SixCheck.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>

TFrameSixCheck::TFrameSixCheck(QWidget* parent) : QWidget(parent) {
    setFixedSize(363, 27);
    Label1 = new QLabel("SixCheck", this);
    Label1->setObjectName("Label1");
    Label1->move(0, 7);
    Label1->adjustSize();
    for (int k = 1; k <= Strings; ++k) {
        auto* box = new QCheckBox(this);
        box->setObjectName("CheckBox" + QString::number(k));
        box->setGeometry(BoxLeft[k - 1], 5, 16, 17);
        boxes_[k - 1] = box;
    }
    for (int k = 1; k < Strings; ++k)
        setTabOrder(boxes_[k - 1], boxes_[k]);
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(80, 0, 283, 27);
    Bevel1->lower();
}

void TFrameSixCheck::SetCaption(const QString& caption) {
    Label1->setText(caption);
    Label1->adjustSize();
}

bool TFrameSixCheck::Checked(int string) const {
    return Box(string)->isChecked();
}

void TFrameSixCheck::SetChecked(int string, bool on) {
    Box(string)->setChecked(on);
}
