// Opening an editor: open and close 100 editors on demo-bank patches and report the time of
// one open (building the window, loading every control, setting up the effect page, showing).

#include "tests/support/RecordingDialogs.h"
#include "editor/EditFrm.h"
#include "model/DetachedHost.h"
#include "sim/DemoBank.h"

#include <QApplication>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    RecordingDialogs prompts;
    ScopedPrompts guard(prompts);
    DetachedHost host;
    static std::array<TPatch, 128> records;
    for (int n = 1; n <= 128; ++n) {
        const PatchBytes bytes = DemoPatch(n);
        std::copy(bytes.begin(), bytes.end(), records[n - 1].Data());
    }

    constexpr int Runs = 100;
    using Clock = std::chrono::steady_clock;
    Clock::duration opening{};
    for (int i = 0; i < Runs; ++i) {
        TPatch& record = records[i];
        const auto start = Clock::now();
        OpenEditor(record, i + 1, host);
        QApplication::processEvents();
        opening += Clock::now() - start;
        if (auto* editor = dynamic_cast<QWidget*>(record.Editor)) editor->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const double ms = std::chrono::duration<double, std::milli>(opening).count() / Runs;
    std::printf("editor open: %.2f ms per open (%d opens, pending events included)\n", ms, Runs);
    return 0;
}
