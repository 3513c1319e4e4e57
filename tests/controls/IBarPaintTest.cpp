// What the bar draws, checked on grabbed images. The default bar is 107 x 25 with border 3:
// the track runs from x = 3 to x = 103, the inner area from y = 3 to y = 21.

#include "BarTestSupport.h"

#include <QPaintEvent>
#include <QPalette>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct BarImage : ::testing::Test {
    BarWindow w;
    TIBar& bar = *w.bar;
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
};

// Compares colours by their RGB value so that failures print readable names.
#define EXPECT_PIXEL(image, x, y, color)                                                           \
    EXPECT_EQ(QColor((image).pixel((x), (y))).name().toStdString(), (color).name().toStdString())  \
        << "at " << (x) << "," << (y)

TEST_F(BarImage, SystemColoursUsedHereAreDistinct) {
    // The checks below tell the colours apart; a palette mapping two roles alike would hide
    // faults.
    const std::vector<TColor> colours = {clBtnShadow, clBtnFace, clBtnHighlight, clInactiveCaption,
                                         clInactiveBorder};
    for (size_t i = 0; i < colours.size(); ++i)
        for (size_t j = i + 1; j < colours.size(); ++j)
            if (!(colours[i] == clBtnFace && colours[j] == clInactiveBorder)) {
                EXPECT_NE(Sys(colours[i]), Sys(colours[j])) << i << " " << j;
            }
    EXPECT_EQ(Rgb(clBlue), QColor(0, 0, 255));
    EXPECT_EQ(Rgb(clYellow), QColor(255, 255, 0));
    EXPECT_EQ(Rgb(clSilver), QColor(192, 192, 192));
}

TEST_F(BarImage, SlideBackgroundKnobAndBevel) {
    bar.SetValue(60); // position 63
    const QImage image = w.Image();
    EXPECT_PIXEL(image, 30, 12, Rgb(clBlue));
    EXPECT_PIXEL(image, 3, 3, Rgb(clBlue));
    EXPECT_PIXEL(image, 90, 12, Sys(clBtnShadow));
    EXPECT_PIXEL(image, 90, 3, Sys(clBtnShadow));
    EXPECT_PIXEL(image, 90, 22, Sys(clBtnFace)); // cleared ring
    EXPECT_PIXEL(image, 1, 12, Sys(clBtnFace));
    EXPECT_PIXEL(image, 0, 12, Sys(clBtnShadow)); // lowered bevel
    EXPECT_PIXEL(image, 106, 12, Sys(clBtnHighlight));
    EXPECT_PIXEL(image, 50, 24, Sys(clBtnHighlight));
    // Knob from x = 60 to 66 over the whole height, white grip at the value.
    EXPECT_PIXEL(image, 63, 12, Rgb(clWhite));
    EXPECT_PIXEL(image, 62, 12, Sys(clBtnFace));
    EXPECT_PIXEL(image, 60, 12, Sys(cl3DLight));
    EXPECT_PIXEL(image, 66, 12, Sys(cl3DDkShadow));
    EXPECT_PIXEL(image, 63, 0, Sys(cl3DLight));
    EXPECT_PIXEL(image, 63, 24, Sys(cl3DDkShadow));
    EXPECT_PIXEL(image, 67, 12, Sys(clBtnShadow));
}

TEST_F(BarImage, ValueAboveMaxOverflowsToTheEnd) {
    bar.SetValue(150);
    const QImage image = w.Image();
    EXPECT_PIXEL(image, 30, 12, Rgb(clRed));
    EXPECT_PIXEL(image, 99, 12, Rgb(clRed));
    EXPECT_PIXEL(image, 103, 12, Rgb(clWhite)); // knob at the end
}

