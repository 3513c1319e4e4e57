#pragma once
// The compare window: every parameter in which two patches differ, one line each, by page and
// caption with both values as the editor shows them ("Common / Pan: -50 -> 0"), the lines
// `gr33 diff` prints; the single line "identical" when nothing differs.

#include "gr33/Patch.h"

#include <QWidget>

#include <string>

class QListWidget;

class TCompareWindow : public QWidget {
    Q_OBJECT
public:
    explicit TCompareWindow(QWidget* parent);

    // Lists the differences of a and b and shows the window with the title.
    void Compare(const std::string& title, const PatchBytes& a, const PatchBytes& b);

private:
    QListWidget* list_;
};
