#pragma once
// Shared helpers of the bar tests: a shown parent window, settled paints and synthesised mouse
// events with any mix of buttons and modifier keys.

#include "controls/IBar.h"

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

// A shown top-level window holding one bar, so that the bar's deferred repaints happen.
struct BarWindow {
    QWidget window;
    TIBar* bar;

    BarWindow() : bar(new TIBar(&window)) {
        window.resize(700, 300);
        bar->move(10, 10);
    }
    void Show() {
        window.show();
        Settle();
    }
    // Runs the pending repaints: a bar fixes its range and legend strip over a few paints.
    static void Settle() {
        for (int i = 0; i < 6; ++i)
            QCoreApplication::processEvents();
    }
    QImage Image() {
        Show();
        return bar->grab().toImage();
    }
};

inline void SendMouse(TIBar& bar, QEvent::Type type, int x, int y, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    const QPointF local(x, y);
    QMouseEvent event(type, local, bar.mapToGlobal(local), button, buttons, keys);
    QCoreApplication::sendEvent(&bar, &event);
}

inline void Press(TIBar& bar, int x, int y, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers keys = Qt::NoModifier) {
    SendMouse(bar, QEvent::MouseButtonPress, x, y, button, button, keys);
}

inline void MoveHeld(TIBar& bar, int x, int y, Qt::MouseButtons held = Qt::LeftButton,
                     Qt::KeyboardModifiers keys = Qt::NoModifier) {
    SendMouse(bar, QEvent::MouseMove, x, y, Qt::NoButton, held, keys);
}

inline void Release(TIBar& bar, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    SendMouse(bar, QEvent::MouseButtonRelease, x, y, button, Qt::NoButton);
}
