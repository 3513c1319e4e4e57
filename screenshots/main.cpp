// Screenshots of the librarian: fresh, with the demo bank received from the virtual GR-33, the
// patch library window after that receive, two of its patches compared, the MIDI log of a
// connection test and two receives, the about window and the wait notice. argv[1] is the output
// folder.

#include "librarian/About.h"
#include "librarian/MainFrm.h"
#include "librarian/WaitFrm.h"
#include "library/Library.h"
#include "midi/MidiDevices.h"
#include "model/Settings.h"
#include "sim/VirtualGr33.h"
#include "tests/support/RecordingDialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool Save(QWidget& widget, const QDir& folder, const char* name) {
    QApplication::processEvents();
    bool ok = widget.grab().save(folder.filePath(name));
    if (!ok) std::fprintf(stderr, "could not write %s\n", name);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    folder.mkpath(".");
    QTemporaryDir scratch;
    Settings().Start(QDir(scratch.path()).filePath("KelvoLight.ini").toStdString());
    RecordingDialogs prompts; // the start-up's "GR-33 found" and the like go nowhere
    ScopedPrompts guard(prompts);
    InstallMidiBackends(
        nullptr, CreateVirtualGr33(QDir(scratch.path()).filePath("device.G33").toStdString()));

    bool ok = true;
    {
        TPatchLibrary library(QDir(scratch.path()).filePath("library.sqlite").toStdString());
        TFormMain main;
        main.SetPatchLibrary(&library);
        main.show();
        main.FormCreate();
        ok &= Save(main, folder, "main-fresh.png");

        main.findChild<QAction*>("ReceiveCollection1")->trigger();
        ok &= Save(main, folder, "main-demo.png");

        main.findChild<QAction*>("PatchLibrary1")->trigger();
        if (auto* window = main.findChild<QWidget*>("LibraryWindow")) {
            window->findChild<QLineEdit*>("LibrarySearch")->setText("piano");
            window->findChild<QTableView*>("LibraryTable")->selectRow(1);
            ok &= Save(*window, folder, "library.png");
            auto* table = window->findChild<QTableView*>("LibraryTable");
            table->selectionModel()->select(table->model()->index(0, 0),
                                            QItemSelectionModel::Select |
                                                QItemSelectionModel::Rows);
            window->findChild<QPushButton*>("LibraryCompare")->click();
            if (auto* compare = main.findChild<QWidget*>("CompareWindow")) {
                ok &= Save(*compare, folder, "compare.png");
                compare->hide();
            }
            window->hide();
        }

        main.findChild<QAction*>("MidiLog1")->trigger();
        if (auto* window = main.findChild<QWidget*>("MidiLogWindow")) {
            main.findChild<QAction*>("TestIdentity1")->trigger();
            main.findChild<QAction*>("ReceivePatch1")->trigger();
            main.findChild<QAction*>("ReceiveTmpPatch1")->trigger();
            ok &= Save(*window, folder, "midi-log.png");
            window->hide();
        }

        main.findChild<QAction*>("About1")->trigger();
        ok &= Save(*main.AboutForm(), folder, "about.png");
        main.AboutForm()->hide();

        TFormWait wait;
        main.SetWaitWindow(&wait);
        main.ShowWait(true);
        ok &= Save(wait, folder, "wait.png");
        main.ShowWait(false);
        for (const auto& shown : prompts.shown)
            std::fprintf(stderr, "%s: %s\n", shown.kind.c_str(), shown.text.c_str());
    }
    InstallMidiBackends(nullptr, nullptr);
    return ok ? 0 : 1;
}
