// Writes console.png and converter.png: the two tool windows as the user first sees them, the
// converter showing an exported demo patch.
#include "base/Errors.h"
#include "gr33/Patch.h"
#include "model/DetachedHost.h"
#include "model/Settings.h"
#include "tools/ConsoleFrm.h"
#include "tools/ConverterFrm.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QToolButton>

#include <cstring>
#include <iostream>

namespace {

bool save(QWidget& window, const QDir& folder, const char* name) {
    window.show();
    QApplication::processEvents();
    const QString path = folder.filePath(name);
    if (!window.grab().save(path)) {
        std::cerr << "cannot write " << path.toStdString() << "\n";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: shot_tools <output folder>\n";
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    // A store of its own that is never written: the shots leave no settings behind.
    Settings().Start(folder.filePath("shot_tools.ini").toStdString());

    DetachedHost host;
    PatchBytes bytes{};
    std::memcpy(bytes.data(), "Warm Strings", NameSize);
    for (std::size_t i = NameSize; i < PatchSize; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 29) & 0x7F);
    host.TempPatch().SetBytes(bytes, 0);

    TFormConsole console(host);
    TFormConverter converter(host);
    converter.findChild<QToolButton*>("ButtonExport")->click();
    converter.findChild<QPlainTextEdit*>("Memo1")->moveCursor(QTextCursor::Start);
    const bool ok =
        save(console, folder, "console.png") && save(converter, folder, "converter.png");
    return ok ? 0 : 1;
}
