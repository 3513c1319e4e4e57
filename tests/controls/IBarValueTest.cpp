// The bar's arithmetic and property rules: quantisation, default scale, value/position mapping,
// the setters that refuse or derive values, the legend strip and the click sound.

#include "BarTestSupport.h"

#include "controls/BarMath.h"
#include "controls/ClickSound.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();

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
        EXPECT_EQ(bar.Value(), shown[i]) << set[i];
        EXPECT_EQ(changes, reported[i]) << set[i];
    }
}

TEST_F(HundredPixelBar, SettersRefuseOrDerive) {
    bar.SetValue(0.3f);
    bar.SetDiscretization(1); // the stored value is not re-quantised
    bar.SetDiscretization(-0.5f);
    bar.SetDiscretization(Inf);
    EXPECT_EQ(bar.Discretization(), 1);
    EXPECT_FLOAT_EQ(bar.Value(), 0.3f);
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
    const struct {
        bool horizontal, log;
        float value;
        int pos;
        bool overflow;
    } cases[] = {
        // clang-format off
        {true, false, 1, 15, false}, {true, false, 3, 41, false}, // 12.5 -> 12, 37.5 -> 38
        {true, false, 9, 103, true}, {true, false, -1, 3, true}, {true, false, Inf, 103, true},
        {false, false, 8, 3, false}, {false, false, 9, 3, true},  // maximum at the top
        {false, true, -0.5f, 103, true},                          // below Min: the low end
        // clang-format on
    };
    for (const auto& c : cases) {
        bar.SetOrientHoriz(c.horizontal);
        bar.SetLogScale(c.log);
        bool overflow = !c.overflow;
        EXPECT_EQ(bar.ValueToPos(c.value, overflow), c.pos) << c.value;
        EXPECT_EQ(overflow, c.overflow) << c.value;
    }
}

TEST_F(HundredPixelBar, RangesWithoutPositionsGiveNoNaN) {
    bar.SetMin(5);
    bar.SetMax(5);
    bool overflow = false;
    EXPECT_EQ(bar.ValueToPos(5, overflow), 3);
    EXPECT_TRUE(overflow);
    EXPECT_EQ(bar.PosToValue(50), 5);
    bar.SetMin(10); // 10..5 on a logarithm: ln(1 + 5 - 10) does not exist
    bar.SetLogScale(true);
    const float v = bar.PosToValue(50);
    EXPECT_TRUE(v == 10 || v == 5) << v;
}

TEST(BarMapping, PositionOfEveryStepReadsBackAsThatStep) {
    // Linear 0..127 and -1..1 in tenths; logarithmic 0..20 and -5..5 in halves.
    const struct {
        bool horizontal, log;
        float min, max, step;
    } cases[] = {{true, false, 0, 127, 1},
                 {false, false, -1, 1, 0.1f},
                 {true, true, 0, 20, 1},
                 {false, true, -5, 5, 0.5f}};
    for (const auto& c : cases) {
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
            EXPECT_FLOAT_EQ(bar.PosToValue(p), v) << "at " << p << " log " << c.log;
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
    EXPECT_EQ(bar.LegendSize(), metrics.height() + 10 + half);
    EXPECT_EQ(bar.height(), 25 + bar.LegendSize());
    EXPECT_EQ(bar.Border(), std::max(3, half));
    EXPECT_EQ(bar.Max() - bar.Min(), 0); // drawn as -1..1, a bar without a range keeps it

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
    EXPECT_EQ(clicks, (std::vector<std::pair<float, float>>{{34.0f, 127.0f}}));
    SetClickSound([](float, float) { throw std::runtime_error("no synthesizer"); });
    EXPECT_THROW(bar.SetValue(5), std::runtime_error);
    SetClickSound(nullptr);
    EXPECT_EQ(bar.Value(), 5);
    EXPECT_EQ(changes, 3);
}

} // namespace
