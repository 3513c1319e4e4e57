#pragma once
// TFrameSixpack: a caption and six numeric fields, one per guitar string, 363 x 27 pixels.
// Field k stands for string k; the fields stand from right to left, so the screen shows string
// 6 at the left and string 1 at the right, 47 pixels apart. Keyboard focus moves from string 1
// towards string 6.

#include <QWidget>

#include <array>

class QFrame;
class QLabel;
class QSpinBox;

class TFrameSixpack : public QWidget {
    Q_OBJECT
public:
    static constexpr int Strings = 6;
    // Left edges of the fields of strings 1..6.
    static constexpr std::array<int, Strings> FieldLeft = {318, 271, 224, 177, 130, 83};

    explicit TFrameSixpack(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    // The same range for all six fields; values are brought inside it.
    void SetRange(int min, int max);

    // Value string 1..6 shows, typed text not yet confirmed included; always inside the range.
    int Value(int string) const;
    // A value outside the range shows the nearest end.
    void SetValue(int string, int value);
    QSpinBox* Field(int string) const { return fields_.at(string - 1); }

    QLabel* label1;
    QFrame* Bevel1;

private:
    std::array<QSpinBox*, Strings> fields_{};
};
