// The bar's arithmetic and property rules: quantisation, default scale, value/position mapping
// and the setters that refuse or derive values.

#include "BarTestSupport.h"

#include "controls/BarMath.h"
#include "controls/ClickSound.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

namespace {

// A bar whose usable length is exactly 100 pixels: 107 wide, border 3.
struct HundredPixelBar : ::testing::Test {
    TIBar bar;
    int changes = 0;
    HundredPixelBar() {
        bar.OnChange = [this](TIBar&) { ++changes; };
    }
    int Pos(float v, bool& overflow) const { return bar.ValueToPos(v, overflow); }
};

TEST(BarMath, RoundsTiesToEven) {
    EXPECT_EQ(RoundHalfEven(69.5), 70);
    EXPECT_EQ(RoundHalfEven(70.5), 70);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(69.4), 69);
    EXPECT_EQ(Quantise(0.75, 0.5), 1.0); // 1.5 steps -> 2 steps
    EXPECT_EQ(Quantise(0.25, 0.5), 0.0); // 0.5 steps -> 0 steps
    EXPECT_EQ(Quantise(0.3, 0), 0.3);
}

TEST(BarMath, DefaultScaleFollowsTheRangesDecade) {
    EXPECT_FLOAT_EQ(DefaultScaleFor(0, 127), 10);
    EXPECT_FLOAT_EQ(DefaultScaleFor(0, 100), 10);
    EXPECT_FLOAT_EQ(DefaultScaleFor(0, 99), 1);
    EXPECT_FLOAT_EQ(DefaultScaleFor(-0.5f, 0.5f), 0.1f);
    EXPECT_FLOAT_EQ(DefaultScaleFor(0, 0.5f), 0.1f);
    EXPECT_FLOAT_EQ(DefaultScaleFor(0, 0.05f), 0.01f);
    EXPECT_EQ(DefaultScaleFor(5, 5), 0);
    EXPECT_EQ(DefaultScaleFor(5, 1), 0);
}

TEST_F(HundredPixelBar, ConstructionDefaults) {
    EXPECT_EQ(bar.width(), 107);
    EXPECT_EQ(bar.height(), 25);
    EXPECT_EQ(bar.Border(), 3);
    EXPECT_TRUE(bar.OrientHoriz());
    EXPECT_TRUE(bar.ShowSlide());
    EXPECT_TRUE(bar.Immediate());
    EXPECT_EQ(bar.BackgroundColor(), clBtnShadow);
    EXPECT_EQ(bar.SlideColor(), clBlue);
    EXPECT_EQ(bar.BaseColor(), clYellow);
    EXPECT_EQ(bar.OverflowColor(), clRed);
    EXPECT_EQ(bar.MarkColor(), clRed);
    EXPECT_EQ(bar.Legend(), QStringList({"Zero=0", "Max=1", "Min=-1"}));
    EXPECT_EQ(bar.Shape(), TBevelShape::Box);
    EXPECT_EQ(bar.Style(), TBevelStyle::Lowered);
    EXPECT_EQ(bar.focusPolicy(), Qt::NoFocus);
}

TEST_F(HundredPixelBar, ValueIsQuantisedWithTiesToEvenAndNeverClamped) {
    bar.SetMax(127);
    bar.SetDiscretization(1);
    bar.SetValue(69.5f);
    EXPECT_EQ(bar.Value(), 70);
    EXPECT_EQ(changes, 1);
    bar.SetValue(70.5f); // quantises to the stored 70: no event
    EXPECT_EQ(bar.Value(), 70);
    EXPECT_EQ(changes, 1);
    bar.SetValue(69.4f);
    EXPECT_EQ(bar.Value(), 69);
    EXPECT_EQ(changes, 2);
    bar.SetValue(69);
    EXPECT_EQ(changes, 2);
    bar.SetValue(150);
    EXPECT_EQ(bar.Value(), 150);
    bar.SetValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(bar.Value(), 150);
    EXPECT_EQ(changes, 3);
}

