// Load and store of the Common, Tone and Effects pages: every coding against the bytes.

#include "EditorFixture.h"

#include "editor/OnePack.h"
#include "editor/SixCheck.h"
#include "editor/SixPack.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

namespace {
// Stores the editor into a copy of the record's bytes; the flag starts as given.
struct StoreResult {
    PatchBytes bytes;
    bool changed;
};
StoreResult StoreCopy(const TFormEdit& editor, bool changed = false) {
    TPatch copy;
    std::copy(editor.Patch().Bytes().begin(), editor.Patch().Bytes().end(), copy.Data());
    editor.StoreControls(copy, changed);
    return {copy.Bytes(), changed};
}
} // namespace

TEST_F(EditorTest, LoadThenStoreChangesNothing) {
    for (int number : {1, 5, 8}) {
        TFormEdit& editor = Open(number);
        const StoreResult result = StoreCopy(editor);
        EXPECT_FALSE(result.changed) << number;
        EXPECT_EQ(result.bytes, DemoPatch(number)) << number;
    }
}

TEST_F(EditorTest, PanIsSignedAndOnlyDifferencesRaiseTheFlag) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) { b[15] = 64; });
    auto* pan = Find<TFrameOnepack>(editor, "frameOnepack2");
    EXPECT_EQ(pan->Value(), 0);
    pan->SetValue(-50);
    bool changed = false;
    editor.StoreControls(Slot(1), changed);
    EXPECT_EQ(Slot(1).Data()[15], 14);
    EXPECT_TRUE(changed);
    changed = false;
    editor.StoreControls(Slot(1), changed);
    EXPECT_FALSE(changed);
    // A store never clears the flag.
    changed = true;
    editor.StoreControls(Slot(1), changed);
    EXPECT_TRUE(changed);
}

TEST_F(EditorTest, ToneSelectIsAListPositionOverAPair) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) { b[78] = 0x05, b[79] = 0x02; });
    auto* first = Find<QComboBox>(editor, "ComboBox2");
    auto* second = Find<QComboBox>(editor, "ComboBox12");
    EXPECT_EQ(first->count(), 384);
    EXPECT_EQ(first->itemText(0), "  1 GR Piano");
    EXPECT_EQ(second->currentIndex(), 261);
    EXPECT_EQ(second->currentText(), "262 WireString");
    first->setCurrentIndex(260);
    EXPECT_EQ(first->currentText(), "261 Analog Gtr");
    const StoreResult result = StoreCopy(editor);
    EXPECT_EQ(result.bytes[66], 4);
    EXPECT_EQ(result.bytes[67], 2);
}

TEST_F(EditorTest, ArpTempoIsAPairAndMidiProgramIsPlusOne) {
    TFormEdit& editor = Open(1);
    Find<TFrameOnepack>(editor, "FrameOnepack29")->SetValue(250);
    auto* program = Find<TFrameSixpack>(editor, "FrameSixpack1");
    program->SetValue(1, 1);
    program->SetValue(6, 128);
    // The leftmost field on screen is string 6.
    EXPECT_LT(program->Field(6)->x(), program->Field(1)->x());
    const StoreResult result = StoreCopy(editor);
    EXPECT_EQ(result.bytes[125], 122);
    EXPECT_EQ(result.bytes[126], 1);
    EXPECT_EQ(result.bytes[23], 0);
    EXPECT_EQ(result.bytes[28], 127);
}

TEST_F(EditorTest, LayerListsRunFromStringSixAtTheTop) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        for (int i = 90; i <= 95; ++i)
            b[i] = static_cast<std::uint8_t>(i - 90);
    });
    auto* top = Find<QComboBox>(editor, "ComboBox13");
    auto* lowest = Find<QComboBox>(editor, "ComboBox18");
    EXPECT_LT(top->y(), lowest->y());
    EXPECT_EQ(top->currentIndex(), 5);    // byte 95
    EXPECT_EQ(lowest->currentIndex(), 0); // byte 90
    EXPECT_EQ(top->itemText(5), "Strong Detune");
    lowest->setCurrentIndex(3);
    top->setCurrentIndex(1);
    const StoreResult result = StoreCopy(editor);
    EXPECT_EQ(result.bytes[90], 3);
    EXPECT_EQ(result.bytes[95], 1);
}