TEST_F(BarImage, SlideRunsFromTheValueUpToTheBase) {
    bar.SetBase(50);
    bar.SetValue(20); // position 23, base at 53
    QImage image = w.Image();
    EXPECT_PIXEL(image, 40, 12, Rgb(clBlue));
    EXPECT_PIXEL(image, 53, 3, Rgb(clBlue));
    EXPECT_PIXEL(image, 54, 12, Sys(clBtnShadow));
    EXPECT_PIXEL(image, 15, 12, Sys(clBtnShadow));

    // Vertical: the maximum is at the top, so a value below the base extends downwards.
    bar.SetOrientHoriz(false);
    image = w.Image();
    ASSERT_EQ(image.size(), QSize(25, 107));
    EXPECT_PIXEL(image, 12, 70, Rgb(clBlue)); // base at y = 53, value at y = 83
    EXPECT_PIXEL(image, 3, 53, Rgb(clBlue));
    EXPECT_PIXEL(image, 12, 40, Sys(clBtnShadow));
    EXPECT_PIXEL(image, 12, 95, Sys(clBtnShadow));
    EXPECT_PIXEL(image, 12, 83, Rgb(clWhite));
}

TEST_F(BarImage, DisabledBarIsGreyAndHasNoKnob) {
    bar.SetValue(60);
    bar.setEnabled(false);
    const QImage image = w.Image();
    EXPECT_PIXEL(image, 30, 12, Sys(clInactiveCaption));
    EXPECT_PIXEL(image, 63, 12, Sys(clInactiveCaption));
    EXPECT_PIXEL(image, 90, 12, Sys(clInactiveBorder));
    EXPECT_PIXEL(image, 65, 12, Sys(clInactiveBorder)); // where the knob would be
    EXPECT_PIXEL(image, 63, 1, Sys(clBtnFace));
}

TEST_F(BarImage, ScaleTicksColouredByTheirCount) {
    bar.SetShowScale(true); // every 10 from base 0
    bar.SetValue(100);
    const QImage image = w.Image();
    EXPECT_PIXEL(image, Pos(10), 12, Rgb(clSilver));
    EXPECT_PIXEL(image, Pos(40), 3, Rgb(clSilver));
    EXPECT_PIXEL(image, Pos(50), 12, Rgb(clRed));
    EXPECT_PIXEL(image, Pos(50), 20, Rgb(clRed));
    EXPECT_PIXEL(image, Pos(50) + 1, 12, Rgb(clBlue));
    // The downward loop's first tick (-10) lands on the low end after the base's yellow one.
    EXPECT_PIXEL(image, Pos(0), 12, Rgb(clSilver));
}

TEST_F(BarImage, LogScaleShowsOnlyYellowAndRedTicks) {
    bar.SetShowScale(true);
    bar.SetLogScale(true);
    bar.SetValue(100);
    const QImage image = w.Image();
    EXPECT_PIXEL(image, Pos(10), 12, Rgb(clBlue));
    EXPECT_PIXEL(image, Pos(20), 12, Rgb(clBlue));
    EXPECT_PIXEL(image, Pos(50), 12, Rgb(clRed));
    EXPECT_PIXEL(image, Pos(0), 12, Rgb(clYellow));
}

TEST_F(BarImage, MarkBandAroundMarkBase) {
    bar.SetShowMark(true);
    bar.SetMarkBase(30);
    bar.SetMarkPlusMinus(5);
    const QImage image = w.Image();
    // Band x 28..37, y from 3 + 4 to 21 - 4; centre line at x = 33 in the base colour.
    EXPECT_PIXEL(image, 29, 12, Rgb(clRed));
    EXPECT_PIXEL(image, 29, 7, Rgb(clRed));
    EXPECT_PIXEL(image, 29, 6, Sys(clBtnShadow));
    EXPECT_PIXEL(image, 38, 12, Sys(clBtnShadow));
    EXPECT_PIXEL(image, 33, 12, Rgb(clYellow));
}

