#pragma once
// TFrameSixCheck: a caption and six check boxes, one per guitar string, 363 x 27 pixels. Box k
// stands for string k; the boxes stand from right to left (string 6 at the left), each 12
// pixels right of the same string's field in a TFrameSixpack placed at the same left edge.

#include <QWidget>

#include <array>

class QCheckBox;
class QFrame;
class QLabel;

class TFrameSixCheck : public QWidget {
    Q_OBJECT
public:
    static constexpr int Strings = 6;
    // Left edges of the boxes of strings 1..6.
    static constexpr std::array<int, Strings> BoxLeft = {330, 283, 236, 189, 142, 95};

    explicit TFrameSixCheck(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    bool Checked(int string) const;
    void SetChecked(int string, bool on);
    QCheckBox* Box(int string) const { return boxes_.at(string - 1); }

    QLabel* Label1;
    QFrame* Bevel1;

private:
    std::array<QCheckBox*, Strings> boxes_{};
};
