// Writes <outdir>/ibar.png: a page of bar controls in the settings the windows use, plus the
// bar's special cases (both sides of a base, overflow, disabled, vertical with legend).

#include "controls/IBar.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QWidget>

#include <cstdio>

namespace {

TIBar* AddBar(QWidget& page, const char* caption, int x, int y, int w, int h) {
    auto* label = new QLabel(QString::fromUtf8(caption), &page);
    label->move(x, y);
    auto* bar = new TIBar(&page);
    bar->setGeometry(x, y + 16, w, h);
    return bar;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QWidget page;
    page.setAutoFillBackground(true);
    page.resize(640, 400);

    // The console's key and velocity bars.
    TIBar* key = AddBar(page, "Key (console) 177 x 17, Border 5, value 69", 10, 10, 177, 17);
    key->SetMax(127);
    key->SetDiscretization(1);
    key->SetValue(69);
    key->SetBorder(5);
    key->SetScale(10);
    TIBar* velocity = AddBar(page, "Velocity (console), value 127", 10, 50, 177, 17);
    velocity->SetMax(127);
    velocity->SetDiscretization(1);
    velocity->SetValue(127);
    velocity->SetBorder(5);
    velocity->SetScale(10);

    // A 0..30 bar with base 15, the value on either side, scale ticks shown.
    TIBar* below = AddBar(page, "0..30, base 15, value 8, scale", 10, 90, 200, 25);
    below->SetMax(30);
    below->SetDiscretization(1);
    below->SetBase(15);
    below->SetValue(8);
    below->SetShowScale(true);
    TIBar* above = AddBar(page, "0..30, base 15, value 24", 10, 138, 200, 25);
    above->SetMax(30);
    above->SetDiscretization(1);
    above->SetBase(15);
    above->SetValue(24);

    TIBar* overflow = AddBar(page, "0..127, value 150 (overflow)", 10, 186, 200, 25);
    overflow->SetMax(127);
    overflow->SetValue(150);

    TIBar* disabled = AddBar(page, "disabled, value 40", 10, 234, 200, 25);
    disabled->SetMax(127);
    disabled->SetValue(40);
    disabled->setEnabled(false);

    TIBar* logBar = AddBar(page, "log, value 30, mark 64 +- 8", 10, 282, 200, 25);
    logBar->SetMax(127);
    logBar->SetLogScale(true);
    logBar->SetShowScale(true);
    logBar->SetValue(30);
    logBar->SetShowMark(true);
    logBar->SetMarkBase(64);
    logBar->SetMarkPlusMinus(8);

    TIBar* marker = AddBar(page, "no slide, value = base", 240, 234, 150, 25);
    marker->SetMax(10);
    marker->SetBase(4);
    marker->SetValue(4);
    marker->SetShowSlide(false);
    marker->SetShape(TBevelShape::Frame);

    TIBar* frame = AddBar(page, "frame shape, raised", 240, 282, 150, 25);
    frame->SetMax(10);
    frame->SetValue(7);
    frame->SetShape(TBevelShape::Frame);
    frame->SetStyle(TBevelStyle::Raised);

    // A vertical bar with the default legend (-1..1), values in tenths.
    TIBar* vertical = AddBar(page, "vertical, legend", 430, 10, 107, 25);
    vertical->SetOrientHoriz(false);
    vertical->SetMin(-1);
    vertical->SetMax(1);
    vertical->SetDiscretization(0.1f);
    vertical->SetValue(0.5f);
    vertical->SetShowScale(true);
    vertical->SetShowLegend(true);

    TIBar* effect = AddBar(page, "effect parameter 417 x 13, value 64", 10, 330, 417, 13);
    effect->SetMax(127);
    effect->SetDiscretization(1);
    effect->SetBorder(3);
    effect->SetValue(64);
    effect->SetScale(10);
    effect->setToolTip(QStringLiteral("Parameter"));

    page.show();
    // The bars settle their range and legend strip over the first few paints.
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();

    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const QString file = QDir(folder).filePath(QStringLiteral("ibar.png"));
    if (!page.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}
