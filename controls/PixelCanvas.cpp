#include "controls/PixelCanvas.h"

#include <QRect>

#include <algorithm>

void FillBox(QPainter& painter, int left, int top, int right, int bottom, const QColor& color) {
    if (right <= left || bottom <= top) return;
    painter.fillRect(QRect(left, top, right - left, bottom - top), color);
}

void DrawLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& color) {
    if (x1 == x2 && y1 != y2) {
        // Rows from y1 towards y2, y2 itself left out, in whichever direction the line runs.
        const int first = y2 > y1 ? y1 : y2 + 1;
        const int last = y2 > y1 ? y2 - 1 : y1;
        painter.fillRect(QRect(x1, first, 1, last - first + 1), color);
    } else if (y1 == y2 && x1 != x2) {
        const int first = x2 > x1 ? x1 : x2 + 1;
        const int last = x2 > x1 ? x2 - 1 : x1;
        painter.fillRect(QRect(first, y1, last - first + 1, 1), color);
    } else if (x1 != x2) {
        // Not used by the bar; drawn as an ordinary line for completeness.
        painter.save();
        painter.setPen(color);
        painter.drawLine(x1, y1, x2, y2);
        painter.restore();
    }
}

void DrawOutline(QPainter& painter, int left, int top, int right, int bottom, const QColor& color) {
    if (left == right && top == bottom) {
        painter.fillRect(QRect(left, top, 1, 1), color);
        return;
    }
    DrawLine(painter, left, top, right, top, color);
    DrawLine(painter, right, top, right, bottom, color);
    DrawLine(painter, right, bottom, left, bottom, color);
    DrawLine(painter, left, bottom, left, top, color);
}

void DrawFrame3D(QPainter& painter, int left, int top, int right, int bottom, const QColor& topLeft,
                 const QColor& bottomRight, int width) {
    for (int ring = 0; ring < width; ++ring) {
        const int l = left + ring;
        const int t = top + ring;
        const int r = right - ring - 1;  // last column inside
        const int b = bottom - ring - 1; // last row inside
        if (r < l || b < t) return;
        // Left column up from the lower-left corner, then the top row; the corners at the
        // upper right and lower left belong to the dark edges.
        DrawLine(painter, l, b, l, t, topLeft);
        DrawLine(painter, l, t, r, t, topLeft);
        DrawLine(painter, r, t, r, b + 1, bottomRight);
        DrawLine(painter, r, b, l - 1, b, bottomRight);
    }
}
