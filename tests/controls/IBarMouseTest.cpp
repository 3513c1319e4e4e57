// Mouse gestures of the bar, driven by synthesised mouse events.

#include "BarTestSupport.h"

#include "base/RecordingDialogs.h"
#include "controls/ClickSound.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Also records the initial text of input boxes.
struct Prompter : RecordingDialogs {
    std::vector<std::string> initials;
    std::optional<std::string> InputText(const std::string& caption, const std::string& prompt,
                                         const std::string& initial) override {
        initials.push_back(initial);
        return RecordingDialogs::InputText(caption, prompt, initial);
    }
};

// The console's key bar: 0..127 in whole steps on a 100-pixel track starting at x = 3.
struct KeyBar : ::testing::Test {
    Prompter prompts;
    ScopedPrompts guard{prompts};
    TIBar bar;
    int changes = 0;
    int clicks = 0;
    KeyBar() {
        bar.SetMax(127);
        bar.SetDiscretization(1);
        bar.SetValue(69);
        bar.OnChange = [this](TIBar& sender) {
            EXPECT_EQ(&sender, &bar);
            ++changes;
        };
        bar.OnClick = [this](TIBar&) { ++clicks; };
    }
};

TEST_F(KeyBar, DragWithImmediateReportsEveryStepThatChangesTheValue) {
    Press(bar, 3, 10);
    EXPECT_EQ(bar.Value(), 0);
    EXPECT_TRUE(bar.DragChanged());
    MoveHeld(bar, 103, 10);
    EXPECT_EQ(bar.Value(), 127);
    MoveHeld(bar, 500, 10); // beyond the end: clamps, no change
    MoveHeld(bar, -20, 12);
    EXPECT_EQ(bar.Value(), 0);
    Release(bar, -20, 12);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(clicks, 1);
}

TEST_F(KeyBar, DragWithoutImmediateReportsOnceAtRelease) {
    bar.SetImmediate(false);
    Press(bar, 3, 10);
    MoveHeld(bar, 53, 10);
    MoveHeld(bar, 80, 10);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(bar.Value(), 98); // 77 / 100 * 127 = 97.79
    Release(bar, 80, 10);
    EXPECT_EQ(changes, 1);

    // A click that leaves the value where it is still reports at release.
    Press(bar, 80, 10);
    Release(bar, 80, 10);
    EXPECT_EQ(changes, 2);

    // Later value changes by program are reported again.
    bar.SetValue(5);
    EXPECT_EQ(changes, 3);
}

TEST_F(KeyBar, VerticalDragFollowsY) {
    bar.SetOrientHoriz(false);
    Press(bar, 200, 3); // x is not looked at
    EXPECT_EQ(bar.Value(), 127);
    MoveHeld(bar, 200, 103);
    EXPECT_EQ(bar.Value(), 0);
}

TEST_F(KeyBar, CtrlResetsToBaseAtOnceEvenWithoutImmediate) {
    bar.SetImmediate(false);
    bar.SetBase(64);
    Press(bar, 90, 10, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(bar.Value(), 64);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(bar.DragChanged());
    Release(bar, 90, 10);
    EXPECT_EQ(changes, 1);
}

TEST_F(KeyBar, ShiftShowsTheValueText) {
    Press(bar, 90, 10, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(bar.Value(), 69);
    bar.SetDiscretization(0);
    bar.SetValue(-0.5f);
    MoveHeld(bar, 20, 10, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(prompts.Texts("message"),
              std::vector<std::string>({"Value is 69.000", "Value is -0.500"}));
}

TEST_F(KeyBar, AltAsksForAValue) {
    prompts.inputAnswers = {std::string("  12.4"), std::string("abc"), std::string("1e2"),
                            std::nullopt};
    Press(bar, 90, 10, Qt::LeftButton, Qt::AltModifier);
    EXPECT_EQ(bar.Value(), 12); // quantised
    EXPECT_EQ(prompts.Last(), "Change value (69.000): Enter new value");
    EXPECT_EQ(prompts.initials.back(), "69.000");
    Press(bar, 90, 10, Qt::LeftButton, Qt::AltModifier); // not a number: nothing, silently
    EXPECT_EQ(bar.Value(), 12);
    Press(bar, 90, 10, Qt::LeftButton, Qt::AltModifier);
    EXPECT_EQ(bar.Value(), 100);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(prompts.Texts("message").size(), 0u);
    EXPECT_EQ(prompts.Texts("input").size(), 3u);
}

TEST_F(KeyBar, CancellingTheValueDialogKeepsUnshownDecimals) {
    bar.SetDiscretization(0);
    bar.SetValue(0.12345f);
    changes = 0;
    Press(bar, 90, 10, Qt::LeftButton, Qt::AltModifier); // no answer queued: cancelled
    EXPECT_FLOAT_EQ(bar.Value(), 0.12345f);
    EXPECT_EQ(changes, 0);
    // A dialog value outside the range is taken as typed.
    prompts.inputAnswers = {std::string("-3.25")};
    Press(bar, 90, 10, Qt::LeftButton, Qt::AltModifier);
    EXPECT_FLOAT_EQ(bar.Value(), -3.25f);
}

TEST_F(KeyBar, AltCtrlReportsWithoutChangingTheValue) {
    Press(bar, 10, 10, Qt::LeftButton, Qt::AltModifier | Qt::ControlModifier);
    EXPECT_EQ(bar.Value(), 69);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(KeyBar, RightButtonWithAltSwitchesTheSound) {
    Press(bar, 10, 10, Qt::RightButton, Qt::AltModifier);
    EXPECT_TRUE(bar.Sound());
    Press(bar, 10, 10, Qt::RightButton, Qt::AltModifier);
    EXPECT_FALSE(bar.Sound());
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>({"Sound is on", "Sound is off"}));
    // With the left button held as well the left-button gestures win.
    SendMouse(bar, QEvent::MouseButtonPress, 10, 10, Qt::RightButton,
              Qt::LeftButton | Qt::RightButton, Qt::AltModifier);
    EXPECT_FALSE(bar.Sound());
    EXPECT_EQ(prompts.Texts("input").size(), 1u);
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
    EXPECT_EQ(bar.Value(), 0);
    Release(bar, 3, 10);
    EXPECT_EQ(changes, 1);
    bar.SetValue(7); // the setter reports again after the failed step
    EXPECT_EQ(changes, 2);
}

} // namespace
