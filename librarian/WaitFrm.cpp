#include "librarian/WaitFrm.h"

#include <QFontMetrics>
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
    // The window is 122 x 35 pixels. The 19-pixel serif face it was made for may be missing;
    // the face standing in is made smaller until the text fits inside the frame.
    const QSize room(122 - 8 - 2, 35 - 8 - 2);
    while (font.pixelSize() > 8) {
        QFontMetrics metrics(font);
        if (metrics.horizontalAdvance(label->text()) <= room.width() &&
            metrics.height() <= room.height())
            break;
        font.setPixelSize(font.pixelSize() - 1);
    }
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    label->setPalette(palette);
    label->move(8, 8);
    label->adjustSize();
    resize(122, 35);

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
