#include "qtcommon/BusyCursor.h"

#include <QApplication>
#include <QCursor>

BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}
BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}