TEST_F(EditorTest, BytesNoControlsShowAreValuesTheControlsSettle) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[13] = 200;          // Play Feel beyond its 16 entries
        b[78] = 0, b[79] = 3; // tone pair 384: beyond the list
        b[12] = 120;          // Patch Level above 100
        b[15] = 0;            // Pan -64, below -50
        b[29] = 5;            // PC On flag other than 0/1
        b[65] = 9, b[77] = 9;
    });
    EXPECT_EQ(Find<QComboBox>(editor, "ComboBox1")->currentIndex(), -1);
    EXPECT_EQ(Find<QComboBox>(editor, "ComboBox12")->currentIndex(), -1);
    EXPECT_EQ(Find<TFrameOnepack>(editor, "frameOnepack1")->Value(), 100);
    EXPECT_EQ(Find<TFrameOnepack>(editor, "frameOnepack2")->Value(), -50);
    EXPECT_TRUE(Find<TFrameSixCheck>(editor, "FrameSixCheck1")->Checked(1));

    const StoreResult result = StoreCopy(editor);
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(result.bytes[13], 200); // no selection: left alone
    EXPECT_EQ(result.bytes[78], 0);
    EXPECT_EQ(result.bytes[79], 3);
    EXPECT_EQ(result.bytes[12], 100);
    EXPECT_EQ(result.bytes[15], 14);
    EXPECT_EQ(result.bytes[29], 1);
    EXPECT_EQ(result.bytes[65], 9);
    EXPECT_EQ(result.bytes[77], 9);

    // A list alone showing no selection does not raise the flag.
    TFormEdit& other = Open(2, [](PatchBytes& b) { b[14] = 99; });
    EXPECT_FALSE(StoreCopy(other).changed);
}

TEST_F(EditorTest, NameFieldAlwaysHoldsTwelveCharacters) {
    TFormEdit& editor = Open(1);
    auto* name = Find<QLineEdit>(editor, "Edit1");
    name->setText(QString::fromUtf8("A\u00A5\u00AB\u00BB"));
    EXPECT_EQ(name->text(), QString::fromUtf8("A\u00A5\u00AB\u00BB        "));
    PatchBytes bytes = StoreCopy(editor).bytes;
    EXPECT_EQ(bytes[0], 'A');
    EXPECT_EQ(bytes[1], 0x5C);
    EXPECT_EQ(bytes[2], 0x7F);
    EXPECT_EQ(bytes[3], 0x7E);
    EXPECT_EQ(bytes[4], 0x20);

    // Typing in the middle pushes the last character out; the caret stays after the key.
    name->setText("ABCDEFGHIJKL");
    name->setCursorPosition(2);
    QTest::keyClicks(name, "x");
    EXPECT_EQ(name->text(), "ABxCDEFGHIJK");
    EXPECT_EQ(name->cursorPosition(), 3);
    // A character the name cannot hold vanishes at once, the caret where the key left it.
    QKeyEvent accent(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                     QString::fromUtf8("\u00E9"));
    QCoreApplication::sendEvent(name, &accent);
    EXPECT_EQ(name->text(), "ABxCDEFGHIJK");
    EXPECT_EQ(name->cursorPosition(), 4);
    // A 13th character at the end is dropped; deleting pulls a blank in at the right.
    name->setCursorPosition(12);
    QTest::keyClicks(name, "Z");
    EXPECT_EQ(name->text(), "ABxCDEFGHIJK");
    name->setCursorPosition(0);
    QTest::keyClick(name, Qt::Key_Delete);
    EXPECT_EQ(name->text(), "BxCDEFGHIJK ");
    EXPECT_EQ(name->cursorPosition(), 0);
}