TEST_F(HundredPixelBar, DiscretizationRefusesNegativeStepsAndDoesNotRequantise) {
    bar.SetValue(0.3f);
    bar.SetDiscretization(1);
    EXPECT_EQ(bar.Discretization(), 1);
    EXPECT_FLOAT_EQ(bar.Value(), 0.3f);
    bar.SetDiscretization(-0.5f);
    EXPECT_EQ(bar.Discretization(), 1);
    bar.SetDiscretization(std::numeric_limits<float>::infinity());
    EXPECT_EQ(bar.Discretization(), 1);
    bar.SetDiscretization(0);
    bar.SetValue(0.25f);
    EXPECT_FLOAT_EQ(bar.Value(), 0.25f);
}

TEST_F(HundredPixelBar, BorderMustStayBelowHalfTheHeight) {
    bar.SetBorder(12); // 25 div 2
    EXPECT_EQ(bar.Border(), 3);
    bar.SetBorder(11);
    EXPECT_EQ(bar.Border(), 11);
    // A vertical bar measures against its height as well, not its width.
    bar.SetOrientHoriz(false);
    ASSERT_EQ(bar.height(), 107);
    bar.SetBorder(53);
    EXPECT_EQ(bar.Border(), 11);
    bar.SetBorder(20);
    EXPECT_EQ(bar.Border(), 20);
}

TEST_F(HundredPixelBar, MinAndMaxReplaceAnEarlierScale) {
    bar.SetScale(3);
    bar.SetMax(127);
    EXPECT_FLOAT_EQ(bar.Scale(), 10);
    bar.SetScale(3);
    bar.SetMin(28); // range 99
    EXPECT_FLOAT_EQ(bar.Scale(), 1);
    bar.SetScale(3);
    bar.SetMax(127); // unchanged: Scale stays
    EXPECT_FLOAT_EQ(bar.Scale(), 3);
}

TEST_F(HundredPixelBar, ShowScaleChoosesADefaultOnlyWhenScaleIsUnset) {
    TIBar fresh;
    fresh.SetMin(0);
    fresh.SetMax(0.5f); // Scale := 0.1
    fresh.SetScale(0);
    fresh.SetShowScale(true);
    EXPECT_FLOAT_EQ(fresh.Scale(), 0.1f);
    fresh.SetShowScale(false);
    fresh.SetScale(2);
    fresh.SetShowScale(true);
    EXPECT_FLOAT_EQ(fresh.Scale(), 2);
}

TEST_F(HundredPixelBar, ValueToPosRoundsTiesToEvenAndFlagsOverflow) {
    bar.SetMax(8);
    bool overflow = true;
    EXPECT_EQ(Pos(1, overflow), 3 + 12); // 12.5 -> 12
    EXPECT_FALSE(overflow);
    EXPECT_EQ(Pos(3, overflow), 3 + 38); // 37.5 -> 38
    EXPECT_EQ(Pos(9, overflow), 103);
    EXPECT_TRUE(overflow);
    EXPECT_EQ(Pos(-1, overflow), 3);
    EXPECT_TRUE(overflow);
    EXPECT_EQ(Pos(8, overflow), 103);
    EXPECT_FALSE(overflow);
    EXPECT_EQ(Pos(std::numeric_limits<float>::infinity(), overflow), 103);
    EXPECT_TRUE(overflow);

    bar.SetOrientHoriz(false); // maximum at the top
    EXPECT_EQ(Pos(8, overflow), 3);
    EXPECT_FALSE(overflow);
    EXPECT_EQ(Pos(0, overflow), 103);
    EXPECT_EQ(Pos(9, overflow), 3);
    EXPECT_TRUE(overflow);
    EXPECT_EQ(Pos(-5, overflow), 103);
    EXPECT_TRUE(overflow);
}

