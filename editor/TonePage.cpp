// The Tone page: the two tones with their envelopes and per-string transposition, their
// balance and the per-string layer lists.

#include "editor/EditFrm.h"
#include "editor/PageBuilder.h"

#include <QFrame>
#include <QLabel>

namespace {
constexpr int ToneListWidth = 145;
constexpr int ListEntries = 12;
} // namespace

void TFormEdit::BuildTonePage(QWidget* page) {
    PageBuilder b(page, controls_);

    // The box around the balance and the layer lists lies beneath them.
    auto* bevel = new QFrame(page);
    bevel->setObjectName("Bevel1");
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(400, 4, 196, 229);

    b.List("ComboBox2", "1st Select", 8, 88, 4, ToneListWidth, ListEntries);
    b.Onepack("TFrameOnepack1", "1st Attack", 8, 28);
    b.Onepack("FrameOnepack3", "1st Release", 8, 52);
    b.Onepack("FrameOnepack4", "1st Brightness", 8, 76);
    b.Sixpack("TFrameSixpack1", "1st Transpose", 8, 100);
    b.List("ComboBox12", "2nd Select", 8, 88, 164, ToneListWidth, ListEntries);
    b.Onepack("FrameOnepack5", "2nd Attack", 8, 188);
    b.Onepack("FrameOnepack6", "2nd Release", 8, 212);
    b.Onepack("FrameOnepack7", "2nd Brightness", 8, 236);
    b.Sixpack("FrameSixpack5", "2nd Transpose", 8, 260);
    b.Onepack("FrameOnepack8", "1:2 Balance", 408, 12);

    QLabel* heading = b.Label("Layer", 478, 64);
    heading->setObjectName("LabelLayer");
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPixelSize(13);
    heading->setFont(bold);
    heading->adjustSize();

    // Top to bottom: string 6 (byte 95) down to string 1 (byte 90).
    b.StringLists(
        {"ComboBox13", "ComboBox14", "ComboBox15", "ComboBox16", "ComboBox17", "ComboBox18"},
        "Layer", 408, 488, 84, 101, 24);
}
