// The grid's right press, font and sizes, the file named at start, the port menus and their
// connection tests, transfers with the virtual GR-33 and the MIDI log window that shows them.

#include "WindowFixture.h"

namespace {

using GridWindow = WindowTest;

void RightPress(QWidget* target, QPoint pos) {
    QTest::mousePress(target, Qt::RightButton, Qt::NoModifier, pos);
    QTest::mouseRelease(target, Qt::RightButton, Qt::NoModifier, pos);
}

// Without ports the start still finishes; a right press picks the context menu.
TEST_F(GridWindow, RightPressPicksTheContextMenuAndNoPortsStillStart) {
    Open();
    EXPECT_EQ(prompts.Texts("message"),
              std::vector<std::string>({"No MIDI-IN port found", "No MIDI-OUT port found"}));
    Choose("TestIdentity1");
    EXPECT_EQ(prompts.Last(), "No midi-in device found.");
    EXPECT_THROW(window_->SelectedMidiOut(), EKelvoError);
    auto* patchMenu = Find<QMenu>("PopupMenuPatch");
    auto* collectionMenu = Find<QMenu>("PopupMenuCollection");
    QHeaderView* left = Grid()->verticalHeader();
    RightPress(left->viewport(), QPoint(left->width() / 2, left->sectionViewportPosition(8) + 2));
    EXPECT_EQ(window_->GridPopup(), collectionMenu);
    EXPECT_EQ(window_->SelectedPatch(), 1);
    RightPress(Grid()->viewport(), CellCentre(86));
    EXPECT_EQ(window_->GridPopup(), patchMenu);
    EXPECT_EQ(window_->SelectedPatch(), 86); // C32
    Choose("RightClickSelect1");             // off: the press leaves the selection alone
    RightPress(Grid()->viewport(), CellCentre(4));
    EXPECT_EQ(window_->SelectedPatch(), 86);
    auto* corner = Grid()->findChild<QAbstractButton*>(); // the top-left corner is no cell
    RightPress(corner, corner->rect().center());
    EXPECT_EQ(window_->GridPopup(), collectionMenu);
    Key(Qt::Key_Menu, {}); // the patch menu whatever was pressed before
    EXPECT_EQ(window_->GridPopup(), patchMenu);
    EXPECT_TRUE(patchMenu->isVisible());
}

// A malformed stored font is reported and the start goes on, the check marks still set; a font
// chosen widens the grid, never the window. KelvoLight FILE: a collection fills the grid, a patch
// file the temporary patch; cells show the twelve characters of the name as stored, also those
// the name field maps.
TEST_F(GridWindow, GridFontFromTheSettingsAndTheFileNamedAtStart) {
    WriteSetting("GridFont", "big 0 Sans");
    WriteSetting("RightClickSelect", "No");
    Open();
    EXPECT_EQ(prompts.Texts("error").front(), "'big' is not a valid integer value.");
    EXPECT_EQ(Cell(128), "D84: Empty");
    EXPECT_FALSE(Find("RightClickSelect1")->isChecked());
    QSize before = Grid()->size(), window = window_->size();
    auto* view = Find<QScrollArea>("ScrollBox")->viewport();
    EXPECT_EQ(view->width(), Grid()->width()); // every column in view at start, not every row
    EXPECT_LT(window_->height(), Grid()->height());
    FontSpec bigger{14, 1, window_->GridFont().name};
    prompts.fontAnswers = {bigger};
    Choose("SetGridFont1");
    EXPECT_EQ(ReadSetting("GridFont"), "14 1 " + bigger.name);
    EXPECT_EQ(window_->GridFont(), bigger);
    EXPECT_GT(Grid()->width(), before.width());
    EXPECT_GT(Grid()->height(), before.height());
    EXPECT_EQ(window_->size(), window);
    window_->resize(3000, 3000);
    QApplication::processEvents();
    EXPECT_EQ(view->size(), Grid()->size());

    PatchBytes bytes{};
    const std::string name = "Yen\\ ~<>}{ |";
    std::copy(name.begin(), name.end(), bytes.begin());
    window_->OpenStartFile(BankFile("start.G33", {}, {{1, bytes}}));
    EXPECT_EQ(Cell(1).toStdString(), "A11: " + name);
    EXPECT_EQ(Title(), "KelvoLight 1.01 (start.G33)");
    window_->OpenStartFile(PatchFile());
    EXPECT_EQ(Find<QMenu>("Temporary1")->title().left(17), "Temporary Patch (");
    EXPECT_EQ(Title(), "KelvoLight 1.01 (start.G33)"); // nothing to save
    window_->OpenStartFile(File("none.G33"));
    EXPECT_EQ(prompts.Texts("message").back(), "File " + File("none.G33") + " not found");
}

TEST_F(GridWindow, PortMenusFromTheDeviceList) {
    InstallPorts({{"USB In"}, {"Hub #2 In"}}, {{"Soft Synth", TMidiTechnology::mtSynth},
                                               {"Wave", TMidiTechnology::mtFmSynth},
                                               {"Out & Thru", TMidiTechnology::mtMidiPort}});
    WriteSetting("MidiInEntry", "1");
    WriteSetting("MidiOutEntry", "5");
    Open();
    EXPECT_EQ(Captions(Find<QMenu>("SelectMidiInPort1")),
              QStringList({"USB In  #1", "Hub #2 In  #2"}));
    EXPECT_EQ(Captions(Find<QMenu>("SelectMidiOutPort1")), QStringList({"Out && Thru  #3"}));
    EXPECT_EQ(window_->SelectedMidiIn(), 2);
    EXPECT_EQ(window_->SelectedMidiOut(), 3);
    EXPECT_EQ(ReadSetting("MidiOutEntry") + ReadSetting("MidiInEntry"), "01"); // 5: out of range
    // Restoring the output entry ran the one connection test of the start.
    EXPECT_EQ(prompts.Texts("message"),
              std::vector<std::string>({CommunicationErrorText, DeviceNotFoundText}));
    prompts.Clear();
    Choose("MidiInEntry0"); // another entry is stored and tested at once
    EXPECT_EQ(ReadSetting("MidiInEntry"), "0");
    EXPECT_EQ(window_->SelectedMidiIn(), 1);
    EXPECT_TRUE(Find("MidiInEntry0")->isChecked() && !Find("MidiInEntry1")->isChecked());
    EXPECT_EQ(prompts.Last(), DeviceNotFoundText);
}

// The stored name wins over the stored position; each opening of the menu lists the ports again,
// the chosen one checked where it is now, nothing while it is gone, chosen again once back.
TEST_F(GridWindow, PortMenuFollowsTheChosenPortByName) {
    FakeMidiState& listed =
        InstallPorts({{"USB In"}, {"GR-33 In"}}, {{"GR-33 Out", TMidiTechnology::mtMidiPort}});
    WriteSetting("MidiInEntry", "0");
    WriteSetting("MidiInName", "GR-33 In");
    Open();
    EXPECT_EQ(window_->SelectedMidiIn(), 2);
    EXPECT_EQ(ReadSetting("MidiInEntry") + ReadSetting("MidiOutName"), "1GR-33 Out");
    const auto atStart = prompts.Texts("message"); // the start's one connection test
    ASSERT_FALSE(atStart.empty());
    auto* menu = Find<QMenu>("SelectMidiInPort1");
    const struct {
        std::vector<MidiPortInfo> ins;
        QStringList shown; // "*" before the checked entry
        int device;        // 0: the port is unset
        const char* stored;
    } steps[] = {
        {{{"USB In"}, {"GR-33 In"}}, {"USB In  #1", "*GR-33 In  #2"}, 2, "1"},
        {{{"Hub"}, {"USB In"}, {"GR-33 In"}}, {"Hub  #1", "USB In  #2", "*GR-33 In  #3"}, 3, "2"},
        {{{"Hub"}}, {"Hub  #1"}, 0, "2"},
        {{{"GR-33 In"}, {"Hub"}}, {"*GR-33 In  #1", "Hub  #2"}, 1, "0"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.shown.join(", ").toStdString());
        listed.inputs = step.ins;
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        const auto menus = OpenMenus(menu);
        EXPECT_TRUE(menu->isVisible());
        QStringList shown;
        for (QAction* entry : menu->actions())
            shown << (entry->isChecked() ? "*" : "") + entry->text();
        CloseMenus(menus);
        EXPECT_EQ(shown, step.shown);
        if (step.device)
            EXPECT_EQ(window_->SelectedMidiIn(), step.device);
        else
            EXPECT_THROW(window_->SelectedMidiIn(), EKelvoError);
        EXPECT_EQ(ReadSetting("MidiInEntry") + ReadSetting("MidiInName"),
                  step.stored + std::string("GR-33 In"));
    }
    EXPECT_EQ(prompts.Texts("message"), atStart); // no connection test while the menu opens
    Choose("MidiInEntry1");                       // the menu still chooses
    EXPECT_EQ(ReadSetting("MidiInEntry") + ReadSetting("MidiInName"), "1Hub");
}

TEST_F(GridWindow, StartUpWithoutAnInputPortArmsTheTestBeforeSend) {
    InstallPorts({}, {{"Out", TMidiTechnology::mtMidiPort}});
    Open();
    EXPECT_EQ(prompts.Texts("error"), std::vector<std::string>{"No midi-in device found."});
    EXPECT_TRUE(Find("GrTestBeforeSend1")->isChecked() && window_->PortTestArmed());
}

TEST_F(GridWindow, CancelInTheProgressNoticeEndsTheReceive) {
    InstallDevice();
    Open();
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>{DeviceFoundText});
    EXPECT_EQ(Captions(Find<QMenu>("SelectMidiOutPort1")), QStringList({"Virtual GR-33  #1"}));
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        auto* progress = window_->findChild<QProgressDialog*>("TransferProgress");
        if (progress && progress->value() >= 5)
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    });
    cancel.start(0);
    Choose("ReceiveCollection1");
    EXPECT_EQ(prompts.Last(), "Operation cancelled.");
    EXPECT_NE(Cell(1), "A11: Empty");
    EXPECT_EQ(Cell(128), "D84: Empty");
    EXPECT_EQ(Title(), "KelvoLight 1.01 (* Untitled)");
    EXPECT_EQ(window_->findChild<QProgressDialog*>("TransferProgress"), nullptr);
}

