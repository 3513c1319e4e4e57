#include "qtcommon/FontText.h"

QFont FontFromSpec(const FontSpec& spec) {
    QFont font(QString::fromStdString(spec.name));
    if (spec.size > 0) font.setPointSize(spec.size);
    font.setBold(spec.style & 1);
    font.setItalic(spec.style & 2);
    font.setUnderline(spec.style & 4);
    font.setStrikeOut(spec.style & 8);
    return font;
}

FontSpec SpecFromFont(const QFont& font) {
    FontSpec spec;
    spec.size = font.pointSize();
    spec.style = (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) |
                 (font.strikeOut() ? 8 : 0);
    spec.name = font.family().toStdString();
    return spec;
}
