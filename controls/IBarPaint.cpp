// Drawing of the bar: bevel, cleared ring, background, slide, scale ticks, mark band, knob or
// base marker, and the legend strip.

#include "controls/IBar.h"

#include "controls/PixelCanvas.h"
#include "controls/ValueText.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

void TIBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter);
}

void TIBar::SizeLegendStrip() {
    const QFontMetrics metrics(font());
    int half = 0;
    int strip = 0;
    if (orientHoriz_) {
        // Labels are centred on their positions, so the ends need half a label of room.
        half = metrics.horizontalAdvance(QStringLiteral("Maximum")) / 2 + 2;
        strip = metrics.height() + 10 + half;
        resize(width(), height() + strip);
    } else {
        half = metrics.height() / 2 + 2;
        strip = MaxNameWidth(legend_, metrics) + 10 + border_;
        resize(width() + strip, height());
    }
    if (half > border_) border_ = std::uint16_t(half);
    legendSize_ = std::uint16_t(strip);
}

void TIBar::Paint(QPainter& painter) {
    // A bar without a range (0..0) is drawn as -1..1. The stand-in lasts for this drawing only:
    // kept, it would stay the lower end of every range given to the bar later by Max alone.
    if (min_ == 0 && max_ == 0) {
        min_ = -1;
        max_ = 1;
        PaintRanged(painter);
        min_ = 0;
        max_ = 0;
        return;
    }
    PaintRanged(painter);
}

void TIBar::PaintRanged(QPainter& painter) {
    // The legend was switched off: drop its strip (the control keeps its size).
    if (!showLegend_ && legendSize_ != 0) {
        legendSize_ = 0;
        border_ = 3;
        update();
        return;
    }
    if (showLegend_ && legendSize_ == 0) {
        SizeLegendStrip();
        update();
        return;
    }
    if (!showSlide_) DrawBevel(painter, width(), height(), shape_, style_, palette());
    PaintBar(painter);
    if (showLegend_) PaintLegend(painter);
}

void TIBar::PaintBar(QPainter& painter) {
    const int B = border_;
    const int W = BarWidth();
    const int H = BarHeight();
    const bool enabled = isEnabled();
    if (showSlide_) {
        DrawBevel(painter, width(), height(), shape_, style_, palette());
        // Clear the ring between the bevel and the inner area.
        const QColor face = Color(clBtnFace);
        for (int i = shape_ == TBevelShape::Frame ? 2 : 1; i <= B - 1; ++i)
            DrawOutline(painter, i, i, W - i - 1, H - i - 1, face);
        if (showLegend_ && legendSize_ > 0) {
            if (orientHoriz_)
                DrawLine(painter, 1, H - 1, W - 1, H - 1, face);
            else
                DrawLine(painter, W - 1, 1, W - 1, H - 1, face);
        }
    }
    FillBox(painter, B, B, W - B, H - B, Color(enabled ? backgroundColor_ : clInactiveBorder));
    if (min_ >= max_) return;

    bool baseOverflow = false;
    bool valueOverflow = false;
    const int pb = ValueToPos(base_, baseOverflow);
    const int pv = ValueToPos(value_, valueOverflow);
    int left = B, top = B, right = W - B, bottom = H - B;
    if (orientHoriz_) {
        left = value_ <= base_ ? pv : pb;
        right = value_ <= base_ ? pb + 1 : pv + 1;
    } else {
        top = value_ <= base_ ? pb : pv;
        bottom = value_ <= base_ ? pv + 1 : pb + 1;
    }
    const TColor slideColor = !enabled        ? clInactiveCaption
                              : valueOverflow ? overflowColor_
                                              : slideColor_;
    FillBox(painter, left, top, right, bottom, Color(slideColor));

    if (showScale_ && scale_ > 0) {
        if (orientHoriz_)
            PaintScale(painter, top, bottom);
        else
            PaintScale(painter, left, right);
    }
    if (showMark_) PaintMark(painter);
    if (!enabled) return;
    if (showSlide_) PaintKnob(painter, pv);
    if (!showSlide_ && value_ == base_) PaintBaseMarker(painter, pv);
}

// Ticks every Scale units counted from Base, each across the slide's extent. Every tenth tick
// (and the base) is yellow, every fifth red, the others silver; a logarithmic bar leaves the
// silver ones out. The first tick of each direction is drawn even beyond the range, where it
// lands on the clamped end.
void TIBar::PaintScale(QPainter& painter, int acrossFrom, int acrossTo) {
    auto tick = [&](float x, int i) {
        TColor color = clSilver;
        if (i % 10 == 0)
            color = clYellow;
        else if (i % 5 == 0)
            color = clRed;
        else if (logScale_)
            return;
        bool overflow = false;
        const int p = ValueToPos(x, overflow);
        if (orientHoriz_)
            DrawLine(painter, p, acrossFrom, p, acrossTo, Color(color));
        else
            DrawLine(painter, acrossFrom, p, acrossTo, p, Color(color));
    };
    int i = 0;
    float x = base_;
    do {
        tick(x, i);
        ++i;
        x = float(double(base_) + i * double(scale_));
    } while (x <= max_);
    i = 1;
    x = float(double(base_) - double(scale_));
    do {
        tick(x, i);
        ++i;
        x = float(double(base_) - i * double(scale_));
    } while (x >= min_);
}

