// Mouse gestures of the bar, driven by synthesised mouse events.

#include "BarTestSupport.h"

#include "base/Errors.h"
#include "base/RecordingDialogs.h"
#include "controls/ClickSound.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// The console's key bar: 0..127 in whole steps on a 100-pixel track starting at x = 3.
struct KeyBar : ::testing::Test {
    RecordingDialogs prompts;
    ScopedPrompts guard{prompts};
    TIBar bar;
    int changes = 0;
    int clicks = 0;
    KeyBar() {
        bar.SetMax(127);
        bar.SetDiscretization(1);
        bar.SetValue(69);
        bar.OnChange = [this](TIBar& sender) { changes += &sender == &bar ? 1 : 100; };
        bar.OnClick = [this](TIBar&) { ++clicks; };
    }
};

TEST_F(KeyBar, DragReportsEachChangeWithImmediateAndOnceAtReleaseWithout) {
    Press(bar, -40, 10); // beyond the ends: clamps
    EXPECT_EQ(bar.Value(), 0);
    MoveHeld(bar, 500, 10);
    MoveHeld(bar, 600, 10); // no change, no event
    EXPECT_EQ(bar.Value(), 127);
    Release(bar, 600, 10);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(clicks, 1);

    bar.SetImmediate(false);
    Press(bar, 3, 10);
    MoveHeld(bar, 80, 10);
    EXPECT_EQ(bar.Value(), 98); // 77 / 100 * 127 = 97.79
    EXPECT_EQ(changes, 2);
    Release(bar, 80, 10);
    EXPECT_EQ(changes, 3);
    Press(bar, 80, 10); // no movement: still reported at release
    Release(bar, 80, 10);
    EXPECT_EQ(changes, 4);
    bar.SetValue(5); // the setter reports again after the drag
    EXPECT_EQ(changes, 5);

    bar.SetOrientHoriz(false); // vertical bars follow y, maximum at the top
    Press(bar, 200, 3);
    EXPECT_EQ(bar.Value(), 127);
    MoveHeld(bar, 200, 53);
    EXPECT_EQ(bar.Value(), 64); // 63.5 -> 64
}

TEST_F(KeyBar, CtrlResetsToBaseAtOnceEvenWithoutImmediate) {
    bar.SetImmediate(false);
    bar.SetBase(64);
    Press(bar, 90, 10, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(bar.Value(), 64);
    EXPECT_EQ(changes, 1);
    Release(bar, 90, 10);
    EXPECT_EQ(changes, 1);
}

TEST_F(KeyBar, ShiftShowsTheValueAlsoWhileMoving) {
    Press(bar, 90, 10, Qt::LeftButton, Qt::ShiftModifier);
    bar.SetDiscretization(0);
    bar.SetValue(-0.5f);
    MoveHeld(bar, 20, 10, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(prompts.Texts("message"), Texts({"Value is 69.000", "Value is -0.500"}));
}

TEST_F(KeyBar, AltAsksForAValue) {
    prompts.inputAnswers = {std::string("  12.4"), std::string("abc"), std::string("1e3")};
    Press(bar, 90, 10, Qt::LeftButton, Qt::AltModifier);
    EXPECT_EQ(bar.Value(), 12);
    Press(bar, 90, 10, Qt::LeftButton, Qt::AltModifier); // not a number: nothing, silently
    EXPECT_EQ(bar.Value(), 12);
    Press(bar, 90, 10, Qt::LeftButton, Qt::AltModifier); // outside the range: taken as typed
    EXPECT_EQ(bar.Value(), 1000);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(prompts.Texts("input"), Texts({"Change value (69.000): Enter new value",
                                             "Change value (12.000): Enter new value",
                                             "Change value (12.000): Enter new value"}));
}

TEST_F(KeyBar, CancellingTheValueDialogKeepsUnshownDecimals) {
    bar.SetDiscretization(0);
    bar.SetValue(0.12345f);
    Press(bar, 90, 10, Qt::LeftButton, Qt::AltModifier); // nothing queued: cancelled
    EXPECT_FLOAT_EQ(bar.Value(), 0.12345f);
    EXPECT_EQ(changes, 1);
}

TEST_F(KeyBar, AltCtrlReportsAndRightAltSwitchesTheSound) {
    Press(bar, 10, 10, Qt::LeftButton, Qt::AltModifier | Qt::ControlModifier);
    EXPECT_EQ(bar.Value(), 69);
    EXPECT_EQ(changes, 1);
    Press(bar, 10, 10, Qt::RightButton, Qt::AltModifier);
    EXPECT_TRUE(bar.Sound());
    Press(bar, 10, 10, Qt::RightButton, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_FALSE(bar.Sound());
    EXPECT_EQ(prompts.Texts("message"), Texts({"Sound is on", "Sound is off"}));
}

TEST_F(KeyBar, OtherButtonsOnlyReportTheClick) {
    Press(bar, 10, 10, Qt::MiddleButton);
    Press(bar, 10, 10, Qt::RightButton);
    SendMouse(bar, QEvent::MouseButtonPress, 10, 10, Qt::MiddleButton,
              Qt::LeftButton | Qt::MiddleButton);
    EXPECT_EQ(bar.Value(), 69);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(KeyBar, AFailingClickDuringADragLosesNoNotification) {
    SetClickSound([](float, float) { throw std::runtime_error("no synthesizer"); });
    bar.SetSound(true);
    bar.SetImmediate(false);
    // Called directly: exceptions must not cross Qt's event delivery in a test.
    EXPECT_THROW(bar.HandleMouse(ssLeft, 3, 10), std::runtime_error);
    SetClickSound(nullptr);
    Release(bar, 3, 10);
    EXPECT_EQ(changes, 1);
    bar.SetValue(7);
    EXPECT_EQ(changes, 2);
}

TEST_F(KeyBar, AnErrorDuringAGestureEndsInAMessageNotInTheEventLoop) {
    SetClickSound([](float, float) { throw EMidiException("Unable to open midi-out device"); });
    bar.SetSound(true);
    Press(bar, 40, 10);
    SetClickSound(nullptr);
    Release(bar, 40, 10);
    EXPECT_EQ(prompts.Texts("error"), Texts{"Unable to open midi-out device."});
    EXPECT_EQ(changes, 1); // the value change itself still completed and was reported
}

} // namespace
