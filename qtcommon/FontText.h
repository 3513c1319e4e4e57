#pragma once
// Conversion between the toolkit-free FontSpec and QFont.

#include "base/Dialogs.h"

#include <QFont>

QFont FontFromSpec(const FontSpec& wanted);
FontSpec SpecFromFont(const QFont& font);
