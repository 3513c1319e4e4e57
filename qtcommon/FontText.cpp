#include "qtcommon/FontText.h"

QFont FontFromSpec(const FontSpec& wanted) {
    QFont font(QString::fromStdString(wanted.name));
    if (wanted.size > 0) font.setPointSize(wanted.size);
    font.setBold(wanted.style & 1);
    font.setItalic(wanted.style & 2);
    font.setUnderline(wanted.style & 4);
    font.setStrikeOut(wanted.style & 8);
    return font;
}

FontSpec SpecFromFont(const QFont& font) {
    FontSpec wanted;
    wanted.size = font.pointSize();
    wanted.style = (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) |
                 (font.strikeOut() ? 8 : 0);
    wanted.name = font.family().toStdString();
    return wanted;
}
