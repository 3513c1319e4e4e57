#pragma once
// Shared by the bar tests: a shown window holding one bar, so that the bar's deferred repaints
// happen and the mouse reaches it as the user's does.

#include "controls/IBar.h"

#include <QCoreApplication>
#include <QImage>
#include <QWidget>

struct BarWindow {
    QWidget window;
    TIBar* bar = new TIBar(&window);

    BarWindow() {
        window.resize(700, 300);
        bar->move(10, 10);
    }
    // Shows the window and runs the pending repaints: a bar fixes its range and legend strip
    // over a few paints.
    void Show() {
        window.show();
        for (int i = 0; i < 6; ++i)
            QCoreApplication::processEvents();
    }
    QImage Image() {
        Show();
        return bar->grab().toImage();
    }
};
