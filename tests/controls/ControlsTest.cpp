// The bar control and its helpers: number text, drawing primitives, the bar's arithmetic and
// setters, what it draws (checked on grabbed images) and mouse gestures on a shown bar.

#include "base/Errors.h"
#include "controls/BarMath.h"
#include "controls/ClickSound.h"
#include "controls/IBar.h"
#include "controls/PixelCanvas.h"
#include "controls/ValueText.h"
#include "tests/support/RecordingDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QTest>

#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();

// A shown window holding one bar, so that the bar's deferred repaints happen and the mouse
// reaches it as the user's does.
struct BarWindow {
    QWidget window;
    TIBar* bar = new TIBar(&window);

    BarWindow() {
        window.resize(700, 300);
        bar->move(10, 10);
    }
    // A bar fixes its range and legend strip over a few paints.
    void Show() {
        window.show();
        for (int i = 0; i < 6; ++i)
            QCoreApplication::processEvents();
    }
    QImage Image() {
        Show();
        return bar->grab().toImage();
    }
};

TEST(ValueText, FixedPointWithThreeDecimalsAndStrictReading) {
    const std::pair<float, const char*> shown[] = {{69, "69.000"},
                                                   {-0.5f, "-0.500"},
                                                   {0.12345f, "0.123"},
                                                   {1e6f, "1000000.000"},
                                                   {-0.0f, "0.000"}};
    for (auto [value, text] : shown)
        EXPECT_EQ(ValueText(value), text);
    const std::pair<const char*, float> read[] = {
        {"   -3", -3}, {"+7.25", 7.25f}, {".5", 0.5f}, {"5.", 5}, {"2.5E-1", 0.25f}};
    for (auto [text, value] : read)
        EXPECT_EQ(ParseValue(text), value) << text;
    // Only leading blanks; no other separators, bases or words; nothing beyond a float.
    for (const char* text :
         {"", "abc", "1,5", "12.4 ", "1e", "--1", "0x10", "inf", "nan", "1e39", ".", "+"})
        EXPECT_EQ(ParseValue(text), std::nullopt) << '"' << text << '"';
}

// On a 6 x 6 image: '#' the first colour, 'o' the second, '.' untouched; rows top to bottom,
// separated by '/'.
TEST(PixelCanvas, PrimitivesKeepTheirEdgeRules) {
    const QColor a = Qt::black, b = Qt::red;
    const std::tuple<const char*, std::function<void(QPainter&)>, const char*> cases[] = {
        // clang-format off
        {"a fill leaves its right and lower edges out; an inverted one draws nothing",
         [&](QPainter& p) { FillBox(p, 1, 1, 3, 4, a), FillBox(p, 5, 1, 4, 4, a); },
         "....../.##.../.##.../.##.../....../......"},
        {"a line leaves its end point out, in either direction",
         [&](QPainter& p) { DrawLine(p, 1, 1, 4, 1, a), DrawLine(p, 4, 3, 1, 3, a),
                            DrawLine(p, 5, 1, 5, 4, b), DrawLine(p, 0, 5, 0, 2, b); },
         "....../.###.o/.....o/o.###o/o...../o....."},
        {"an outline includes its corners; a one-point outline is one pixel",
         [&](QPainter& p) { DrawOutline(p, 1, 1, 4, 3, a), DrawOutline(p, 0, 0, 0, 2, a),
                            DrawOutline(p, 5, 5, 5, 5, a); },
         "#...../#####./##..#./.####./....../.....#"},
        {"a 3-D frame two rings wide: the dark edges own the far corners",
         [&](QPainter& p) { DrawFrame3D(p, 0, 0, 6, 6, a, b, 2); },
         "#####o/####oo/##..oo/##..oo/#ooooo/oooooo"},
        // clang-format on
    };
    for (const auto& [what, draw, expected] : cases) {
        QImage image(6, 6, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        draw(painter);
        painter.end();
        std::string rows;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x <= 6; ++x)
                rows += x == 6                         ? '/'
                        : image.pixel(x, y) == a.rgb() ? '#'
                        : image.pixel(x, y) == b.rgb() ? 'o'
                                                       : '.';
        rows.pop_back();
        EXPECT_EQ(rows, expected) << what;
    }
}

