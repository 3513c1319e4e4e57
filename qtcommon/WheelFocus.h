#pragma once
// The mouse wheel turns only the control that has the keyboard focus. A wheel turned over a
// field or list that the user has not clicked into goes on to the window behind it, so that
// moving the mouse across a form while wheeling changes nothing.

class QWidget;

// Gives the control focus by click and Tab only (not by the wheel) and lets it see wheel events
// only while it has the focus.
void WheelOnlyWithFocus(QWidget& control);
