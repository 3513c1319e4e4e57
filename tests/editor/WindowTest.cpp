// The shown window under the wheel, and how far its lists open.

#include "EditorFixture.h"

#include "editor/SixPack.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QWheelEvent>

namespace {
// One notch down over the control, sent to it as the widget under the mouse: at the right end,
// over a spin box's arrows.
void WheelDown(QWidget* control) {
    const QPoint at(control->width() - 4, control->height() / 2);
    ASSERT_EQ(control->childAt(at), nullptr);
    QWheelEvent wheel(at, control->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(control, &wheel);
}
} // namespace

TEST_F(EditorTest, WheelTurnsOnlyTheFocusedControl) {
    TFormEdit& editor = Open(1, [](PatchBytes& b) {
        b[23] = 0; // MIDI [PC] of string 1 shows 1
        b[107] = 1, b[108] = 10;
    });
    QSpinBox* program = Find<TFrameSixpack>(editor, "FrameSixpack1")->Field(1);
    auto* type = Find<QComboBox>(editor, "ComboBox3");
    WheelDown(program);
    ShowPage(editor, 2);
    WheelDown(type);
    EXPECT_EQ(program->value(), 1);
    EXPECT_EQ(type->currentIndex(), 1);
    EXPECT_EQ(Bar(editor, 1)->Value(), 10);

    // The field the user clicked into follows the wheel.
    ShowPage(editor, 0);
    QTest::mouseClick(program->findChild<QLineEdit*>(), Qt::LeftButton);
    WheelDown(program);
    EXPECT_EQ(program->value(), 128);
}

TEST_F(EditorTest, OpenedListShowsItsNumberOfEntries) {
    TFormEdit& editor = Open(1);
    const struct {
        int page;
        const char* list;
        int rows;
    } cases[] = {
        {0, "ComboBox11", 8}, // Exp Pedal, 81 entries
        {0, "ComboBox5", 4},  // Chromatic: all of its 4
        {1, "ComboBox2", 12}, // 1st Select, 384 entries
        {2, "ComboBox3", 8},  // Multi-FX Type
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        ShowPage(editor, c.page);
        auto* list = Find<QComboBox>(editor, c.list);
        QTest::mouseClick(list, Qt::LeftButton);
        QAbstractItemView* view = list->view();
        ASSERT_TRUE(view->isVisible());
        int rows = 0;
        for (int i = 0; i < list->count(); ++i)
            rows += view->viewport()->rect().contains(view->visualRect(view->model()->index(i, 0)));
        EXPECT_EQ(rows, c.rows);
        QTest::keyClick(view, Qt::Key_Escape);
    }
}
