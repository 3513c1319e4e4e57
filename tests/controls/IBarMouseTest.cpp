// Mouse gestures on a shown bar: QTest presses, moves and releases with buttons and keys held.

#include "BarTestSupport.h"

#include "base/Errors.h"
#include "tests/support/RecordingDialogs.h"
#include "controls/ClickSound.h"

#include <gtest/gtest.h>

#include <QTest>

#include <cstdio>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// The console's key bar: 0..127 in whole steps at 69, on a 100-pixel track from x = 3.
struct KeyBar : ::testing::Test {
    RecordingDialogs prompts;
    ScopedPrompts guard{prompts};
    BarWindow w;
    TIBar& bar = *w.bar;
    int changes = 0;
    int clicks = 0;
    KeyBar() {
        bar.SetMax(127);
        bar.SetDiscretization(1);
        bar.SetValue(69);
        bar.OnChange = [this](TIBar& sender) { changes += &sender == &bar ? 1 : 100; };
        bar.OnClick = [this](TIBar&) { ++clicks; };
        w.Show();
    }
    ~KeyBar() override { SetClickSound(nullptr); }

    // Plays a gesture. Each step: keys held (a Alt, c Ctrl, s Shift), the action (P press,
    // M move, R release, C click, D double click), the button (r right, m middle; left when
    // absent), x[,y].
    void Play(const std::string& script) {
        std::istringstream steps(script);
        for (std::string s; steps >> s;) {
            Qt::KeyboardModifiers keys;
            std::size_t i = 0;
            for (const std::string held = "acs"; held.find(s[i]) != std::string::npos; ++i)
                keys |= s[i] == 'a'   ? Qt::AltModifier
                        : s[i] == 'c' ? Qt::ControlModifier
                                      : Qt::ShiftModifier;
            const char action = s[i++];
            Qt::MouseButton button = Qt::LeftButton;
            if (s[i] == 'r' || s[i] == 'm')
                button = s[i++] == 'r' ? Qt::RightButton : Qt::MiddleButton;
            QPoint at(0, 10);
            std::sscanf(s.c_str() + i, "%d,%d", &at.rx(), &at.ry());
            if (action == 'P') QTest::mousePress(&bar, button, keys, at);
            if (action == 'M') QTest::mouseEvent(QTest::MouseMove, &bar, Qt::NoButton, keys, at);
            if (action == 'R') QTest::mouseRelease(&bar, button, keys, at);
            if (action == 'C') QTest::mouseClick(&bar, button, keys, at);
            if (action == 'D') QTest::mouseDClick(&bar, button, keys, at);
        }
    }
    Texts Shown() const {
        Texts texts;
        for (const auto& p : prompts.shown)
            texts.push_back(p.kind + " " + p.text);
        return texts;
    }
};

TEST_F(KeyBar, Gestures) {
    using Setup = std::function<void(TIBar&, RecordingDialogs&)>;
    const struct {
        const char* what;
        Setup setup;
        const char* gesture;
        float value;
        int changes, clicks;
        Texts shown;
    } cases[] = {
        // clang-format off
        {"a drag clamps at the ends and reports each change", {},
         "P-40 M500 M600 R600", 127, 2, 1, {}},
        {"without Immediate a drag reports once, at the release, also when it did not move",
         [](TIBar& b, auto&) { b.SetImmediate(false); },
         "P3 M80 R80 C80", 98, 2, 2, {}},
        {"a vertical bar follows y with its maximum at the top",
         [](TIBar& b, auto&) { b.SetOrientHoriz(false); },
         "P12,3 M12,53 R12,53", 64, 2, 1, {}},
        {"Ctrl resets to Base at once, even without Immediate",
         [](TIBar& b, auto&) { b.SetImmediate(false), b.SetBase(64); },
         "cP90 R90", 64, 1, 1, {}},
        {"Shift shows the value, also while moving",
         [](TIBar& b, auto&) { b.SetDiscretization(0), b.SetValue(-0.5f); },
         "sP90 sM20 R20", -0.5f, 0, 1, {"message Value is -0.500", "message Value is -0.500"}},
        {"Alt asks for a value; not a number changes nothing; outside the range is taken",
         [](TIBar&, RecordingDialogs& p) { p.inputAnswers = {"  12.4", "abc", "1e3"}; },
         "aC90 aC90 aC90", 1000, 2, 3,
         {"input Change value (69.000): Enter new value",
          "input Change value (12.000): Enter new value",
          "input Change value (12.000): Enter new value"}},
        {"cancelling the value dialog keeps decimals the dialog did not show",
         [](TIBar& b, auto&) { b.SetDiscretization(0), b.SetValue(0.12345f); },
         "aC90", 0.12345f, 0, 1, {"input Change value (0.123): Enter new value"}},
        {"Alt+Ctrl reports without a change; right button with Alt switches the sound", {},
         "acC10 aCr10 asCr10", 69, 1, 3, {"message Sound is on", "message Sound is off"}},
        {"a double click reports its click but moves nothing", {}, "D90 R90", 69, 0, 1, {}},
        {"other buttons, also with the left one held, only report the click", {},
         "Cm10 Cr10 P57 Cm10 R57", 69, 0, 4, {}},
        {"an error during a gesture ends in a message; the change itself is made",
         [](TIBar& b, auto&) {
             SetClickSound([](float, float) { throw EMidiException("Unable to open port"); });
             b.SetSound(true);
         },
         "P40 R40", 47, 1, 1, {"error Unable to open port."}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        bar.SetValue(69);
        if (c.setup) c.setup(bar, prompts);
        changes = clicks = 0;
        prompts.Clear();
        Play(c.gesture);
        EXPECT_FLOAT_EQ(bar.Value(), c.value);
        EXPECT_EQ(changes, c.changes);
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_EQ(Shown(), c.shown);
        SetClickSound(nullptr);
        bar.SetValue(bar.Value() + 1); // the setter reports again after any gesture
        EXPECT_EQ(changes, c.changes + 1);
        bar.SetSound(false), bar.SetImmediate(true), bar.SetOrientHoriz(true), bar.SetBase(0);
        bar.SetDiscretization(1);
    }
}

TEST_F(KeyBar, AFailingClickDuringADragLosesNoNotification) {
    SetClickSound([](float, float) { throw std::runtime_error("no synthesizer"); });
    bar.SetSound(true);
    bar.SetImmediate(false);
    // Called directly: exceptions must not cross Qt's event delivery in a test.
    EXPECT_THROW(bar.HandleMouse(ssLeft, 3, 10), std::runtime_error);
    SetClickSound(nullptr);
    Play("R3");
    EXPECT_EQ(changes, 1);
    bar.SetValue(7);
    EXPECT_EQ(changes, 2);
}

} // namespace
