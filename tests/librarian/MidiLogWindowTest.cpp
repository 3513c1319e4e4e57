// The MIDI log window: a receive from the virtual GR-33 shows as it passes, Copy and Save...
// hand its rows on, closing it (not minimising it) stops the recording.
#include "WindowFixture.h"

#include "base/FileRead.h"
#include "gr33/PatchNumber.h"
#include "midi/MidiLog.h"
#include "sim/VirtualGr33.h"

#include <QApplication>
#include <QClipboard>
#include <QListView>
#include <QPushButton>

TEST_F(WindowTest, MidiLogShowsAReceiveAsItPasses) {
    InstallMidiBackends(nullptr, CreateVirtualGr33(File("device.G33")));
    Open();
    Choose("MidiLog1");
    auto* log = window_->findChild<QWidget*>("MidiLogWindow");
    ASSERT_TRUE(log && log->isVisible());
    QAbstractItemModel* rows = log->findChild<QListView*>("MidiLogList")->model();
    EXPECT_EQ(rows->rowCount(), 0); // the start-up's connection test came before the window

    ClickCell(10);
    Choose("ReceivePatch1");
    for (int wait = 0; wait < 100 && rows->rowCount() < 2; ++wait)
        QTest::qWait(10);
    ASSERT_EQ(rows->rowCount(), 2);
    const QString request = rows->index(0, 0).data().toString();
    const QString data = rows->index(1, 0).data().toString();
    const std::string label = PatchLabel(10);
    EXPECT_TRUE(request.contains(QString::fromStdString(" out Virtual GR-33 16 bytes: Request " +
                                                        label + "\n    F0 41 10 00 30 11 01 09")))
        << request.toStdString();
    const QString name = QString::fromStdString(window_->Collection().Slot(10).GetName());
    EXPECT_TRUE(
        data.contains(QString::fromStdString(" in  Virtual GR-33 140 bytes: Data " + label) + " '" +
                      name.trimmed() + "'\n"))
        << data.toStdString();
    EXPECT_EQ(data.count('\n'), 5); // the 140 bytes on five lines

    QApplication::clipboard()->clear();
    QTest::mouseClick(log->findChild<QPushButton*>("MidiLogCopy"), Qt::LeftButton);
    const QString copied = QApplication::clipboard()->text();
    EXPECT_EQ(copied, request + "\n" + data + "\n");

    prompts.fileAnswers = {File("midi.txt")};
    QTest::mouseClick(log->findChild<QPushButton*>("MidiLogSave"), Qt::LeftButton);
    EXPECT_EQ(prompts.Texts("save"), std::vector<std::string>{"Save MIDI Log"});
    const Bytes saved = ReadWholeFile(File("midi.txt"));
    EXPECT_EQ(std::string(saved.begin(), saved.end()), copied.toStdString());

    // Minimised it goes on recording; closed it stops.
    log->showMinimized();
    EXPECT_TRUE(MidiLog().Watched());
    log->showNormal();
    EXPECT_EQ(rows->rowCount(), 2);
    log->close();
    EXPECT_FALSE(MidiLog().Watched());
}
