// Load and store of the Common, Tone and Effects pages: every coding against the bytes.

#include "EditorFixture.h"

#include "editor/OnePack.h"
#include "editor/SixCheck.h"
#include "editor/SixPack.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

TEST_F(EditorTest, LoadThenStoreChangesNothing) {
    for (int number : {1, 5, 8}) {
        TFormEdit& editor = Open(number);
        const StoreResult result = StoreCopy(editor);
        EXPECT_FALSE(result.changed) << number;
        EXPECT_EQ(result.bytes, DemoPatch(number)) << number;
        EXPECT_TRUE(StoreCopy(editor, true).changed); // a store never clears the flag
    }
}

TEST_F(EditorTest, EachCodingLoadsAndStoresItsBytes) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[15] = 64;                 // Pan 0
        b[78] = 0x05, b[79] = 0x02; // 2nd Select: position 261
        for (int i = 90; i <= 95; ++i)
            b[i] = static_cast<std::uint8_t>(i - 90); // the layers of strings 1..6
    });
    auto* pan = Find<TFrameOnepack>(editor, "frameOnepack2");
    auto* program = Find<TFrameSixpack>(editor, "FrameSixpack1");
    auto* top = Find<QComboBox>(editor, "ComboBox13");    // String #6/E
    auto* lowest = Find<QComboBox>(editor, "ComboBox18"); // String #1/E
    EXPECT_EQ(pan->Value(), 0);
    EXPECT_EQ(Find<QComboBox>(editor, "ComboBox12")->currentText(), "262 WireString");
    EXPECT_EQ(top->currentIndex(), 5);
    EXPECT_EQ(lowest->currentIndex(), 0);
    EXPECT_LT(top->y(), lowest->y());

    pan->SetValue(-50);
    Find<QComboBox>(editor, "ComboBox2")->setCurrentIndex(260); // "261 Analog Gtr"
    Find<TFrameOnepack>(editor, "FrameOnepack29")->SetValue(250);
    program->SetValue(1, 1);
    program->SetValue(6, 128);
    lowest->setCurrentIndex(3);
    top->setCurrentIndex(1);
    const StoreResult result = StoreCopy(editor);
    EXPECT_TRUE(result.changed);
    const std::pair<int, int> stored[] = {{15, 14}, {66, 4},   {67, 2}, {125, 122}, {126, 1},
                                          {23, 0},  {28, 127}, {90, 3}, {95, 1}};
    for (auto [byte, value] : stored)
        EXPECT_EQ(result.bytes[byte], value) << byte;
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
    // No selection leaves its bytes alone; no control covers 65 and 77.
    const std::pair<int, int> stored[] = {{13, 200}, {78, 0}, {79, 3}, {12, 100},
                                          {15, 14},  {29, 1}, {65, 9}, {77, 9}};
    for (auto [byte, value] : stored)
        EXPECT_EQ(result.bytes[byte], value) << byte;

    // A list alone showing no selection does not raise the flag.
    TFormEdit& other = Open(2, [](PatchBytes& b) { b[14] = 99; });
    EXPECT_FALSE(StoreCopy(other).changed);
}

TEST_F(EditorTest, NameFieldAlwaysHoldsTwelveCharacters) {
    TFormEdit& editor = Open(1);
    auto* name = Find<QLineEdit>(editor, "Edit1");
    name->setText(QString::fromUtf8("A\u00A5\u00AB\u00BB"));
    EXPECT_EQ(name->text(), QString::fromUtf8("A\u00A5\u00AB\u00BB        "));
    const std::uint8_t stored[] = {'A', 0x5C, 0x7F, 0x7E, 0x20};
    EXPECT_TRUE(std::equal(std::begin(stored), std::end(stored), StoreCopy(editor).bytes.begin()));

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
