#pragma once
// The numeric field of the per-string and single frames: a spin box with design range 0..255,
// value 0, wrapping arrows, and the previous value restored when the typed text is not a whole
// number inside the range.

#include <QRect>

class QSpinBox;
class QWidget;

QSpinBox* MakeSpinField(QWidget* parent, const char* name, const QRect& place);
