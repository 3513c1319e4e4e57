#pragma once
// TUpDown: a pair of up and down arrows holding a position in Min..Max without wrapping. An
// associated text field, when given, shows the position. Each arrow press moves the position
// by one (held arrows repeat) and then reports Click with the arrow's direction, also at the
// ends of the range, where the position stays. Up and Down keys act like the arrows.

#include <QWidget>

class QLineEdit;
class QToolButton;

enum class TUDBtnType { btNext, btPrev };

class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);

    int Min() const { return min_; }
    int Max() const { return max_; }
    // Narrows Position into the new range.
    void SetRange(int min, int max);
    int Position() const { return position_; }
    // Kept within Min..Max; the associated field is rewritten.
    void SetPosition(int position);
    void SetAssociate(QLineEdit* edit);

    // The two arrow buttons.
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

    // What an arrow press does: move the position and report it.
    void Step(TUDBtnType button);

signals:
    void Click(TUDBtnType button);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
    QLineEdit* associate_ = nullptr;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
};