TEST(BarMath, RoundingAndDefaultScale) {
    EXPECT_EQ(std::vector({RoundHalfEven(69.5), RoundHalfEven(70.5), RoundHalfEven(-1.5)}),
              std::vector({70.0, 70.0, -2.0}));
    EXPECT_EQ(std::pair(Quantise(0.75, 0.5), Quantise(0.25, 0.5)), std::pair(1.0, 0.0));
    const float ranges[][2] = {{127, 10},    {100, 10},      {99, 1}, {1, 0.1f},
                               {0.5f, 0.1f}, {0.05f, 0.01f}, {0, 0},  {-3, 0}};
    for (const auto& [range, scale] : ranges)
        EXPECT_FLOAT_EQ(DefaultScaleFor(2, 2 + range), scale) << range;
}

// 107 wide with border 3: the track runs from 3 to 103, exactly 100 pixels.
struct HundredPixelBar : ::testing::Test {
    TIBar bar;
    int changes = 0;
    HundredPixelBar() {
        bar.OnChange = [this](TIBar&) { ++changes; };
    }
};

TEST_F(HundredPixelBar, ValueIsQuantisedWithTiesToEvenAndNeverClamped) {
    bar.SetMax(127);
    bar.SetDiscretization(1);
    const float set[] = {69.5f, 70.5f, 69.4f, 150, std::nanf("")};
    const float shown[] = {70, 70, 69, 150, 150};
    const int reported[] = {1, 1, 2, 3, 3}; // no event when the stored value stays
    for (int i = 0; i < 5; ++i) {
        bar.SetValue(set[i]);
        EXPECT_EQ(std::pair(bar.Value(), changes), std::pair(shown[i], reported[i])) << set[i];
    }
}

TEST_F(HundredPixelBar, SettersRefuseOrDerive) {
    bar.SetValue(0.3f);
    bar.SetDiscretization(1); // the stored value is not re-quantised
    bar.SetDiscretization(-0.5f);
    bar.SetDiscretization(Inf);
    EXPECT_EQ(std::pair(bar.Discretization(), bar.Value()), std::pair(1.0f, 0.3f));
    bar.SetShape(TBevelShape::Frame);
    bar.SetStyle(TBevelStyle::Raised);
    EXPECT_EQ(std::pair(bar.Shape(), bar.Style()),
              std::pair(TBevelShape::Frame, TBevelStyle::Raised));
    bar.SetBorder(12); // not below 25 div 2
    EXPECT_EQ(bar.Border(), 3);
    bar.SetBorder(11);
    EXPECT_EQ(bar.Border(), 11);
    bar.SetScale(3);
    bar.SetMax(127);
    EXPECT_FLOAT_EQ(bar.Scale(), 10);
    bar.SetScale(3);
    bar.SetMin(28); // range 99
    EXPECT_FLOAT_EQ(bar.Scale(), 1);
    bar.SetScale(0);
    bar.SetShowScale(true);
    EXPECT_FLOAT_EQ(bar.Scale(), 1);
}

TEST_F(HundredPixelBar, ValueToPosRoundsTiesToEvenAndClampsWithOverflow) {
    bar.SetMax(8);
    // Horizontal, logarithmic, the value, its position and overflow.
    const std::tuple<bool, bool, float, int, bool> cases[] = {
        // clang-format off
        {true, false, 1, 15, false}, {true, false, 3, 41, false}, // 12.5 -> 12, 37.5 -> 38
        {true, false, 9, 103, true}, {true, false, -1, 3, true}, {true, false, Inf, 103, true},
        {false, false, 8, 3, false}, {false, false, 9, 3, true},  // maximum at the top
        {false, true, -0.5f, 103, true},                          // below Min: the low end
        // clang-format on
    };
    for (auto [horizontal, log, value, pos, overflow] : cases) {
        bar.SetOrientHoriz(horizontal);
        bar.SetLogScale(log);
        bool overflowed = !overflow;
        const int at = bar.ValueToPos(value, overflowed);
        EXPECT_EQ(std::pair(at, overflowed), std::pair(pos, overflow)) << value;
    }
}

TEST_F(HundredPixelBar, RangesWithoutPositionsGiveNoNaN) {
    bar.SetMin(5);
    bar.SetMax(5);
    bool overflow = false;
    const int pos = bar.ValueToPos(5, overflow);
    EXPECT_EQ(std::tuple(pos, overflow, bar.PosToValue(50)), std::tuple(3, true, 5.0f));
    bar.SetMin(10); // 10..5 on a logarithm: ln(1 + 5 - 10) does not exist
    bar.SetLogScale(true);
    const float v = bar.PosToValue(50);
    EXPECT_TRUE(v == 10 || v == 5) << v;
}

