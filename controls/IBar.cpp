#include "controls/IBar.h"

#include "controls/BarMath.h"
#include "controls/ClickSound.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <exception>

TIBar::TIBar(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    resize(107, 25);
}

TIBar::~TIBar() = default;

void TIBar::SetShape(TBevelShape shape) {
    if (shape == shape_) return;
    shape_ = shape;
    update();
}

void TIBar::SetStyle(TBevelStyle style) {
    if (style == style_) return;
    style_ = style;
    update();
}

void TIBar::SetBase(float base) {
    if (base == base_) return;
    base_ = base;
    update();
}

void TIBar::SetMin(float min) {
    if (min == min_) return;
    min_ = min;
    scale_ = DefaultScale();
    update();
}

void TIBar::SetMax(float max) {
    if (max == max_) return;
    max_ = max;
    scale_ = DefaultScale();
    update();
}

void TIBar::SetDiscretization(float step) {
    // A NaN or infinite step would turn every value into NaN; it is refused like a negative one.
    if (step == discretization_ || step < 0 || !std::isfinite(step)) return;
    discretization_ = step;
}

void TIBar::SetValue(float value) {
    if (std::isnan(value)) return;
    if (discretization_ != 0) value = float(Quantise(value, discretization_));
    if (value == value_) return;
    value_ = value;
    repaint(BarRect());
    // A failing click must not swallow the change notification: the event still runs and the
    // failure is passed on afterwards.
    std::exception_ptr clickFailure;
    if (sound_ && discretization_ > 0) {
        try {
            PlayBarClick(std::fabs(value_ - base_), max_ - min_);
        } catch (...) {
            clickFailure = std::current_exception();
        }
    }
    if (OnChange && changeEnabled_) OnChange(*this);
    if (clickFailure) std::rethrow_exception(clickFailure);
}

void TIBar::SetLogScale(bool on) {
    if (on == logScale_) return;
    logScale_ = on;
    update();
}

void TIBar::SetShowSlide(bool on) {
    if (on == showSlide_) return;
    showSlide_ = on;
    update();
}

void TIBar::SetBorder(std::uint16_t border) {
    if (border == border_ || border >= height() / 2) return;
    border_ = border;
    update();
}

void TIBar::SetBackgroundColor(TColor color) {
    if (color == backgroundColor_) return;
    backgroundColor_ = color;
    update();
}

void TIBar::SetSlideColor(TColor color) {
    if (color == slideColor_) return;
    slideColor_ = color;
    update();
}

void TIBar::SetBaseColor(TColor color) {
    if (color == baseColor_) return;
    baseColor_ = color;
    update();
}

void TIBar::SetOverflowColor(TColor color) {
    if (color == overflowColor_) return;
    overflowColor_ = color;
    update();
}

void TIBar::SetSound(bool on) {
    sound_ = on;
}

void TIBar::SetShowScale(bool on) {
    if (on == showScale_) return;
    showScale_ = on;
    if (on && scale_ == 0) scale_ = DefaultScale();
    update();
}

void TIBar::SetScale(float scale) {
    if (scale == scale_) return;
    scale_ = scale;
    if (showScale_) update();
}

void TIBar::SetOrientHoriz(bool horizontal) {
    if (horizontal == orientHoriz_) return;
    if (orientHoriz_)
        resize(width(), height() - legendSize_);
    else
        resize(width() - legendSize_, height());
    legendSize_ = 0;
    orientHoriz_ = horizontal;
    if ((horizontal && width() < height()) || (!horizontal && width() > height()))
        resize(height(), width());
    update();
}

void TIBar::SetShowLegend(bool on) {
    if (on == showLegend_) return;
    showLegend_ = on;
    update();
}

void TIBar::SetLegend(const QStringList& lines) {
    if (lines == legend_) return;
    legend_ = lines;
    update();
}

void TIBar::SetLegendSize(std::uint16_t size) {
    if (size == legendSize_) return;
    legendSize_ = size;
    update();
}

void TIBar::SetImmediate(bool on) {
    immediate_ = on;
}

void TIBar::SetShowMark(bool on) {
    if (on == showMark_) return;
    showMark_ = on;
    update();
}

void TIBar::SetMarkBase(float value) {
    if (value == markBase_) return;
    markBase_ = value;
    if (showMark_) update();
}

void TIBar::SetMarkPlusMinus(float value) {
    if (value == markPlusMinus_) return;
    markPlusMinus_ = value;
    if (showMark_) update();
}

void TIBar::SetMarkColor(TColor color) {
    if (color == markColor_) return;
    markColor_ = color;
    if (showMark_) update();
}

int TIBar::BarWidth() const {
    return orientHoriz_ ? width() : width() - legendSize_;
}

int TIBar::BarHeight() const {
    return orientHoriz_ ? height() - legendSize_ : height();
}

int TIBar::Length() const {
    return (orientHoriz_ ? width() : height()) - 2 * border_ - 1;
}

QRect TIBar::BarRect() const {
    return QRect(0, 0, BarWidth(), BarHeight());
}

QColor TIBar::Color(TColor color) const {
    return ToQColor(color, palette());
}

int TIBar::ValueToPos(float V, bool& Overflow) const {
    const int B = border_;
    const int len = Length();
    const int lowEnd = orientHoriz_ ? B : B + len;
    if (logScale_ && V < min_) {
        Overflow = true;
        return lowEnd;
    }
    const double range = double(max_) - double(min_);
    const double ratio = logScale_ ? std::log(1.0 + double(V) - min_) / std::log(1.0 + range)
                                   : (double(V) - min_) / range;
    double d = RoundHalfEven(ratio * len);
    if (std::isnan(d)) {
        // Only an empty range (Min = Max) or a broken logarithm gets here: no position exists,
        // so the value is shown as an overflow at the low end.
        Overflow = true;
        return lowEnd;
    }
    // Everything beyond one pixel past either end overflows alike; clamping first keeps
    // infinite ratios out of the integer conversion.
    d = std::clamp(d, -1.0, double(len) + 1.0);
    int p = int(d);
    if (!orientHoriz_) p = len - p;
    p += B;
    if (p < B) {
        Overflow = true;
        return B;
    }
    if (p > B + len) {
        Overflow = true;
        return B + len;
    }
    Overflow = false;
    return p;
}

float TIBar::PosToValue(int P) const {
    const int B = border_;
    const int len = Length();
    const double d = orientHoriz_ ? P - B : B + len - P;
    const double range = double(max_) - double(min_);
    double v =
        logScale_ ? std::exp(std::log(1.0 + range) * d / len) - 1.0 + min_ : d / len * range + min_;
    if (discretization_ != 0) v = Quantise(v, discretization_);
    // A bar without length, or a logarithm of a range below -1, has no value for any position;
    // Min stands in instead of storing NaN.
    if (std::isnan(v)) v = min_;
    if (v < min_)
        v = min_;
    else if (v > max_)
        v = max_;
    return float(v);
}

float TIBar::DefaultScale() const {
    return DefaultScaleFor(min_, max_);
}

int TIBar::MaxNameWidth(const QStringList& list, const QFontMetrics& metrics) {
    int widest = 0;
    for (const QString& line : list) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString name = eq < 0 ? QString() : line.left(eq);
        widest = std::max(widest, metrics.horizontalAdvance(name));
    }
    return widest;
}
