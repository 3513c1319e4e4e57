#pragma once
// Pixel-exact drawing in the bar's coordinate rules: filled rectangles exclude their right and
// lower edges; lines run from the first point up to, but not including, the last point;
// outlines include all four corner points. Only horizontal and vertical lines are needed.

#include <QColor>
#include <QPainter>

// Fills (left, top)-(right, bottom), right and lower edges excluded; an empty or inverted
// rectangle draws nothing.
void FillBox(QPainter& painter, int left, int top, int right, int bottom, const QColor& color);

// A horizontal or vertical line from (x1, y1) towards (x2, y2), the end point excluded.
void DrawLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& color);

// The closed outline through the corners (left, top) and (right, bottom), both included.
void DrawOutline(QPainter& painter, int left, int top, int right, int bottom, const QColor& color);

// A raised 3-D frame `width` pixels wide inside (left, top)-(right, bottom), right and lower
// edges excluded: top and left edges in `topLeft`, lower and right edges in `bottomRight`.
void DrawFrame3D(QPainter& painter, int left, int top, int right, int bottom, const QColor& topLeft,
                 const QColor& bottomRight, int width);
