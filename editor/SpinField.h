#pragma once
// The numeric field of the per-string and single frames: a spin box with design range 0..255,
// value 0, wrapping arrows, and the previous value restored when the typed text is not a whole
// number inside the range.

#include <QRect>

class QSpinBox;
class QWidget;

QSpinBox* MakeSpinField(QWidget* parent, const char* name, const QRect& place);

// The value the field shows. Text typed and not yet confirmed (the caret still in the field,
// as when a tool bar button is clicked) is taken first; text that is no value of the range
// gives way to the last valid value, which the field then shows again.
int ShownValue(QSpinBox& field);
