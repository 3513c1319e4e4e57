#include "librarian/About.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>

namespace {

const QColor Navy(0x00, 0x00, 0x80);

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), notes_(AboutNotes()) {
    setObjectName("AboutForm");
    setFixedSize(483, 442);

    auto* panel1 = new QFrame(this);
    panel1->setObjectName("Panel1");
    panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel1->setLineWidth(3);
    panel1->setGeometry(rect());

    auto* panel2 = new QFrame(panel1);
    panel2->setObjectName("Panel2");
    panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel2->setLineWidth(2);
    panel2->setGeometry(15, 15, 450, 410);

    auto* label1 = new QLabel("Kelvo", panel2);
    label1->setObjectName("Label1");
    label1->setGeometry(8, 4, 433, 33);
    label1->setAlignment(Qt::AlignCenter);
    QFont title("FuturaBlack BT");
    title.setStyleHint(QFont::Decorative);
    title.setPixelSize(27);
    title.setBold(true);
    label1->setFont(title);
    setTextColour(label1, Navy);

    label3_ = new QLabel("Version", panel2);
    label3_->setObjectName("Label3");
    label3_->setGeometry(8, 40, 433, 16);
    label3_->setAlignment(Qt::AlignCenter);
    QFont bold = label3_->font();
    bold.setBold(true);
    label3_->setFont(bold);
    setTextColour(label3_, Navy);

    aboutNotes_ = new QTextBrowser(panel2);
    aboutNotes_->setObjectName("aboutNotes");
    aboutNotes_->setGeometry(16, 112, 417, 241);
    aboutNotes_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    aboutNotes_->setOpenExternalLinks(false);
    aboutNotes_->setTabStopDistance(32);
    QPalette notesPalette = aboutNotes_->palette();
    notesPalette.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0)); // silver
    aboutNotes_->setPalette(notesPalette);

    auto* ok = new QPushButton("Ok", this);
    ok->setObjectName("ButtonOk");
    ok->setGeometry(248, 397, 113, 21);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
}

void TAboutForm::showEvent(QShowEvent* event) {
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
    QDialog::showEvent(event);
}

void TAboutForm::FormShow() {
    label3_->setText("Version " + version_);
    if (!notes_.isEmpty())
        aboutNotes_->setHtml(notes_); // replaces whatever the box held
    else if (aboutNotes_->toPlainText().isEmpty())
        aboutNotes_->append("No description available!");
}
