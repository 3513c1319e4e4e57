#include "controls/Bevel.h"

#include "controls/PixelCanvas.h"
#include "controls/TColor.h"

#include <utility>

void DrawBevel(QPainter& painter, int width, int height, TBevelShape shape, TBevelStyle style,
               const QPalette& palette) {
    QColor topLeft = ToQColor(clBtnShadow, palette);
    QColor bottomRight = ToQColor(clBtnHighlight, palette);
    if (style == TBevelStyle::Raised) std::swap(topLeft, bottomRight);
    const int right = width - 1;
    const int bottom = height - 1;
    switch (shape) {
    case TBevelShape::Box:
        DrawLine(painter, 0, bottom, 0, 0, topLeft);
        DrawLine(painter, 0, 0, right, 0, topLeft);
        DrawLine(painter, right, 0, right, bottom + 1, bottomRight);
        DrawLine(painter, right, bottom, -1, bottom, bottomRight);
        break;
    case TBevelShape::Frame:
        DrawOutline(painter, 1, 1, right, bottom, bottomRight);
        DrawOutline(painter, 0, 0, right - 1, bottom - 1, topLeft);
        break;
    case TBevelShape::TopLine:
        DrawLine(painter, 0, 0, width, 0, topLeft);
        break;
    case TBevelShape::BottomLine:
        DrawLine(painter, 0, bottom, width, bottom, bottomRight);
        break;
    case TBevelShape::LeftLine:
        DrawLine(painter, 0, 0, 0, height, topLeft);
        break;
    case TBevelShape::RightLine:
        DrawLine(painter, right, 0, right, height, bottomRight);
        break;
    case TBevelShape::Spacer:
        break;
    }
}
