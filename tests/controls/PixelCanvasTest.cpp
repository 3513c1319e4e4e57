// The edge rules of the drawing primitives, on a 6 x 6 image: '#' the first colour, 'o' the
// second, '.' untouched; rows top to bottom, separated by '/'.

#include "controls/PixelCanvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <functional>
#include <string>

TEST(PixelCanvas, PrimitivesKeepTheirEdgeRules) {
    const QColor a = Qt::black, b = Qt::red;
    const struct {
        const char* what;
        std::function<void(QPainter&)> draw;
        const char* rows;
    } cases[] = {
        // clang-format off
        {"a fill leaves its right and lower edges out; an inverted one draws nothing",
         [&](QPainter& p) { FillBox(p, 1, 1, 3, 4, a), FillBox(p, 5, 1, 4, 4, a); },
         "....../.##.../.##.../.##.../....../......"},
        {"a line leaves its end point out, in either direction",
         [&](QPainter& p) { DrawLine(p, 1, 1, 4, 1, a), DrawLine(p, 4, 3, 1, 3, a),
                            DrawLine(p, 5, 1, 5, 4, b), DrawLine(p, 0, 5, 0, 2, b); },
         "....../.###.o/.....o/o.###o/o...../o....."},
        {"an outline includes its corners; a one-point outline is one pixel",
         [&](QPainter& p) { DrawOutline(p, 1, 1, 4, 3, a), DrawOutline(p, 0, 0, 0, 2, a),
                            DrawOutline(p, 5, 5, 5, 5, a); },
         "#...../#####./##..#./.####./....../.....#"},
        {"a 3-D frame two rings wide: the dark edges own the far corners",
         [&](QPainter& p) { DrawFrame3D(p, 0, 0, 6, 6, a, b, 2); },
         "#####o/####oo/##..oo/##..oo/#ooooo/oooooo"},
        // clang-format on
    };
    for (const auto& c : cases) {
        QImage image(6, 6, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        c.draw(painter);
        painter.end();
        std::string rows;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x <= 6; ++x)
                rows += x == 6                         ? '/'
                        : image.pixel(x, y) == a.rgb() ? '#'
                        : image.pixel(x, y) == b.rgb() ? 'o'
                                                       : '.';
        rows.pop_back();
        EXPECT_EQ(rows, c.rows) << c.what;
    }
}
