#pragma once
// Closes a shown window as the window system does for the user's close button: a spontaneous
// close request to its platform window, so Qt closes and hides the widget its own way.

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
