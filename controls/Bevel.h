#pragma once
// The bevel a bar is drawn inside: a box or frame around the control, or one edge line.

#include <QPainter>
#include <QPalette>

enum class TBevelShape { Box, Frame, TopLine, BottomLine, LeftLine, RightLine, Spacer };
enum class TBevelStyle { Lowered, Raised };

// Draws the bevel of a control `width` x `height` pixels. Lowered: top and left edges in the
// button shadow colour, lower and right edges in the button highlight colour; raised swaps the
// two. Box and the lines use the outermost pixel ring only; Frame is an etched edge two pixels
// wide; Spacer draws nothing.
void DrawBevel(QPainter& painter, int width, int height, TBevelShape shape, TBevelStyle style,
               const QPalette& palette);
