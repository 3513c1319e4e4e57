#pragma once
// TIBar: a bar that shows one floating-point value inside a range and lets the user set it with
// the mouse. The filled part (the slide) runs from Base to Value; values are quantised to
// Discretization and may lie outside Min..Max, in which case the slide reaches the end of the bar
// in OverflowColor. Optional logarithmic mapping, scale ticks counted from Base, a legend strip
// of labelled positions and a mark band. The bar takes no keyboard focus and paints no
// background of its own beyond the bar.

#include "controls/Bevel.h"
#include "controls/TColor.h"

#include <QFlags>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>

class QFontMetrics;
class QPainter;
class TIBar;

// Event type of the bar: called with the bar that raises the event.
using OnEventProc = std::function<void(TIBar& Sender)>;

// Keys and buttons held during a mouse event.
enum TShiftKey : unsigned {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};
Q_DECLARE_FLAGS(TShiftState, TShiftKey)
Q_DECLARE_OPERATORS_FOR_FLAGS(TShiftState)

class TIBar : public QWidget {
    Q_OBJECT
public:
    explicit TIBar(QWidget* parent = nullptr);
    ~TIBar() override;

    // Events. OnChange: the value changed (see SetValue and the mouse gestures). OnClick: a mouse
    // button went down on the bar, before the gesture is handled.
    OnEventProc OnChange;
    OnEventProc OnClick;

    // Bevel around the control (defaults: Box, Lowered).
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape shape);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle style);

    float Base() const { return base_; }
    void SetBase(float base);
    // Changing Min or Max also replaces Scale by DefaultScale.
    float Min() const { return min_; }
    void SetMin(float min);
    float Max() const { return max_; }
    void SetMax(float max);
    // Negative (and non-finite) steps are ignored; the stored Value is not re-quantised.
    float Discretization() const { return discretization_; }
    void SetDiscretization(float step);
    // Quantised to Discretization (ties to even), never clamped. A change repaints the bar at
    // once, plays the click while Sound is on and fires OnChange (unless a drag step with
    // Immediate off is running). NaN is ignored.
    float Value() const { return value_; }
    void SetValue(float value);
    bool LogScale() const { return logScale_; }
    void SetLogScale(bool on);
    bool ShowSlide() const { return showSlide_; }
    void SetShowSlide(bool on);
    // Accepted only when smaller than half the control's height.
    std::uint16_t Border() const { return border_; }
    void SetBorder(std::uint16_t border);
    TColor BackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(TColor color);
    TColor SlideColor() const { return slideColor_; }
    void SetSlideColor(TColor color);
    TColor BaseColor() const { return baseColor_; }
    void SetBaseColor(TColor color);
    TColor OverflowColor() const { return overflowColor_; }
    void SetOverflowColor(TColor color);
    bool Sound() const { return sound_; }
    void SetSound(bool on);
    bool ShowScale() const { return showScale_; }
    void SetShowScale(bool on);
    float Scale() const { return scale_; }
    void SetScale(float scale);
    // Turning the bar swaps width and height where needed and drops the legend strip, which is
    // sized again at the next paint.
    bool OrientHoriz() const { return orientHoriz_; }
    void SetOrientHoriz(bool horizontal);
    // The legend strip is added (growing the control) or dropped at the next paint.
    bool ShowLegend() const { return showLegend_; }
    void SetShowLegend(bool on);
    // Lines "Name=Value"; each labels the position of its value.
    const QStringList& Legend() const { return legend_; }
    void SetLegend(const QStringList& lines);
    std::uint16_t LegendSize() const { return legendSize_; }
    void SetLegendSize(std::uint16_t size);
    // On: every drag step that changes the value fires OnChange. Off: a drag fires OnChange
    // once, when the button is released.
    bool Immediate() const { return immediate_; }
    void SetImmediate(bool on);
    bool ShowMark() const { return showMark_; }
    void SetShowMark(bool on);
    float MarkBase() const { return markBase_; }
    void SetMarkBase(float value);
    float MarkPlusMinus() const { return markPlusMinus_; }
    void SetMarkPlusMinus(float value);
    TColor MarkColor() const { return markColor_; }
    void SetMarkColor(TColor color);

    // True from a plain left-button drag step to the next mouse event.
    bool DragChanged() const { return dragChanged_; }

    // The pixel coordinate of a value along the bar; Overflow tells whether it was clamped to
    // an end.
    int ValueToPos(float V, bool& Overflow) const;
    // The value of a pixel coordinate, quantised and clamped to Min..Max.
    float PosToValue(int P) const;
    // Tick spacing suited to Min..Max (see DefaultScaleFor).
    float DefaultScale() const;
    // The widest Name of a Name=Value list in the given font; 0 for an empty list.
    static int MaxNameWidth(const QStringList& list, const QFontMetrics& metrics);

    // The gestures of mouse-down and mouse-move at (X, Y) with the given keys and buttons held.
    void HandleMouse(TShiftState shift, int X, int Y);

    // The bar region (the control without its legend strip), in control coordinates.
    QRect BarRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    // Drawing steps: Paint fixes up derived state or draws the bevel, bar and legend; a bar
    // without a range (Min = Max = 0) is drawn as -1..1 and keeps its range.
    void Paint(QPainter& painter);
    void PaintBar(QPainter& painter);
    void PaintMark(QPainter& painter);
    void PaintLegend(QPainter& painter);

private:
    int BarWidth() const;
    int BarHeight() const;
    int Length() const;
    QColor Color(TColor color) const;
    void SizeLegendStrip();
    void PaintRanged(QPainter& painter);
    void PaintScale(QPainter& painter, int acrossFrom, int acrossTo);
    void PaintKnob(QPainter& painter, int pv);
    void PaintBaseMarker(QPainter& painter, int pv);
    void AskValue();

    TBevelShape shape_ = TBevelShape::Box;
    TBevelStyle style_ = TBevelStyle::Lowered;
    float base_ = 0;
    float min_ = 0;
    float max_ = 0;
    float discretization_ = 0;
    float value_ = 0;
    bool logScale_ = false;
    bool showSlide_ = true;
    std::uint16_t border_ = 3;
    TColor backgroundColor_ = clBtnShadow;
    TColor slideColor_ = clBlue;
    TColor baseColor_ = clYellow;
    TColor overflowColor_ = clRed;
    bool sound_ = false;
    bool showScale_ = false;
    float scale_ = 0;
    bool orientHoriz_ = true;
    bool showLegend_ = false;
    QStringList legend_{"Zero=0", "Max=1", "Min=-1"};
    std::uint16_t legendSize_ = 0;
    bool immediate_ = true;
    bool showMark_ = false;
    float markBase_ = 0;
    float markPlusMinus_ = 0;
    TColor markColor_ = clRed;
    // The value setter fires OnChange only while this is set; a drag step with Immediate off
    // clears it for the duration of the step.
    bool changeEnabled_ = true;
    bool dragChanged_ = false;
};