TEST(BarMapping, PositionOfEveryStepReadsBackAsThatStep) {
    // Linear 0..127 and -1..1 in tenths; logarithmic 0..20 and -5..5 in halves.
    // Horizontal, logarithmic, minimum, maximum, step.
    const std::tuple<bool, bool, float, float, float> cases[] = {{true, false, 0, 127, 1},
                                                                 {false, false, -1, 1, 0.1f},
                                                                 {true, true, 0, 20, 1},
                                                                 {false, true, -5, 5, 0.5f}};
    for (auto [horizontal, log, min, max, step] : cases) {
        TIBar bar;
        bar.resize(620, 25);
        bar.SetOrientHoriz(horizontal);
        bar.SetMin(min);
        bar.SetMax(max);
        bar.SetDiscretization(step);
        bar.SetLogScale(log);
        for (int k = 0; k <= int(std::lround((max - min) / step)); ++k) {
            const float v = float(Quantise(min + k * double(step), step));
            bool overflow = true;
            const int p = bar.ValueToPos(v, overflow);
            EXPECT_FALSE(overflow) << v;
            EXPECT_FLOAT_EQ(bar.PosToValue(p), v) << "at " << p << " log " << log;
        }
    }
}

TEST(LegendStrip, GrowsTheControlAndGoesWithTurningOrSwitchingOff) {
    BarWindow w;
    TIBar& bar = *w.bar;
    bar.SetShowLegend(true);
    w.Show();
    const QFontMetrics metrics(bar.font());
    const int half = metrics.horizontalAdvance("Maximum") / 2 + 2;
    const int strip = metrics.height() + 10 + half;
    // A bar without a range is drawn as -1..1 and keeps its range.
    EXPECT_EQ(std::tuple(bar.LegendSize(), bar.height(), bar.Border(), bar.Max() - bar.Min()),
              std::tuple(strip, 25 + strip, std::max(3, half), 0.0f));
    bar.SetOrientHoriz(false); // strip removed, then the sides swapped
    EXPECT_EQ(std::tuple(bar.LegendSize(), bar.size()), std::tuple(0, QSize(25, 107)));
    w.Show(); // the strip comes back on the right
    EXPECT_EQ(bar.width(), 25 + bar.LegendSize());
    EXPECT_GE(bar.LegendSize(), TIBar::MaxNameWidth(bar.Legend(), metrics) + 10);
    const QSize grown = bar.size();
    bar.SetShowLegend(false);
    w.Show();
    EXPECT_EQ(std::tuple(bar.LegendSize(), bar.Border(), bar.size()), std::tuple(0, 3, grown));
    EXPECT_EQ(TIBar::MaxNameWidth({"A=Maximum", "NoName"}, metrics),
              metrics.horizontalAdvance("A"));
}

TEST(ClickSound, PlaysWithSoundAndAPositiveStepAndNeverSwallowsTheEvent) {
    std::vector<std::pair<float, float>> clicks;
    SetClickSound([&](float distance, float range) { clicks.emplace_back(distance, range); });
    TIBar bar;
    int changes = 0;
    bar.OnChange = [&](TIBar&) { ++changes; };
    bar.SetMax(127);
    bar.SetBase(64);
    bar.SetSound(true);
    bar.SetValue(20); // step 0: silent
    bar.SetDiscretization(1);
    bar.SetValue(30);
    EXPECT_EQ(clicks, (std::vector<std::pair<float, float>>{{34.0f, 127.0f}}));
    SetClickSound([](float, float) { throw std::runtime_error("no synthesizer"); });
    EXPECT_THROW(bar.SetValue(5), std::runtime_error);
    SetClickSound(nullptr);
    EXPECT_EQ(std::pair(bar.Value(), changes), std::pair(5.0f, 3));
}

// What the bar draws, on grabbed images. A 0..100 bar of 107 x 25 with border 3: the track runs
// from x = 3 to x = 103, the inner area from y = 3 to y = 21.
constexpr TColor Green = 0x0000FF00;
constexpr TColor Purple = 0x00800080;

