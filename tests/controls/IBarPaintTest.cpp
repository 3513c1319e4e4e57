// What the bar draws, checked on grabbed images. A 0..100 bar of 107 x 25 with border 3: the
// track runs from x = 3 to x = 103, the inner area from y = 3 to y = 21.

#include "BarTestSupport.h"

#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QTest>

#include <functional>
#include <vector>

namespace {

constexpr TColor Green = 0x0000FF00;
constexpr TColor Purple = 0x00800080;

TEST(BarImage, PixelsOfSlideKnobBevelScaleAndState) {
    struct Pixel {
        int x, y;
        TColor color;
    };
    const struct {
        const char* what;
        std::function<void(TIBar&)> setup;
        std::vector<Pixel> pixels;
    } cases[] = {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BarWindow w;
        w.bar->SetMax(100);
        w.bar->SetDiscretization(1);
        c.setup(*w.bar);
        const QImage image = w.Image();
        for (const Pixel& p : c.pixels)
            EXPECT_EQ(QColor(image.pixel(p.x, p.y)).name(),
                      ToQColor(p.color, w.bar->palette()).name())
                << p.x << "," << p.y;
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

} // namespace