TEST_F(BarImage, WithoutSlideAValueOnItsBaseShowsTheBaseMarker) {
    bar.SetShowSlide(false);
    bar.SetBase(50);
    bar.SetValue(50); // position 53
    const QImage image = w.Image();
    EXPECT_PIXEL(image, 51, 12, Rgb(clYellow));
    EXPECT_PIXEL(image, 55, 12, Rgb(clYellow));
    EXPECT_PIXEL(image, 56, 12, Sys(clBtnShadow)); // no knob
    EXPECT_PIXEL(image, 0, 12, Sys(clBtnShadow));  // the bevel is still drawn
}

TEST_F(BarImage, FrameShapeIsAnEtchedEdgeTwoPixelsWide) {
    bar.SetShape(TBevelShape::Frame);
    bar.SetStyle(TBevelStyle::Raised);
    bar.SetValue(50); // keeps the knob off the edges
    const QImage image = w.Image();
    EXPECT_PIXEL(image, 0, 12, Sys(clBtnHighlight));
    EXPECT_PIXEL(image, 1, 12, Sys(clBtnShadow));
    EXPECT_PIXEL(image, 105, 12, Sys(clBtnHighlight));
    EXPECT_PIXEL(image, 106, 12, Sys(clBtnShadow));
    EXPECT_PIXEL(image, 2, 12, Sys(clBtnFace));
}

// Pixels of the tick row in the legend strip that carry the text colour.
int LegendTicks(const QImage& image, int row, const QColor& text) {
    int ticks = 0;
    for (int x = 0; x < image.width(); ++x)
        if (QColor(image.pixel(x, row)) == text) ++ticks;
    return ticks;
}

TEST_F(BarImage, LegendLabelsOnlyParsableValuesInsideTheRange) {
    bar.SetLegend({"Zero=0", "Full=100", "Min=-1"});
    bar.SetShowLegend(true);
    QImage image = w.Image();
    const int row = bar.height() - bar.LegendSize() + 5;
    EXPECT_EQ(image.height(), bar.height());
    EXPECT_PIXEL(image, Pos(0), row, Sys(clWindowText));
    EXPECT_PIXEL(image, Pos(100), row, Sys(clWindowText));
    EXPECT_EQ(LegendTicks(image, row, Sys(clWindowText)), 2); // "Min=-1" is outside 0..100

    bar.SetLegend({"Half=50", "Far=500", "Bad=x", "=20", "Empty=", "NoValue"});
    image = w.Image();
    EXPECT_EQ(LegendTicks(image, row, Sys(clWindowText)), 1);
    EXPECT_PIXEL(image, Pos(50), row, Sys(clWindowText));
}

TEST_F(BarImage, VerticalLegendSitsToTheRight) {
    bar.SetOrientHoriz(false);
    bar.SetLegend({"Zero=0", "Full=100"});
    bar.SetShowLegend(true);
    const QImage image = w.Image();
    const int column = bar.width() - bar.LegendSize() + 5;
    EXPECT_PIXEL(image, column, Pos(0), Sys(clWindowText));
    EXPECT_PIXEL(image, column, Pos(100), Sys(clWindowText));
    EXPECT_PIXEL(image, column, Pos(50), QColor(image.pixel(column, Pos(50) + 2)));
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

TEST(BarRepaint, ValueChangeRedrawsOnlyTheBarAtOnce) {
    QWidget window;
    window.resize(400, 200);
    auto* bar = new PaintLog(&window);
    bar->resize(300, 25);
    bar->SetMax(127);
    bar->SetDiscretization(1);
    bar->SetShowLegend(true);
    window.show();
    BarWindow::Settle();
    ASSERT_GT(bar->LegendSize(), 0);
    for (int x : {60, 90, 120}) {
        bar->painted.clear();
        MoveHeld(*bar, x, 10); // every drag step is drawn before the next event is handled
        ASSERT_EQ(bar->painted.size(), 1u) << x;
        EXPECT_EQ(bar->painted[0], bar->BarRect());
        EXPECT_LT(bar->BarRect().height(), bar->height());
    }
}

} // namespace