TEST(BarImage, PixelsOfSlideKnobBevelScaleAndState) {
    using Pixel = std::tuple<int, int, TColor>; // x, y, colour
    const std::tuple<const char*, std::function<void(TIBar&)>, std::vector<Pixel>> cases[] = {
        // clang-format off
        {"slide to 60, knob 60..66, bevel and the ring inside it", [](TIBar& b) { b.SetValue(60); },
         {{30, 12, clBlue}, {3, 3, clBlue}, {90, 20, clBtnShadow}, {90, 22, clBtnFace},
          {0, 12, clBtnShadow}, {106, 12, clBtnHighlight}, {63, 12, clWhite}, {62, 12, clBtnFace},
          {60, 12, cl3DLight}, {66, 24, cl3DDkShadow}}},
        {"overflow ends in red with the knob at the end", [](TIBar& b) { b.SetValue(150); },
         {{99, 12, clRed}, {103, 12, clWhite}}},
        {"below the base the slide runs from the value up to the base",
         [](TIBar& b) { b.SetBase(50), b.SetValue(20); },
         {{40, 12, clBlue}, {53, 3, clBlue}, {54, 12, clBtnShadow}, {15, 12, clBtnShadow}}},
        {"vertical: maximum at the top, below the base further down",
         [](TIBar& b) { b.SetBase(50), b.SetValue(20), b.SetOrientHoriz(false); },
         {{12, 70, clBlue}, {12, 40, clBtnShadow}, {12, 83, clWhite}}},
        {"disabled: grey, no knob", [](TIBar& b) { b.SetValue(60), b.setEnabled(false); },
         {{63, 12, clInactiveCaption}, {90, 12, clInactiveBorder}, {65, 12, clInactiveBorder}}},
        // The downward loop's first tick (-10) lands on the low end after the base's yellow.
        {"scale every 10 from base 0", [](TIBar& b) { b.SetShowScale(true), b.SetValue(100); },
         {{13, 12, clSilver}, {53, 3, clRed}, {54, 12, clBlue}, {3, 12, clSilver}}},
        {"logarithmic scale leaves the silver ticks out",
         [](TIBar& b) { b.SetShowScale(true), b.SetValue(100), b.SetLogScale(true); },
         {{55, 12, clBlue}, {88, 12, clRed}, {3, 12, clYellow}}}, // 10 at 55, 50 at 88
        {"own colour of an overflowing slide", [](TIBar& b) { b.SetValue(150), b.SetOverflowColor(Green); },
         {{99, 12, Green}}},
        {"without a slide a value at the base shows a marker, 51..55, in the base colour",
         [](TIBar& b) { b.SetShowSlide(false), b.SetBase(50), b.SetValue(50), b.SetBaseColor(Purple); },
         {{51, 12, Purple}, {55, 12, Purple}, {56, 12, clBtnShadow}}},
        // clang-format on
    };
    const QPalette palette = BarWindow().bar->palette(); // the checks tell these apart
    ASSERT_NE(ToQColor(clBtnShadow, palette), ToQColor(clBtnFace, palette));
    ASSERT_NE(ToQColor(clInactiveBorder, palette), ToQColor(clInactiveCaption, palette));
    for (const auto& [what, setup, pixels] : cases) {
        SCOPED_TRACE(what);
        BarWindow w;
        w.bar->SetMax(100);
        w.bar->SetDiscretization(1);
        setup(*w.bar);
        const QImage image = w.Image();
        for (auto [x, y, color] : pixels)
            EXPECT_EQ(QColor(image.pixel(x, y)).name(), ToQColor(color, w.bar->palette()).name())
                << x << "," << y;
    }
}

TEST(BarImage, LegendLabelsOnlyParsableValuesInsideTheRange) {
    BarWindow w;
    TIBar& bar = *w.bar;
    bar.SetMax(100);
    bar.SetLegend({"Half=50", "Full=100", "Far=500", "Bad=x", "=20", "Empty=", "NoValue"});
    bar.SetShowLegend(true);
    const QImage image = w.Image();
    ASSERT_EQ(image.height(), bar.height());
    const int row = bar.height() - bar.LegendSize() + 5;
    std::vector<int> ticks;
    for (int x = 0; x < image.width(); ++x)
        if (QColor(image.pixel(x, row)).name() == ToQColor(clWindowText, bar.palette()).name())
            ticks.push_back(x);
    bool overflow = false;
    EXPECT_EQ(ticks,
              std::vector<int>({bar.ValueToPos(50, overflow), bar.ValueToPos(100, overflow)}));
    // The bar's edge next to the strip gives way to it, also on a turned bar.
    const QString face = ToQColor(clBtnFace, bar.palette()).name();
    EXPECT_EQ(QColor(image.pixel(50, bar.BarRect().height() - 1)).name(), face);
    bar.SetOrientHoriz(false);
    const QImage turned = w.Image();
    EXPECT_EQ(QColor(turned.pixel(bar.BarRect().width() - 1, 50)).name(), face);
}

