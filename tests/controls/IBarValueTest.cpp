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

namespace {

TEST(BarMath, RoundingAndDefaultScale) {
    EXPECT_EQ(RoundHalfEven(69.5), 70);
    EXPECT_EQ(RoundHalfEven(70.5), 70);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(Quantise(0.75, 0.5), 1.0);
    EXPECT_EQ(Quantise(0.25, 0.5), 0.0);
    const float ranges[][2] = {{127, 10},    {100, 10},      {99, 1}, {1, 0.1f},
                               {0.5f, 0.1f}, {0.05f, 0.01f}, {0, 0},  {-3, 0}};
    for (const auto& [range, scale] : ranges)
        EXPECT_FLOAT_EQ(DefaultScaleFor(2, 2 + range), scale) << range;
}

// 107 wide with border 3: the track runs from 3 to 103, exactly 100 pixels.
struct HundredPixelBar : ::testing::Test {
    TIBar bar;
    int changes = 0;
    bool overflow = false;
    HundredPixelBar() {
        bar.OnChange = [this](TIBar&) { ++changes; };
    }
    int Pos(float v) { return bar.ValueToPos(v, overflow); }
};

TEST_F(HundredPixelBar, ValueIsQuantisedWithTiesToEvenAndNeverClamped) {
    bar.SetMax(127);
    bar.SetDiscretization(1);
    bar.SetValue(69.5f);
    EXPECT_EQ(bar.Value(), 70);
    bar.SetValue(70.5f); // quantises to the stored 70: no event
    bar.SetValue(69.4f);
    EXPECT_EQ(bar.Value(), 69);
    EXPECT_EQ(changes, 2);
    bar.SetValue(150);
    bar.SetValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(bar.Value(), 150);
    EXPECT_EQ(changes, 3);
}

TEST_F(HundredPixelBar, SettersRefuseOrDerive) {
    bar.SetValue(0.3f);
    bar.SetDiscretization(1); // the stored value is not re-quantised
    bar.SetDiscretization(-0.5f);
    bar.SetDiscretization(std::numeric_limits<float>::infinity());
    EXPECT_EQ(bar.Discretization(), 1);
    EXPECT_FLOAT_EQ(bar.Value(), 0.3f);

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
    EXPECT_EQ(Pos(1), 3 + 12); // 12.5 -> 12
    EXPECT_EQ(Pos(3), 3 + 38); // 37.5 -> 38
    EXPECT_FALSE(overflow);
    EXPECT_EQ(Pos(9), 103);
    EXPECT_TRUE(overflow);
    EXPECT_EQ(Pos(-1), 3);
    EXPECT_TRUE(overflow);
    EXPECT_EQ(Pos(std::numeric_limits<float>::infinity()), 103);
    bar.SetOrientHoriz(false); // 25 x 107, maximum at the top
    EXPECT_EQ(Pos(8), 3);
    EXPECT_FALSE(overflow);
    EXPECT_EQ(Pos(9), 3);
    EXPECT_TRUE(overflow);
    bar.SetLogScale(true); // below Min: the low end
    EXPECT_EQ(Pos(-0.5f), 103);
    EXPECT_TRUE(overflow);
}

TEST_F(HundredPixelBar, RangesWithoutPositionsGiveNoNaN) {
    bar.SetMin(5);
    bar.SetMax(5);
    EXPECT_EQ(Pos(5), 3);
    EXPECT_TRUE(overflow);
    EXPECT_EQ(bar.PosToValue(50), 5);
    bar.SetMin(10); // 10..5 on a logarithm: ln(1 + 5 - 10) does not exist
    bar.SetLogScale(true);
    const float v = bar.PosToValue(50);
    EXPECT_TRUE(v == 10 || v == 5) << v;
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
    for (int k = 0; k <= int(std::lround((c.max - c.min) / c.step)); ++k) {
        const float v = float(Quantise(c.min + k * double(c.step), c.step));
        bool overflow = true;
        const int p = bar.ValueToPos(v, overflow);
        EXPECT_FALSE(overflow) << v;
        EXPECT_FLOAT_EQ(bar.PosToValue(p), v) << "at " << p;
    }
}

// Linear 0..127 and -1..1 in tenths; logarithmic 0..20 and -5..5 in halves.
INSTANTIATE_TEST_SUITE_P(BothOrientationsAndScales, RoundTrip,
                         ::testing::Values(RoundTripCase{true, false, 0, 127, 1},
                                           RoundTripCase{false, false, -1, 1, 0.1f},
                                           RoundTripCase{true, true, 0, 20, 1},
                                           RoundTripCase{false, true, -5, 5, 0.5f}));

TEST(LegendStrip, GrowsTheControlAndGoesWithTurningOrSwitchingOff) {
    BarWindow w;
    TIBar& bar = *w.bar;
    bar.SetShowLegend(true);
    w.Show();
    const QFontMetrics metrics(bar.font());
    const int half = metrics.horizontalAdvance("Maximum") / 2 + 2;
    EXPECT_EQ(bar.LegendSize(), metrics.height() + 10 + half);
    EXPECT_EQ(bar.height(), 25 + bar.LegendSize());
    EXPECT_EQ(bar.Border(), std::max(3, half));
    EXPECT_EQ(bar.Min(), 0); // drawn as -1..1, a bar without a range keeps it
    EXPECT_EQ(bar.Max(), 0);

    bar.SetOrientHoriz(false); // strip removed, then the sides swapped
    EXPECT_EQ(bar.LegendSize(), 0);
    EXPECT_EQ(bar.size(), QSize(25, 107));
    w.Show(); // the strip comes back on the right
    EXPECT_EQ(bar.width(), 25 + bar.LegendSize());
    EXPECT_GE(bar.LegendSize(), TIBar::MaxNameWidth(bar.Legend(), metrics) + 10);

    const QSize grown = bar.size();
    bar.SetShowLegend(false);
    w.Show();
    EXPECT_EQ(bar.LegendSize(), 0);
    EXPECT_EQ(bar.Border(), 3);
    EXPECT_EQ(bar.size(), grown);
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
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], std::make_pair(34.0f, 127.0f));

    SetClickSound([](float, float) { throw std::runtime_error("no synthesizer"); });
    EXPECT_THROW(bar.SetValue(5), std::runtime_error);
    SetClickSound(nullptr);
    EXPECT_EQ(bar.Value(), 5);
    EXPECT_EQ(changes, 3);
}

} // namespace
