// The Multi-FX Parameters page: bars per effect type, defaults, captions and the heading.

#include "EditorFixture.h"

#include <QLabel>

namespace {
QLabel* Caption(TFormEdit& editor, int i) {
    return editor.findChild<QLabel*>("LabelP" + QString::number(i));
}
} // namespace

TEST_F(EditorTest, OverdriveLoadsSixBarsAndTheHeading) {
    static constexpr std::uint8_t expected[] = {10, 64, 2, 15, 15, 100};
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[106] = 1, b[107] = 1;
        std::copy(std::begin(expected), std::end(expected), b.begin() + 108);
    });
    for (int i = 1; i <= 12; ++i) {
        SCOPED_TRACE(i);
        TIBar* bar = Bar(editor, i);
        EXPECT_EQ(bar->geometry(), QRect(8, 24 + 23 * (i - 1), 417, 13));
        EXPECT_EQ(bar->isEnabled(), i <= 6);
        EXPECT_EQ(bar->Value(), i <= 6 ? expected[i - 1] : 0);
        EXPECT_EQ(Caption(editor, i)->text() == "-" && bar->Max() == 0, i > 6);
    }
    EXPECT_EQ(Caption(editor, 2)->text(), "Pan (L64..R63)");
    EXPECT_EQ(Bar(editor, 2)->Base(), 64);
    auto* heading = Find<QLabel>(editor, "LabelFXType");
    EXPECT_EQ(heading->text(), "Effect: overdrive (Switch: " +
                                   Find<QComboBox>(editor, "ComboBox21")->currentText() + ")");
    // Changing the switch rewrites the heading only.
    Pick(editor, "ComboBox21", "Both");
    EXPECT_EQ(heading->text(), "Effect: overdrive (Switch: Both)");
    EXPECT_EQ(std::pair(Bar(editor, 1)->Value(), Bar(editor, 6)->Value()),
              std::pair(10.0f, 100.0f));
    // A caption that begins with "-" but is longer is a used slot.
    Pick(editor, "ComboBox3", "overdrive chorus");
    EXPECT_EQ(Caption(editor, 7)->toolTip(), "-CHO Balance (D110:0E..D0:100E)");
    EXPECT_TRUE(Bar(editor, 7)->isEnabled());
    EXPECT_EQ(std::pair(Bar(editor, 7)->Max(), Bar(editor, 7)->Value()), std::pair(100.0f, 50.0f));
    EXPECT_FALSE(Bar(editor, 6)->isEnabled());
}

TEST_F(EditorTest, ParameterOutsideItsSlotShowsAndStoresTheDefault) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[107] = 16;  // stereo-delay
        b[109] = 127; // slot 2, range 0..126
        b[110] = 5;   // slot 3
    });
    EXPECT_EQ(Bar(editor, 2)->Value(), 0);
    EXPECT_EQ(Bar(editor, 3)->Value(), 5);
    ShowPageOf(Bar(editor, 3));
    QTest::mouseClick(Bar(editor, 3), Qt::LeftButton, {}, QPoint(200, 6));
    Click(editor, "ButtonReload");
    EXPECT_EQ(Bar(editor, 3)->Value(), 5);
    // A value typed beyond the range through the bar's own dialog stores the slot's default.
    prompts.inputAnswers = {"120", "-4"};
    QTest::mouseClick(Bar(editor, 6), Qt::LeftButton, Qt::AltModifier); // Feedback 0..98, base 49
    QTest::mouseClick(Bar(editor, 11), Qt::LeftButton, Qt::AltModifier);
    Click(editor, "ButtonOkStay");
    ExpectBytes(Slot(1), {{109, 0}, {110, 5}, {113, 49}, {118, 0}});
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
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(std::pair(Bar(editor, i)->isEnabled(), Bar(editor, i)->Value()),
                  std::pair(false, 0.0f))
            << i;
    EXPECT_EQ(Find<QComboBox>(editor, "ComboBox3")->currentIndex(), -1);
    Click(editor, "ButtonOkStay");
    EXPECT_TRUE(host.modifiedMarks.empty());
    // Shown again on every reset.
    Click(editor, "ButtonReload");
    EXPECT_EQ(prompts.Texts("message").size(), 2u);
}