// Records the region of every paint.
struct PaintLog : TIBar {
    using TIBar::TIBar;
    std::vector<QRect> painted;
    void paintEvent(QPaintEvent* event) override {
        painted.push_back(event->rect());
        TIBar::paintEvent(event);
    }
};

TEST(BarImage, EveryDragStepRedrawsOnlyTheBarAtOnce) {
    BarWindow w;
    auto* bar = new PaintLog(&w.window);
    bar->resize(300, 25);
    bar->SetMax(127);
    bar->SetShowLegend(true);
    w.Show();
    ASSERT_LT(bar->BarRect().height(), bar->height());
    QTest::mousePress(bar, Qt::LeftButton, {}, {30, 10});
    for (int x : {60, 90, 120}) {
        bar->painted.clear();
        QTest::mouseMove(bar, {x, 10});
        EXPECT_EQ(bar->painted, std::vector<QRect>({bar->BarRect()})) << x;
    }
    QTest::mouseRelease(bar, Qt::LeftButton, {}, {120, 10});
}

// Mouse gestures on a shown bar: QTest presses, moves and releases with buttons and keys held.

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
    using Setup = std::function<void(TIBar&)>;
    // What the case shows, the set-up, the gesture, then the value, the changes and clicks
    // reported and the prompts shown.
    const std::tuple<const char*, Setup, const char*, float, int, int, Texts> cases[] = {
        // clang-format off
        {"a drag clamps at the ends and reports each change", {},
         "P-40 M500 M600 R600", 127, 2, 1, {}},
        {"without Immediate a drag reports once, at the release, also when it did not move",
         [](TIBar& b) { b.SetImmediate(false); },
         "P3 M80 R80 C80", 98, 2, 2, {}},
        {"a vertical bar follows y with its maximum at the top",
         [](TIBar& b) { b.SetOrientHoriz(false); },
         "P12,3 M12,53 R12,53", 64, 2, 1, {}},
        {"Ctrl resets to Base at once, even without Immediate",
         [](TIBar& b) { b.SetImmediate(false), b.SetBase(64); },
         "cP90 R90", 64, 1, 1, {}},
        {"Shift shows the value, also while moving",
         [](TIBar& b) { b.SetDiscretization(0), b.SetValue(-0.5f); },
         "sP90 sM20 R20", -0.5f, 0, 1, {"message Value is -0.500", "message Value is -0.500"}},
        {"Alt asks for a value; not a number changes nothing; outside the range is taken",
         [this](TIBar&) { prompts.inputAnswers = {"  12.4", "abc", "1e3"}; },
         "aC90 aC90 aC90", 1000, 2, 3,
         {"input Change value (69.000): Enter new value",
          "input Change value (12.000): Enter new value",
          "input Change value (12.000): Enter new value"}},
        {"cancelling the value dialog keeps decimals the dialog did not show",
         [](TIBar& b) { b.SetDiscretization(0), b.SetValue(0.12345f); },
         "aC90", 0.12345f, 0, 1, {"input Change value (0.123): Enter new value"}},
        {"Alt+Ctrl reports without a change; right button with Alt switches the sound", {},
         "acC10 aCr10 asCr10", 69, 1, 3, {"message Sound is on", "message Sound is off"}},
        {"a double click reports its click but moves nothing", {}, "D90 R90", 69, 0, 1, {}},
        {"other buttons, also with the left one held, only report the click", {},
         "Cm10 Cr10 P57 Cm10 R57", 69, 0, 4, {}},
        {"an error during a gesture ends in a message; the change itself is made",
         [](TIBar& b) {
             SetClickSound([](float, float) { throw EMidiException("Unable to open port"); });
             b.SetSound(true);
         },
         "P40 R40", 47, 1, 1, {"error Unable to open port."}},
        // clang-format on
    };
    for (const auto& [what, setup, gesture, value, reported, clicked, texts] : cases) {
        SCOPED_TRACE(what);
        bar.SetValue(69);
        if (setup) setup(bar);
        changes = clicks = 0;
        prompts.Clear();
        Play(gesture);
        EXPECT_FLOAT_EQ(bar.Value(), value);
        EXPECT_EQ(std::tuple(changes, clicks, Shown()), std::tuple(reported, clicked, texts));
        SetClickSound(nullptr);
        bar.SetValue(bar.Value() + 1); // the setter reports again after any gesture
        EXPECT_EQ(changes, reported + 1);
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

int main(int argc, char** argv) {
    QApplication app(argc, argv); // the widget tests run on the offscreen platform
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
