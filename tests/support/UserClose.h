#pragma once
// Closes a shown window the way the window system does when the user clicks its close button:
// a spontaneous close request to the window's platform window, which closes and hides the
// widget through Qt's own path.

#include <QCloseEvent>
#include <QCoreApplication>
#include <QWidget>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

inline void CloseAsTheUser(QWidget& widget) {
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    QCoreApplication::sendEvent(widget.windowHandle(), &close);
}
