#pragma once
// TFrameOnepack: a caption and one numeric field with up/down arrows, 120 x 21 pixels. The
// field is a spin box: its arrows step by 1 and wrap at the ends of the range, and text typed
// into it that is not a whole number inside the range falls back to the last valid value.

#include <QWidget>

class QLabel;
class QSpinBox;

class TFrameOnepack : public QWidget {
    Q_OBJECT
public:
    explicit TFrameOnepack(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    // Sets the range; the value is brought inside it.
    void SetRange(int min, int max);

    // The value the field shows, typed text not yet confirmed included; always inside the range.
    int Value() const;
    // Shows value; a value outside the range shows the nearest end.
    void SetValue(int value);

    QLabel* Label1;
    QSpinBox* Edit1;
};
