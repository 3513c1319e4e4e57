#include "librarian/WaitFrm.h"

#include <QFrame>
#include <QLabel>

TFormWait::TFormWait(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("FormWait");
    auto* label = new QLabel("Please wait ...", this);
    label->setObjectName("Label1");
    QFont font("MS Serif");
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(19);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    label->setPalette(palette);
    label->move(8, 8);
    label->adjustSize();
    // 122 x 35 pixels, wider when the serif face at hand needs more room for the text.
    resize(std::max(122, label->width() + 16), std::max(35, label->height() + 16));

    auto* bevel = new QFrame(this);
    bevel->setObjectName("Bevel1");
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(rect());
}

void TFormWait::ShowOver(QWidget* owner) {
    if (owner) {
        QRect frame = owner->frameGeometry();
        move(frame.center() - rect().center());
    }
    show();
    raise();
}
