// The librarian's file dialogs, typed into as a user does, and the signals that end the program
// from outside reaching the event loop instead of killing it.
#include "WindowFixture.h"

namespace {

// Answers the next file dialog: records the filter descriptions it shows, types the name and
// presses Return; a dialog still open a moment later (it refused the name) is cancelled.
void AnswerNextDialog(const QString& typed, QStringList& shown) {
    QTimer::singleShot(0, [&shown, typed] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        for (int i = 0; types && i < types->count(); ++i)
            shown << types->itemText(i);
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->selectAll();
        QTest::keyClicks(name, typed);
        QTest::keyClick(name, Qt::Key_Return);
        QTimer::singleShot(300, dialog, [dialog] {
            if (dialog->isVisible()) dialog->reject();
        });
    });
}

TEST(FileDialogs, ShowTheirDescriptionsAndAddTheDefaultExtension) {
    ScratchFolder folder;
    std::ofstream(folder.File("Bank5.G33")) << "x";
    std::ofstream(folder.File("Lead.P33")) << "x";
    QtDialogs dialogs;
    const QStringList collection = {"GR-33 Patch Collection (*.G33)", "All Files (*.*)"};
    const QStringList patch = {"GR-33 Patch File (*.P33)", "All Files (*.*)"};
    const std::tuple<bool, const char*, const char*, QStringList> cases[] = {
        {false, CollectionOpenFilter, "Bank5", {collection[0], "All Files", "SysEx Files (*.syx)"}},
        {true, CollectionSaveFilter, "Bank6", collection},
        {false, PatchOpenFilter, "Lead", patch + QStringList{"SysEx Files (*.syx)"}},
        {true, PatchFilter, "Pad", patch}};
    for (const auto& [save, filter, typed, expected] : cases) {
        SCOPED_TRACE(typed);
        std::string suffix = std::strstr(filter, "(*.P33)") ? "P33" : "G33";
        dialogs.SetNextFileName(folder.File("Default." + suffix));
        QStringList shown;
        AnswerNextDialog(typed, shown);
        auto chosen = save ? dialogs.SaveFileName("Save", filter, suffix)
                           : dialogs.OpenFileName("Load", filter, suffix);
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(chosen.value_or("(refused)"), folder.File(typed + ("." + suffix)));
    }
}

TEST(QuitSignals, EachEndingSignalIsHandledOnTheEventLoopUntilTheWatchEnds) {
    std::vector<int> seen;
    {
        QuitSignals watch([&](int number) { seen.push_back(number); });
        for (int number : {SIGTERM, SIGHUP, SIGINT}) {
            std::size_t before = seen.size();
            ::raise(number); // would end the test program without the watch
            QElapsedTimer waited;
            waited.start();
            while (seen.size() == before && waited.elapsed() < 2000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        EXPECT_EQ(watch.Received(), SIGINT);
    }
    EXPECT_EQ(seen, (std::vector<int>{SIGTERM, SIGHUP, SIGINT}));
    struct sigaction current {};
    ::sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}

} // namespace
