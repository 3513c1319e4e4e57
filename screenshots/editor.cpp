// Screenshots of the patch editor's four pages on a patch of the demo bank:
// editor-common.png, editor-tone.png, editor-effects.png, editor-fx.png in the folder argv[1].

#include "tests/support/RecordingDialogs.h"
#include "editor/EditFrm.h"
#include "model/DetachedHost.h"
#include "sim/DemoBank.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: shot_editor <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    RecordingDialogs prompts;
    ScopedPrompts guard(prompts);
    DetachedHost host;

    // Demo patch A11 with its multi-effect switched on for both tones.
    TPatch record;
    PatchBytes bytes = DemoPatch(1);
    bytes[106] = 3;
    std::copy(bytes.begin(), bytes.end(), record.Data());
    OpenEditor(record, 1, host);
    auto* editor = dynamic_cast<QWidget*>(record.Editor);
    if (!editor) return 1;

    auto* pages = editor->findChild<QTabWidget*>("PageControl1");
    const char* files[] = {"editor-common.png", "editor-tone.png", "editor-effects.png",
                           "editor-fx.png"};
    bool ok = true;
    for (int i = 0; i < 4; ++i) {
        pages->setCurrentIndex(i);
        QApplication::processEvents();
        ok = editor->grab().save(out.filePath(files[i])) && ok;
    }
    editor->close();
    return ok ? 0 : 1;
}