// The MIDI log window: a receive shows as it passes, Copy and Save... hand its rows on, closing
// it (not minimising it) stops the recording.
TEST_F(GridWindow, MidiLogShowsAReceiveAsItPasses) {
    InstallDevice();
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
    EXPECT_TRUE(request.contains(" out Virtual GR-33 16 bytes: Request A32\n"
                                 "    F0 41 10 00 30 11 01 09"))
        << request.toStdString();
    EXPECT_TRUE(
        data.contains(" in  Virtual GR-33 140 bytes: Data A32 '" + DemoName(10).trimmed() + "'\n"))
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

// A send whose read-back finds a slot the device ignored offers the old bank back, and "Resume
// Receive" finishes a receive that stopped.
TEST_F(GridWindow, ReadBackOffersTheOldBankAndResumeFinishesAReceive) {
    VirtualGr33* device = InstallDevice({{FaultKind::IgnoreWrite, 12}});
    Open();
    prompts.fileAnswers = {PatchFile(), PatchFile()};
    for (int n : {12, 13})
        ClickCell(n), Choose("LoadPatch1"); // the demo's first patch into A34 and A41
    prompts.confirmAnswers = {true};
    Choose("SendCollection1");
    EXPECT_EQ(prompts.Last(), "Patch (A34) differs after sending\n"
                              "Send back the patches the device held before ?");
    device->Inspect([](const Gr33Device& d) { EXPECT_EQ(d.Bank().Patch(13), DemoPatch(13)); });
    EXPECT_FALSE(Find("ResumeReceive1")->isEnabled());
    InstallDevice({{FaultKind::Silent, 37}});
    Choose("ReceiveCollection1");
    EXPECT_EQ(prompts.Last(), "Patch (B21) not received. Operation aborted.");
    ASSERT_TRUE(Find("ResumeReceive1")->isEnabled());
    InstallDevice();
    Choose("ResumeReceive1");
    EXPECT_FALSE(Find("ResumeReceive1")->isEnabled());
    for (int n = 1; n <= 128; ++n)
        ASSERT_EQ(window_->Collection().Slot(n).Bytes(), DemoPatch(n)) << n;
}

} // namespace
