// The per-string and single frames: string order on screen and wrapping arrows. What typing
// into a field gives is checked through the editor's buttons (SendTest).

#include "editor/OnePack.h"
#include "editor/SixCheck.h"
#include "editor/SixPack.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QSpinBox>

#include <vector>

TEST(Frames, StringSixStandsLeftAndChecksLineUpWithFields) {
    TFrameSixpack numbers;
    TFrameSixCheck checks;
    for (int k = 1; k < 6; ++k) {
        EXPECT_EQ(numbers.Field(k)->x() - numbers.Field(k + 1)->x(), 47) << k;
        EXPECT_GT(numbers.Field(k)->x(), numbers.Field(k + 1)->x());
    }
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(checks.Box(k)->x(), numbers.Field(k)->x() + 12) << k;
    EXPECT_EQ(numbers.Field(1)->objectName(), "Edit1");
    EXPECT_EQ(checks.Box(6)->objectName(), "CheckBox6");
    EXPECT_EQ(numbers.size(), QSize(363, 27));
}

TEST(Frames, KeyboardFocusRunsFromStringOneToStringSix) {
    TFrameSixpack numbers;
    std::vector<QSpinBox*> order;
    QWidget* w = numbers.Field(1);
    do {
        if (auto* spin = qobject_cast<QSpinBox*>(w);
            spin && (order.empty() || order.back() != spin))
            order.push_back(spin);
        w = w->nextInFocusChain();
    } while (w != numbers.Field(1) && order.size() < 6);
    ASSERT_EQ(order.size(), 6u);
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(order[k - 1], numbers.Field(k)) << k;
}

TEST(Frames, ArrowsWrapAtTheEndsOfTheRange) {
    const struct {
        int min, max, from, step, to;
    } cases[] = {{-50, 50, 50, 1, -50}, {-50, 50, -50, -1, 50}, {50, 250, 250, 1, 50}};
    for (const auto& c : cases) {
        TFrameOnepack frame;
        frame.SetRange(c.min, c.max);
        frame.SetValue(c.from);
        frame.Edit1->stepBy(c.step);
        EXPECT_EQ(frame.Value(), c.to) << c.from;
    }
    TFrameSixpack program;
    program.SetRange(1, 128);
    program.SetValue(3, 1);
    program.Field(3)->stepDown();
    EXPECT_EQ(program.Value(3), 128);
    EXPECT_EQ(program.Value(2), 1); // the other strings keep their values
}
