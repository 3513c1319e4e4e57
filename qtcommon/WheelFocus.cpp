#include "qtcommon/WheelFocus.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace {

class WheelFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel) return false;
        auto* control = qobject_cast<QWidget*>(watched);
        if (!control || control->hasFocus()) return false;
        // Ignored, so that the widgets behind the control receive the wheel instead.
        event->ignore();
        return true;
    }
};

} // namespace

void WheelOnlyWithFocus(QWidget& control) {
    // One filter serves every control; the application owns it.
    static QPointer<WheelFilter> filter;
    if (!filter) filter = new WheelFilter(QCoreApplication::instance());
    control.setFocusPolicy(Qt::StrongFocus);
    control.installEventFilter(filter);
}
