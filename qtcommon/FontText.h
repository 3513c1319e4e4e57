#pragma once
// Conversion between the toolkit-free FontSpec and QFont.

#include "base/Dialogs.h"

#include <QFont>

QFont FontFromSpec(const FontSpec& spec);
FontSpec SpecFromFont(const QFont& font);