// A band of MarkColor spanning MarkBase +- MarkPlusMinus over the middle half of the bar's
// width, with a centre line in BaseColor.
void TIBar::PaintMark(QPainter& painter) {
    const int B = border_;
    const int W = BarWidth();
    const int H = BarHeight();
    const QColor band = Color(markColor_);
    const QColor line = Color(baseColor_);
    bool overflow = false;
    const int centre = ValueToPos(markBase_, overflow);
    if (orientHoriz_) {
        const int q = (H - 2 * B) / 4;
        const int from = ValueToPos(markBase_ - markPlusMinus_, overflow);
        const int to = ValueToPos(markBase_ + markPlusMinus_, overflow);
        FillBox(painter, from, B + q, to, H - B - q, band);
        DrawLine(painter, centre, B + q, centre, H - B - q, line);
    } else {
        const int q = (W - 2 * B) / 4;
        const int from = ValueToPos(markBase_ + markPlusMinus_, overflow);
        const int to = ValueToPos(markBase_ - markPlusMinus_, overflow);
        FillBox(painter, B + q, from, W - B - q, to, band);
        DrawLine(painter, B + q, centre, W - B - q, centre, line);
    }
}

// The knob at the value's position: a button-face block with a 3-D frame and a white grip
// line, as wide as the border allows (2 to 10 pixels each side).
void TIBar::PaintKnob(QPainter& painter, int pv) {
    const int B = border_;
    const int W = BarWidth();
    const int H = BarHeight();
    int K = B;
    int t = 0;
    if (B < 2) {
        K = 2;
    } else if (B > 10) {
        K = 10;
        t = B - 10;
    }
    int left = 0, top = 0, right = 0, bottom = 0;
    if (orientHoriz_) {
        left = std::max(pv - K, 0);
        right = std::min(pv + K + 1, W);
        top = t;
        bottom = H - t;
    } else {
        left = t;
        right = W - t;
        top = std::max(pv - K, 0);
        bottom = std::min(pv + K + 1, H);
    }
    FillBox(painter, left, top, right, bottom, Color(clBtnFace));
    DrawFrame3D(painter, left, top, right, bottom, Color(cl3DLight), Color(cl3DDkShadow), 2);
    if (orientHoriz_)
        DrawLine(painter, pv, t + 2, pv, H - t - 2, Color(clWhite));
    else
        DrawLine(painter, t + 2, pv, W - t - 2, pv, Color(clWhite));
}

// Without a slide, a value standing on its base is shown by a short block in BaseColor.
void TIBar::PaintBaseMarker(QPainter& painter, int pv) {
    const int B = border_;
    const int W = BarWidth();
    const int H = BarHeight();
    const int K2 = std::clamp(int(B), 2, 3);
    const QColor color = Color(baseColor_);
    if (orientHoriz_)
        FillBox(painter, std::max(pv - K2 + 1, 0), B, std::min(pv + K2, W), H - B, color);
    else
        FillBox(painter, B, std::max(pv - K2 + 1, 0), W - B, std::min(pv + K2, H), color);
}

// Labels of the legend lines whose value parses and lies inside the range, each with a tick
// pointing at its position.
void TIBar::PaintLegend(QPainter& painter) {
    if (!(min_ < max_)) return;
    const QColor text = Color(clWindowText);
    const QColor face = Color(clBtnFace);
    for (const QString& line : legend_) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        const QString name = line.left(eq);
        const QString valueText = line.mid(eq + 1);
        if (valueText.isEmpty()) continue;
        const std::optional<float> value = ParseValue(valueText.toStdString());
        if (!value) continue;
        bool overflow = false;
        const int p = ValueToPos(*value, overflow);
        if (overflow) continue;

        painter.setFont(font());
        const QFontMetrics metrics(font());
        const int textWidth = metrics.horizontalAdvance(name);
        const int textHeight = metrics.height();
        int x = 0;
        int y = 0;
        if (orientHoriz_) {
            const int strip = height() - legendSize_;
            DrawLine(painter, p, strip + 1, p, strip + 9, text);
            x = p - textWidth / 2;
            y = strip + 10;
        } else {
            const int strip = width() - legendSize_;
            DrawLine(painter, strip + 1, p, strip + 9, p, text);
            x = strip + 10;
            y = p - textHeight / 2;
        }
        FillBox(painter, x, y, x + textWidth, y + textHeight, face);
        painter.setPen(text);
        painter.drawText(x, y + metrics.ascent(), name);
    }
}
