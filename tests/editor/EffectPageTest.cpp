// The Multi-FX Parameters page: bars per effect type, defaults, captions and the heading.

#include "EditorFixture.h"

#include "controls/IBar.h"

#include <QComboBox>
#include <QLabel>

namespace {
TIBar* Bar(TFormEdit& editor, int i) {
    return editor.findChild<TIBar*>("IBar" + QString::number(i));
}
QLabel* Caption(TFormEdit& editor, int i) {
    return editor.findChild<QLabel*>("LabelP" + QString::number(i));
}
} // namespace

TEST_F(EditorTest, OverdriveLoadsSixBarsAndTheHeading) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[106] = 1;
        b[107] = 1;
        const int values[] = {10, 64, 2, 15, 15, 100};
        for (int i = 0; i < 6; ++i)
            b[108 + i] = static_cast<std::uint8_t>(values[i]);
    });
    const float expected[] = {10, 64, 2, 15, 15, 100};
    for (int i = 1; i <= 12; ++i) {
        TIBar* bar = Bar(editor, i);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->size(), QSize(417, 13));
        EXPECT_EQ(bar->pos(), QPoint(8, 24 + 23 * (i - 1)));
        if (i <= 6) {
            EXPECT_TRUE(bar->isEnabled()) << i;
            EXPECT_EQ(bar->Value(), expected[i - 1]) << i;
        } else {
            EXPECT_FALSE(bar->isEnabled()) << i;
            EXPECT_EQ(Caption(editor, i)->text(), "-");
            EXPECT_EQ(bar->Max(), 0);
        }
    }
    EXPECT_EQ(Caption(editor, 2)->text(), "Pan (L64..R63)");
    EXPECT_EQ(Bar(editor, 2)->Base(), 64);
    auto* sw = Find<QComboBox>(editor, "ComboBox21");
    EXPECT_EQ(Find<QLabel>(editor, "LabelFXType")->text(),
              "Effect: overdrive (Switch: " + sw->currentText() + ")");

    // Changing the switch rewrites the heading only.
    ShowPage(editor, 2);
    Pick(sw, "Both");
    EXPECT_EQ(Find<QLabel>(editor, "LabelFXType")->text(), "Effect: overdrive (Switch: Both)");
    EXPECT_EQ(Bar(editor, 1)->Value(), 10);
    EXPECT_EQ(Bar(editor, 6)->Value(), 100);
}

TEST_F(EditorTest, ChoosingAnotherTypeSetsItsDefaults) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[107] = 1;
        for (int i = 108; i <= 119; ++i)
            b[i] = 3;
    });
    ShowPage(editor, 2);
    auto* type = Find<QComboBox>(editor, "ComboBox3");
    // The type shown, picked again or confirmed with Enter, keeps the values.
    Pick(type, "overdrive");
    QTest::mouseClick(type, Qt::LeftButton);
    QTest::keyClick(type->view(), Qt::Key_Return);
    EXPECT_EQ(Bar(editor, 1)->Value(), 3);
    Pick(type, "reverb");
    const float defaults[] = {0, 0, 0, 0, 15, 15, 50, 0};
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(Bar(editor, i)->Value(), defaults[i - 1]) << i;
        EXPECT_TRUE(Bar(editor, i)->isEnabled()) << i;
    }
    for (int i = 9; i <= 12; ++i)
        EXPECT_FALSE(Bar(editor, i)->isEnabled()) << i;
    // The record changes only when stored.
    EXPECT_EQ(editor.Patch().Data()[107], 1);
    const PatchBytes stored = StoreCopy(editor).bytes;
    EXPECT_EQ(stored[107], 23);
    EXPECT_EQ(stored[114], 50);
}

TEST_F(EditorTest, ParameterOutsideItsSlotShowsTheDefault) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[107] = 16;  // stereo-delay
        b[109] = 127; // slot 2, range 0..126
        b[110] = 5;   // slot 3
    });
    EXPECT_EQ(Bar(editor, 2)->Value(), 0);
    EXPECT_EQ(Bar(editor, 3)->Value(), 5);
    Bar(editor, 3)->SetValue(9);
    editor.ButtonReloadClick();
    EXPECT_EQ(Bar(editor, 3)->Value(), 5);
    EXPECT_EQ(StoreCopy(editor).bytes[109], 0);

    // A value put beyond the range through the bar itself stores the slot's default.
    Bar(editor, 6)->SetValue(120); // Feedback 0..98, base 49
    Bar(editor, 11)->SetValue(-4);
    const PatchBytes stored = StoreCopy(editor).bytes;
    EXPECT_EQ(stored[113], 49);
    EXPECT_EQ(stored[118], 0);
}

TEST_F(EditorTest, LongCaptionIsShortenedAndItsHintIsWhole) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) { b[107] = 0; }); // stereo-eq
    const QString whole = "P1 Freq (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, "
                          "2500, 3150, 4000, 5000, 6300, 8000 Hz)";
    QLabel* caption = Caption(editor, 5);
    EXPECT_TRUE(caption->text().endsWith("..."));
    EXPECT_TRUE(whole.startsWith(caption->text().chopped(3)));
    EXPECT_EQ(caption->toolTip(), whole);
    EXPECT_EQ(Bar(editor, 5)->toolTip(), whole);
    const int fitted =
        caption->x() + caption->fontMetrics().horizontalAdvance(caption->text().chopped(3));
    EXPECT_LE(fitted, TFormEdit::PageWidth - 15);
    EXPECT_EQ(Caption(editor, 11)->text(), "* Level (0..127)");
}

TEST_F(EditorTest, CaptionStartingWithADashIsAUsedSlot) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) { b[107] = 25; }); // overdrive chorus
    EXPECT_TRUE(Bar(editor, 7)->isEnabled());
    EXPECT_EQ(Bar(editor, 7)->Max(), 100);
    EXPECT_EQ(Bar(editor, 7)->Base(), 50);
    EXPECT_EQ(Caption(editor, 7)->toolTip(), "-CHO Balance (D110:0E..D0:100E)");
    EXPECT_FALSE(Bar(editor, 6)->isEnabled());
}

TEST_F(EditorTest, TypeBeyondTheListClearsThePageAndKeepsTheBytes) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[107] = 40;
        for (int i = 108; i <= 119; ++i)
            b[i] = static_cast<std::uint8_t>(i - 100);
    });
    EXPECT_EQ(prompts.Texts("message"),
              std::vector<std::string>{"Implementation error in effects"});
    for (int i = 1; i <= 12; ++i) {
        EXPECT_FALSE(Bar(editor, i)->isEnabled()) << i;
        EXPECT_EQ(Bar(editor, i)->Value(), 0) << i;
    }
    EXPECT_EQ(Find<QComboBox>(editor, "ComboBox3")->currentIndex(), -1);
    const PatchBytes stored = StoreCopy(editor).bytes;
    EXPECT_EQ(stored, editor.Patch().Bytes());
    // Shown again on every reset.
    editor.ButtonReloadClick();
    EXPECT_EQ(prompts.Texts("message").size(), 2u);
}