TEST_F(HundredPixelBar, LogScaleSendsValuesBelowMinToTheLowEnd) {
    bar.SetMax(127);
    bar.SetLogScale(true);
    bool overflow = false;
    EXPECT_EQ(Pos(-0.5f, overflow), 3);
    EXPECT_TRUE(overflow);
    EXPECT_EQ(Pos(127, overflow), 103);
    EXPECT_FALSE(overflow);
    // ln(1 + 10) / ln(128) of 100 pixels
    EXPECT_EQ(Pos(10, overflow), 3 + int(std::lround(std::log(11.0) / std::log(128.0) * 100)));
    bar.SetOrientHoriz(false);
    EXPECT_EQ(Pos(-0.5f, overflow), 103);
    EXPECT_TRUE(overflow);
}

TEST_F(HundredPixelBar, EmptyRangeHasNoPositionButDoesNotFail) {
    bar.SetMin(5);
    bar.SetMax(5);
    bool overflow = false;
    EXPECT_EQ(Pos(5, overflow), 3);
    EXPECT_TRUE(overflow);
    EXPECT_EQ(bar.PosToValue(50), 5);
}

TEST_F(HundredPixelBar, PositionsClampToTheEnds) {
    bar.SetMax(127);
    bar.SetDiscretization(1);
    EXPECT_EQ(bar.PosToValue(3), 0);
    EXPECT_EQ(bar.PosToValue(103), 127);
    EXPECT_EQ(bar.PosToValue(-40), 0);
    EXPECT_EQ(bar.PosToValue(400), 127);
    EXPECT_EQ(bar.PosToValue(53), 64); // 50 / 100 * 127 = 63.5 -> 64
    bar.SetOrientHoriz(false);
    EXPECT_EQ(bar.PosToValue(3), 127);
    EXPECT_EQ(bar.PosToValue(103), 0);
    EXPECT_EQ(bar.PosToValue(-40), 127);
}

TEST_F(HundredPixelBar, LogarithmOfAnInvertedRangeGivesMin) {
    bar.SetMin(10);
    bar.SetMax(0); // ln(1 + 0 - 10) does not exist
    bar.SetLogScale(true);
    // As on a linear bar with Min above Max, every position gives one of the two ends.
    for (int p : {3, 50, 103}) {
        const float v = bar.PosToValue(p);
        EXPECT_TRUE(v == 10 || v == 0) << v;
    }
}

struct RoundTripCase {
    bool horizontal;
    bool log;
    float min, max, step;
};

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, PositionOfEveryStepReadsBackAsThatStep) {
    const RoundTripCase c = GetParam();
    TIBar bar;
    bar.resize(620, 25);
    bar.SetOrientHoriz(c.horizontal);
    bar.SetMin(c.min);
    bar.SetMax(c.max);
    bar.SetDiscretization(c.step);
    bar.SetLogScale(c.log);
    const int steps = int(std::lround((c.max - c.min) / c.step));
    for (int k = 0; k <= steps; ++k) {
        const float v = float(Quantise(c.min + k * double(c.step), c.step));
        bool overflow = true;
        const int p = bar.ValueToPos(v, overflow);
        EXPECT_FALSE(overflow) << v;
        EXPECT_FLOAT_EQ(bar.PosToValue(p), v) << "value " << v << " at " << p;
    }
}

INSTANTIATE_TEST_SUITE_P(
    BothOrientationsAndScales, RoundTrip,
    ::testing::Values(RoundTripCase{true, false, 0, 127, 1}, RoundTripCase{false, false, 0, 127, 1},
                      RoundTripCase{true, false, -1, 1, 0.1f},
                      RoundTripCase{false, false, -1, 1, 0.1f}, RoundTripCase{true, true, 0, 20, 1},
                      RoundTripCase{false, true, 0, 20, 1}, RoundTripCase{true, true, -5, 5, 0.5f},
                      RoundTripCase{false, true, -5, 5, 0.5f}));

