// What the bar draws, checked on grabbed images. A 0..100 bar of 107 x 25 with border 3: the
// track runs from x = 3 to x = 103, the inner area from y = 3 to y = 21.

#include "BarTestSupport.h"

#include <QPaintEvent>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct BarImage : ::testing::Test {
    BarWindow w;
    TIBar& bar = *w.bar;
    QImage image;
    BarImage() {
        bar.SetMax(100);
        bar.SetDiscretization(1);
    }
    QColor Sys(TColor color) const { return ToQColor(color, bar.palette()); }
    static QColor Rgb(TColor color) { return ToQColor(color, QPalette()); }
    int Pos(float v) const {
        bool overflow = false;
        return bar.ValueToPos(v, overflow);
    }
    std::string At(int x, int y) const { return QColor(image.pixel(x, y)).name().toStdString(); }
    static std::string Name(const QColor& c) { return c.name().toStdString(); }
};

TEST_F(BarImage, SlideKnobAndBevel) {
    ASSERT_NE(Sys(clBtnShadow), Sys(clBtnFace));
    bar.SetValue(60); // position 63, knob from 60 to 66
    image = w.Image();
    EXPECT_EQ(At(30, 12), Name(Rgb(clBlue)));
    EXPECT_EQ(At(3, 3), Name(Rgb(clBlue)));
    EXPECT_EQ(At(90, 20), Name(Sys(clBtnShadow)));
    EXPECT_EQ(At(90, 22), Name(Sys(clBtnFace))); // ring between bevel and inner area
    EXPECT_EQ(At(0, 12), Name(Sys(clBtnShadow)));
    EXPECT_EQ(At(106, 12), Name(Sys(clBtnHighlight)));
    EXPECT_EQ(At(63, 12), Name(Rgb(clWhite)));
    EXPECT_EQ(At(62, 12), Name(Sys(clBtnFace)));
    EXPECT_EQ(At(60, 12), Name(Sys(cl3DLight)));
    EXPECT_EQ(At(66, 24), Name(Sys(cl3DDkShadow)));
}

TEST_F(BarImage, OverflowAndBothSidesOfTheBase) {
    bar.SetValue(150);
    image = w.Image();
    EXPECT_EQ(At(99, 12), Name(Rgb(clRed)));
    EXPECT_EQ(At(103, 12), Name(Rgb(clWhite))); // knob at the end

    bar.SetBase(50);
    bar.SetValue(20); // slide from 23 to the base at 53
    image = w.Image();
    EXPECT_EQ(At(40, 12), Name(Rgb(clBlue)));
    EXPECT_EQ(At(53, 3), Name(Rgb(clBlue)));
    EXPECT_EQ(At(54, 12), Name(Sys(clBtnShadow)));
    EXPECT_EQ(At(15, 12), Name(Sys(clBtnShadow)));

    bar.SetOrientHoriz(false); // maximum at the top: below the base means further down
    image = w.Image();
    EXPECT_EQ(At(12, 70), Name(Rgb(clBlue)));
    EXPECT_EQ(At(12, 40), Name(Sys(clBtnShadow)));
    EXPECT_EQ(At(12, 83), Name(Rgb(clWhite)));
}

TEST_F(BarImage, DisabledBarIsGreyAndHasNoKnob) {
    ASSERT_NE(Sys(clInactiveBorder), Sys(clInactiveCaption));
    bar.SetValue(60);
    bar.setEnabled(false);
    image = w.Image();
    EXPECT_EQ(At(63, 12), Name(Sys(clInactiveCaption)));
    EXPECT_EQ(At(90, 12), Name(Sys(clInactiveBorder)));
    EXPECT_EQ(At(65, 12), Name(Sys(clInactiveBorder))); // where the knob would be
}

TEST_F(BarImage, ScaleTicksAndTheirColours) {
    bar.SetShowScale(true); // every 10 from base 0
    bar.SetValue(100);
    image = w.Image();
    EXPECT_EQ(At(Pos(10), 12), Name(Rgb(clSilver)));
    EXPECT_EQ(At(Pos(50), 3), Name(Rgb(clRed)));
    EXPECT_EQ(At(Pos(50) + 1, 12), Name(Rgb(clBlue)));
    // The downward loop's first tick (-10) lands on the low end after the base's yellow one.
    EXPECT_EQ(At(Pos(0), 12), Name(Rgb(clSilver)));

    bar.SetLogScale(true); // silver ticks are left out
    image = w.Image();
    EXPECT_EQ(At(Pos(10), 12), Name(Rgb(clBlue)));
    EXPECT_EQ(At(Pos(50), 12), Name(Rgb(clRed)));
    EXPECT_EQ(At(Pos(0), 12), Name(Rgb(clYellow)));
}

TEST_F(BarImage, LegendLabelsOnlyParsableValuesInsideTheRange) {
    bar.SetLegend({"Half=50", "Full=100", "Far=500", "Bad=x", "=20", "Empty=", "NoValue"});
    bar.SetShowLegend(true);
    image = w.Image();
    ASSERT_EQ(image.height(), bar.height());
    const int row = bar.height() - bar.LegendSize() + 5;
    std::vector<int> ticks;
    for (int x = 0; x < image.width(); ++x)
        if (QColor(image.pixel(x, row)) == Sys(clWindowText)) ticks.push_back(x);
    EXPECT_EQ(ticks, std::vector<int>({Pos(50), Pos(100)}));
}

// Records the region of every paint.
class PaintLog : public TIBar {
public:
    using TIBar::TIBar;
    std::vector<QRect> painted;

protected:
    void paintEvent(QPaintEvent* event) override {
        painted.push_back(event->rect());
        TIBar::paintEvent(event);
    }
};

TEST(BarRepaint, EveryDragStepRedrawsOnlyTheBarAtOnce) {
    QWidget window;
    auto* bar = new PaintLog(&window);
    bar->resize(300, 25);
    bar->SetMax(127);
    bar->SetShowLegend(true);
    window.show();
    BarWindow::Settle();
    ASSERT_LT(bar->BarRect().height(), bar->height());
    for (int x : {60, 90, 120}) {
        bar->painted.clear();
        MoveHeld(*bar, x, 10);
        EXPECT_EQ(bar->painted, std::vector<QRect>({bar->BarRect()})) << x;
    }
}

} // namespace
