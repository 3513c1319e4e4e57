// Mouse gestures of the bar. With the left button: plain drag sets the value, Ctrl resets it
// to Base, Shift shows it, Alt opens a dialog to type it, Alt+Ctrl fires OnChange without
// touching it. Right button with Alt switches the click sound.

#include "controls/IBar.h"

#include "base/Dialogs.h"
#include "controls/ValueText.h"
#include "qtcommon/RunHandler.h"

#include <QMouseEvent>

namespace {

TShiftState ShiftOf(const QMouseEvent& event, bool doubleClick) {
    TShiftState shift;
    const Qt::KeyboardModifiers keys = event.modifiers();
    if (keys & Qt::ShiftModifier) shift |= ssShift;
    if (keys & Qt::AltModifier) shift |= ssAlt;
    if (keys & Qt::ControlModifier) shift |= ssCtrl;
    const Qt::MouseButtons buttons = event.buttons();
    if (buttons & Qt::LeftButton) shift |= ssLeft;
    if (buttons & Qt::RightButton) shift |= ssRight;
    if (buttons & Qt::MiddleButton) shift |= ssMiddle;
    if (doubleClick) shift |= ssDouble;
    return shift;
}

// Sets a flag back to true when the scope ends, also when a handler throws.
class RaiseOnExit {
public:
    explicit RaiseOnExit(bool& flag) : flag_(flag) {}
    ~RaiseOnExit() { flag_ = true; }
    RaiseOnExit(const RaiseOnExit&) = delete;
    RaiseOnExit& operator=(const RaiseOnExit&) = delete;

private:
    bool& flag_;
};

} // namespace

// Mouse events are window handlers: an error (a failing click sound, a handler's error) ends
// the gesture in a message box instead of crossing Qt's event loop.
void TIBar::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const TShiftState shift = ShiftOf(*event, false);
    RunHandler([&] {
        if (OnClick) OnClick(*this);
        HandleMouse(shift, at.x(), at.y());
    });
}

void TIBar::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const TShiftState shift = ShiftOf(*event, true);
    RunHandler([&] {
        if (OnClick) OnClick(*this);
        HandleMouse(shift, at.x(), at.y());
    });
}

void TIBar::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const TShiftState shift = ShiftOf(*event, false);
    RunHandler([&] { HandleMouse(shift, at.x(), at.y()); });
}

void TIBar::mouseReleaseEvent(QMouseEvent*) {
    // With Immediate off a drag reports its change once, here.
    RunHandler([&] {
        if (!immediate_ && dragChanged_ && OnChange) OnChange(*this);
    });
}

void TIBar::HandleMouse(TShiftState shift, int X, int Y) {
    dragChanged_ = false;
    const bool left = shift.testFlag(ssLeft);
    if (left && shift.testFlag(ssAlt) && shift.testFlag(ssCtrl)) {
        if (OnChange) OnChange(*this);
    } else if (left && shift.testFlag(ssAlt)) {
        AskValue();
    } else if (left && shift.testFlag(ssShift)) {
        Prompts().ShowMessage("Value is " + ValueText(value_));
    } else if (left && shift.testFlag(ssCtrl)) {
        SetValue(base_);
    } else if (shift == TShiftState(ssLeft)) {
        // A drag step: with Immediate off the setter stays silent and the release reports.
        // The flags are settled before the setter runs so that a failing click or handler
        // leaves neither the release report nor later notifications lost.
        dragChanged_ = true;
        RaiseOnExit restore(changeEnabled_);
        changeEnabled_ = immediate_;
        SetValue(PosToValue(orientHoriz_ ? X : Y));
    } else if (shift.testFlag(ssRight) && shift.testFlag(ssAlt) && !left) {
        SetSound(!sound_);
        Prompts().ShowMessage(sound_ ? "Sound is on" : "Sound is off");
    }
}

// The value-entry dialog. A text that is not a number changes nothing; cancelling changes
// nothing either (re-reading the three-decimal text would cut off further decimals).
void TIBar::AskValue() {
    const std::string current = ValueText(value_);
    const std::optional<std::string> entered =
        Prompts().InputText("Change value (" + current + ")", "Enter new value", current);
    if (!entered) return;
    if (const std::optional<float> value = ParseValue(*entered)) SetValue(*value);
}
