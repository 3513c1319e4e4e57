// The Effects page: reverb and chorus at the left; harmony, arpeggio and the choice of the
// multi-effect at the right.

#include "editor/EditFrm.h"
#include "editor/OnePack.h"
#include "editor/PageBuilder.h"
#include "qtcommon/QtText.h"
#include "qtcommon/RunHandler.h"

#include <QComboBox>
#include <QPlainTextEdit>

namespace {
constexpr int ListWidth = 145;
constexpr int ListEntries = 12;
constexpr int RightLabel = 371;
constexpr int RightList = 451;
} // namespace

void TFormEdit::BuildEffectsPage(QWidget* page) {
    PageBuilder b(page, controls_);

    b.List("ComboBox19", "Reverb Type", 8, 88, 4, ListWidth, ListEntries);
    b.Onepack("FrameOnepack9", "Rev Send Level", 8, 28);
    b.Onepack("FrameOnepack10", "Reverb Time", 8, 52);
    b.List("ComboBox20", "Rev HF Damp", 8, 88, 76, ListWidth, ListEntries);
    b.Onepack("FrameOnepack11", "Delay Feedback", 8, 100);
    b.Onepack("FrameOnepack12", "Cho Send Level", 8, 172);
    b.Onepack("FrameOnepack13", "Chorus Rate", 8, 196);
    b.Onepack("FrameOnepack14", "Chorus Depth", 8, 220);
    b.Onepack("FrameOnepack15", "Cho Pre-Delay", 8, 244);
    b.Onepack("FrameOnepack16", "Cho Feedback", 8, 268);

    b.Check("CheckBox1", "Har/Arp Control", 369, 4, 227);
    b.List("ComboBox22", "Har/Arp Select", RightLabel, RightList, 28, ListWidth, ListEntries);
    b.List("ComboBox23", "Harmony Style", RightLabel, RightList, 52, ListWidth, ListEntries);
    b.List("ComboBox24", "Harmony Key", RightLabel, RightList, 76, ListWidth, ListEntries);
    b.Check("CheckBox2", "Harmony Remote", 369, 102, 227);
    b.Onepack("FrameOnepack29", "Arp Tempo", RightLabel, 124)->SetValue(250);
    b.List("ComboBox25", "Arp Pattern", RightLabel, RightList, 148, ListWidth, ListEntries);

    auto* memo = new QPlainTextEdit(page);
    memo->setObjectName("Memo1");
    memo->setGeometry(RightLabel, 200, 225, 41);
    memo->setReadOnly(true);
    memo->setFocusPolicy(Qt::NoFocus);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setPlainText(ToQString(EffectTypeNoteLines[0]) + '\n' +
                       ToQString(EffectTypeNoteLines[1]));
    QPalette memoPalette = memo->palette();
    memoPalette.setColor(QPalette::Base, memoPalette.color(QPalette::Window));
    memoPalette.setColor(QPalette::Text, QColor(0x00, 0x00, 0x80));
    memo->setPalette(memoPalette);

    ComboBox21 =
        b.List("ComboBox21", "Multi-FX SW", RightLabel, RightList, 244, ListWidth, ListEntries);
    ComboBox3 = b.List("ComboBox3", "Multi-FX Type", RightLabel, RightList, 268, ListWidth, 8);
    // activated is raised by the user's choice only, never by a load.
    connect(ComboBox21, &QComboBox::activated, this,
            [this] { RunHandler([this] { ComboBox21Change(); }); });
    connect(ComboBox3, &QComboBox::activated, this,
            [this] { RunHandler([this] { ComboBox3Change(); }); });
}
