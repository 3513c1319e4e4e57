// The Common page: name, level, play feel, pan, wah, glide, hold, pedals and the MIDI messages
// sent per string; and the name field's rule that it always holds the 12 characters the name
// bytes would show.

#include "editor/EditFrm.h"
#include "editor/PageBuilder.h"
#include "qtcommon/QtText.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int CommonListWidth = 129;
constexpr int CommonListEntries = 8;
const QColor Navy(0x00, 0x00, 0x80);
} // namespace

void TFormEdit::BuildCommonPage(QWidget* page) {
    PageBuilder b(page, controls_);

    const ParameterInfo& nameInfo = PageBuilder::Parameter("Patch Name");
    b.Label(ToQString(nameInfo.caption), 8, 9);
    Edit1 = new QLineEdit(page);
    Edit1->setObjectName("Edit1");
    Edit1->setGeometry(88, 4, 129, 24);
    QFont nameFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    nameFont.setPixelSize(15);
    nameFont.setBold(true);
    Edit1->setFont(nameFont);
    QPalette namePalette = Edit1->palette();
    namePalette.setColor(QPalette::Text, Navy);
    Edit1->setPalette(namePalette);
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    ParamControl name;
    name.info = &nameInfo;
    name.name = Edit1;
    controls_.push_back(name);

    b.Onepack("frameOnepack1", "Patch Level", 8, 32);
    b.List("ComboBox1", "Play Feel", 8, 88, 56, CommonListWidth, CommonListEntries);
    b.List("ComboBox4", "Pan Mode", 8, 88, 80, CommonListWidth, CommonListEntries);
    b.Onepack("frameOnepack2", "Pan", 8, 104);
    b.List("ComboBox5", "Chromatic", 8, 88, 128, CommonListWidth, CommonListEntries);
    b.List("ComboBox6", "Wah Type", 8, 88, 152, CommonListWidth, CommonListEntries);
    b.List("ComboBox7", "Glide Type", 8, 88, 176, CommonListWidth, CommonListEntries);
    b.List("ComboBox8", "Hold Type (A-)", 8, 88, 200, CommonListWidth, CommonListEntries);
    b.List("ComboBox9", "Hold Type (A+)", 8, 88, 224, CommonListWidth, CommonListEntries);
    b.List("ComboBox10", "Ctrl Pedal", 8, 88, 248, CommonListWidth, CommonListEntries);
    b.List("ComboBox11", "Exp Pedal", 8, 88, 272, CommonListWidth, CommonListEntries);
    b.Sixpack("FrameSixpack1", "MIDI [PC]", 232, 4);
    b.SixCheck("FrameSixCheck1", "PC On", 232, 35);
    b.Sixpack("FrameSixpack2", "MIDI [CC0]", 232, 92);
    b.SixCheck("FrameSixCheck2", "CC0 On", 232, 123);
    b.Sixpack("FrameSixpack3", "MIDI [CC32]", 232, 180);
    b.SixCheck("FrameSixCheck3", "CC32 On", 232, 211);
    b.Sixpack("FrameSixpack4", "MIDI Transpose", 232, 266);

    QLabel* note = b.Label(ToQString(StringOrderNote), 312, 71);
    note->setObjectName("LabelStringOrder");
    QPalette notePalette = note->palette();
    notePalette.setColor(QPalette::WindowText, Navy);
    note->setPalette(notePalette);
}

void TFormEdit::Edit1Change() {
    // Rewriting the text fires this handler again; the rewritten text is already settled.
    if (editingName_) return;
    editingName_ = true;
    Edit1->deselect();
    const int caret = Edit1->cursorPosition();
    const auto bytes = TextToName(Edit1->text().toStdString());
    const QString settled = QString::fromStdString(NameToText(bytes));
    if (settled != Edit1->text()) Edit1->setText(settled);
    Edit1->setCursorPosition(caret);
    editingName_ = false;
}
