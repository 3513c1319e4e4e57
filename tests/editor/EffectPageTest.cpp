// The Multi-FX Parameters page: bars per effect type, defaults, captions and the heading.

#include "EditorFixture.h"

#include <QComboBox>
#include <QLabel>

namespace {
QLabel* Caption(TFormEdit& editor, int i) {
    return editor.findChild<QLabel*>("LabelP" + QString::number(i));
}
} // namespace

TEST_F(EditorTest, OverdriveLoadsSixBarsAndTheHeading) {
    static constexpr std::uint8_t expected[] = {10, 64, 2, 15, 15, 100};
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[106] = 1;
        b[107] = 1;
        std::copy(std::begin(expected), std::end(expected), b.begin() + 108);
    });
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

    // A caption that begins with "-" but is longer is a used slot.
    Pick(Find<QComboBox>(editor, "ComboBox3"), "overdrive chorus");
    EXPECT_EQ(Caption(editor, 7)->toolTip(), "-CHO Balance (D110:0E..D0:100E)");
    EXPECT_TRUE(Bar(editor, 7)->isEnabled());
    EXPECT_EQ(Bar(editor, 7)->Max(), 100);
    EXPECT_EQ(Bar(editor, 7)->Value(), 50);
    EXPECT_FALSE(Bar(editor, 6)->isEnabled());
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