TEST(Orientation, TurningSwapsTheSidesAndDropsTheLegendStrip) {
    BarWindow w;
    TIBar& bar = *w.bar;
    bar.SetShowLegend(true);
    w.Show();
    const int strip = bar.LegendSize();
    ASSERT_GT(strip, 0);
    EXPECT_EQ(bar.height(), 25 + strip);

    bar.SetOrientHoriz(false);
    EXPECT_EQ(bar.LegendSize(), 0);
    EXPECT_EQ(bar.width(), 25);
    EXPECT_EQ(bar.height(), 107);
    w.Show(); // the strip comes back on the right
    const QFontMetrics metrics(bar.font());
    EXPECT_EQ(bar.width(), 25 + bar.LegendSize());
    EXPECT_GE(bar.LegendSize(), TIBar::MaxNameWidth(bar.Legend(), metrics) + 10);

    bar.SetOrientHoriz(true);
    EXPECT_EQ(bar.width(), 107);
    EXPECT_EQ(bar.height(), 25);
}

TEST(Legend, HorizontalStripGrowsTheControlAndRaisesTheBorder) {
    BarWindow w;
    TIBar& bar = *w.bar;
    bar.SetShowLegend(true);
    w.Show();
    const QFontMetrics metrics(bar.font());
    const int half = metrics.horizontalAdvance("Maximum") / 2 + 2;
    EXPECT_EQ(bar.LegendSize(), metrics.height() + 10 + half);
    EXPECT_EQ(bar.height(), 25 + bar.LegendSize());
    EXPECT_EQ(bar.Border(), std::max(3, half));
    // The range of a bar that never got one is -1..1, set without touching Scale.
    EXPECT_EQ(bar.Min(), -1);
    EXPECT_EQ(bar.Max(), 1);
    EXPECT_EQ(bar.Scale(), 0);

    // Switching the legend off drops the strip and resets the border; the size stays.
    const int grown = bar.height();
    bar.SetShowLegend(false);
    w.Show();
    EXPECT_EQ(bar.LegendSize(), 0);
    EXPECT_EQ(bar.Border(), 3);
    EXPECT_EQ(bar.height(), grown);
}

TEST(Legend, MaxNameWidthMeasuresTheNameParts) {
    QFont font;
    const QFontMetrics metrics(font);
    EXPECT_EQ(TIBar::MaxNameWidth({}, metrics), 0);
    EXPECT_EQ(TIBar::MaxNameWidth({"Zero=0", "Maximum=1", "Min=-1"}, metrics),
              metrics.horizontalAdvance("Maximum"));
    // Lines without '=' have no name; the value part is not measured.
    EXPECT_EQ(TIBar::MaxNameWidth({"A=Maximum Maximum", "NoNameAtAll"}, metrics),
              metrics.horizontalAdvance("A"));
}

struct ClickRecorder : ::testing::Test {
    std::vector<std::pair<float, float>> clicks;
    ClickRecorder() {
        SetClickSound(
            [this](float distance, float range) { clicks.emplace_back(distance, range); });
    }
    ~ClickRecorder() override { SetClickSound(nullptr); }
};

TEST_F(ClickRecorder, ClickPlaysOnlyWithSoundAndAPositiveStep) {
    TIBar bar;
    bar.SetMax(127);
    bar.SetBase(64);
    bar.SetValue(10);
    bar.SetSound(true);
    bar.SetValue(20); // step 0: silent
    bar.SetDiscretization(1);
    bar.SetValue(30);
    bar.SetValue(30.2f); // same value after quantising: silent
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_FLOAT_EQ(clicks[0].first, 34);
    EXPECT_FLOAT_EQ(clicks[0].second, 127);
}

TEST_F(ClickRecorder, AFailingClickStillCompletesTheChange) {
    SetClickSound([](float, float) { throw std::runtime_error("no synthesizer"); });
    TIBar bar;
    bar.SetMax(127);
    bar.SetDiscretization(1);
    bar.SetSound(true);
    int changes = 0;
    bar.OnChange = [&](TIBar&) { ++changes; };
    EXPECT_THROW(bar.SetValue(5), std::runtime_error);
    EXPECT_EQ(bar.Value(), 5);
    EXPECT_EQ(changes, 1);
}

} // namespace
