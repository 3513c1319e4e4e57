// The librarian's menus, captions, shortcuts and enabled states; title and grid at start.

#include "WindowFixture.h"
#include "librarian/StringGrid.h"
#include "model/Settings.h"
#include "sim/DemoBank.h"
#include "tests/support/UserClose.h"
#include "tools/ConsoleFrm.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenuBar>
#include <QTimer>

namespace {

using MainMenus = WindowTest;

TEST_F(MainMenus, MainMenuItemsInOrder) {
    Open();
    QStringList bar;
    for (QAction* action : window_->menuBar()->actions())
        bar << action->text();
    EXPECT_EQ(bar, QStringList({"Patch Collection", "Selected Patch", "Temporary Patch ()",
                                "Options", "About"}));
    EXPECT_EQ(Captions(Find<QMenu>("Collection1")),
              QStringList({"Load...", "Save As...", "-", "Receive", "Send"}));
    EXPECT_EQ(Captions(Find<QMenu>("Patch1")),
              QStringList({"Load...", "Save As...", "-", "Receive", "Send", "-", "Edit", "-",
                           "Cut [Ctrl+X]", "Copy [Ctrl+C]"}));
    EXPECT_EQ(Captions(Find<QMenu>("Temporary1")),
              QStringList({"Load...", "Save As..", "-", "Receive", "Send", "-", "Edit", "-",
                           "Paste-Over [Ctrl+V]", "Paste-Insert [Ctrl+Ins]"}));
    EXPECT_EQ(
        Captions(Find<QMenu>("Options1")),
        QStringList({"Select MIDI-OUT Port", "Select MIDI-IN Port", "Test MIDI Connection",
                     "Import/Export Patch", "-", "Set Patch Grid Font...", "-",
                     "Show MIDI Console...", "MIDI Device Warnings", "SysEx Compatibility Warnings",
                     "Right Click Select", "Test Connection On Send", "Virtual GR-33 Device"}));
    EXPECT_EQ(
        Captions(Find<QMenu>("PopupMenuPatch")),
        QStringList({"Load...", "Save As...", "Receive", "Send", "Edit", "Cut [Ctrl+X]",
                     "Copy [Ctrl+C]", "-", "Paste-Over [Ctrl+V]", "Paste-Insert [Ctrl+Ins]"}));
    EXPECT_EQ(Captions(Find<QMenu>("PopupMenuCollection")),
              QStringList({"Collection: Load...", "Collection: Save As...", "Collection: Receive",
                           "Collection: Send"}));
}

TEST_F(MainMenus, TemporaryPatchItemsWaitForTheFirstPatch) {
    Open();
    const char* waiting[] = {"SaveAsTmpPatch1",    "SendTmpPatch1",        "EditTmpPatch1",
                             "PasteTmpPatchOver1", "PasteTmpPatchInsert1", "PopupPasteOver",
                             "PopupPasteInsert"};
    for (const char* name : waiting)
        EXPECT_FALSE(Find(name)->isEnabled()) << name;
    EXPECT_TRUE(Find("LoadTmpPatch1")->isEnabled());
    EXPECT_TRUE(Find("ReceiveTmpPatch1")->isEnabled());

    // Ctrl+V does nothing while its item is disabled.
    PatchBytes bytes{};
    std::string name = "Lead        ";
    std::copy(name.begin(), name.end(), bytes.begin());
    window_->Collection().Slot(1).SetBytes(bytes, 1);
    window_->UpdateCell(1, 1);
    Find("PasteTmpPatchOver1")->trigger();
    EXPECT_EQ(window_->Collection().Slot(1).GetName(), "Lead        ");
    EXPECT_FALSE(window_->Collection().Modified());

    Find("CopyPatch1")->trigger();
    EXPECT_EQ(Find<QMenu>("Temporary1")->title(), "Temporary Patch (Lead)");
    for (const char* item : waiting)
        EXPECT_TRUE(Find(item)->isEnabled()) << item;
    EXPECT_FALSE(window_->Collection().Modified());
}

TEST_F(MainMenus, FreshWindowShowsEmptySlotsSelectionAndTitle) {
    Open();
    EXPECT_EQ(window_->windowTitle(), "KelvoLight 1.01 (Untitled)");
    auto* grid = Find<TStringGrid>("StringGrid");
    ASSERT_EQ(grid->rowCount(), 32);
    ASSERT_EQ(grid->columnCount(), 4);
    EXPECT_EQ(grid->item(0, 0)->text(), "A11: Empty");
    EXPECT_EQ(grid->item(9, 2)->text(), "B23: Empty");
    EXPECT_EQ(grid->item(31, 3)->text(), "D84: Empty");
    EXPECT_EQ(grid->horizontalHeaderItem(3)->text(), "4");
    EXPECT_EQ(grid->verticalHeaderItem(8)->text(), "B1");
    EXPECT_EQ(grid->verticalHeaderItem(31)->text(), "D8");
    EXPECT_EQ(window_->SelectedPatch(), 1);
    EXPECT_FALSE(grid->item(0, 0)->flags() & Qt::ItemIsEditable);

    // Ctrl-click on the selected cell keeps it selected: always exactly one cell.
    QRect cell = grid->visualItemRect(grid->item(0, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, cell.center());
    EXPECT_EQ(grid->selectedItems().size(), 1);
}

TEST_F(MainMenus, CutAndEmptyEditThroughTheMenus) {
    Open();
    PatchBytes bytes{};
    bytes.fill('Q');
    window_->Collection().Slot(2).SetBytes(bytes, 2);
    window_->UpdateCell(2, 1);
    auto* grid = Find<TStringGrid>("StringGrid");
    grid->setCurrentCell(0, 1);
    Find("CutPatch1")->trigger();
    EXPECT_EQ(grid->item(0, 1)->text(), "A12: Empty");
    EXPECT_EQ(window_->windowTitle(), "KelvoLight 1.01 (* Untitled)");
    EXPECT_EQ(Find<QMenu>("Temporary1")->title(), "Temporary Patch (QQQQQQQQQQQQ)");

    Find("EditPatch1")->trigger();
    EXPECT_EQ(prompts.Last(), "Patch (A12) is empty!");
}

TEST_F(MainMenus, OptionsPersistAndStartFromTheSettings) {
    Open();
    // First run: the two "Yes"-only options unchecked, the others checked.
    EXPECT_FALSE(Find("ShowMIDIConsole1")->isChecked());
    EXPECT_FALSE(Find("DeviceWarnings1")->isChecked());
    EXPECT_TRUE(Find("CompatibilityWarnings1")->isChecked());
    EXPECT_TRUE(Find("RightClickSelect1")->isChecked());
    EXPECT_TRUE(Find("GrTestBeforeSend1")->isChecked());
    EXPECT_TRUE(Find("VirtualDevice1")->isChecked());

    Find("GrTestBeforeSend1")->trigger();
    EXPECT_FALSE(window_->TestBeforeSend());
    Find("GrTestBeforeSend1")->trigger();
    Find("VirtualDevice1")->trigger();
    Find("DeviceWarnings1")->trigger();
    int lines = 0;
    for (const auto& line : Settings().Lines())
        lines += line.rfind("GRTestBeforeSend=", 0) == 0;
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(ReadSetting("GRTestBeforeSend"), "Yes");
    EXPECT_EQ(ReadSetting("VirtualDevice"), "No");

    window_.reset();
    WriteSetting("RightClickSelect", "no");
    WriteSetting("Console", "yes");
    Open();
    EXPECT_FALSE(Find("VirtualDevice1")->isChecked());
    EXPECT_TRUE(Find("DeviceWarnings1")->isChecked());
    EXPECT_FALSE(Find("RightClickSelect1")->isChecked());
    EXPECT_TRUE(Find("ShowMIDIConsole1")->isChecked());

    QWidget console;
    window_->SetConsoleWindow(&console);
    EXPECT_TRUE(console.isVisible());
    Find("ShowMIDIConsole1")->trigger();
    EXPECT_FALSE(console.isVisible());
    EXPECT_EQ(ReadSetting("Console"), "No");
}

TEST_F(MainMenus, CloseAsksToSaveAndStaysOpenWhenTheSaveFails) {
    Open();
    window_->Collection().SetCollectionFile("", true);
    prompts.confirmAnswers = {true};
    prompts.fileAnswers = {File("no/such/folder/x.G33")};
    EXPECT_FALSE(window_->close());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(prompts.Texts("confirm").size(), 1u);

    prompts.confirmAnswers = {true};
    prompts.fileAnswers = {std::nullopt}; // Yes, then the dialog cancelled: closes as asked
    EXPECT_TRUE(window_->close());
}

} // namespace

namespace {

TEST_F(MainMenus, DoubleClickOpensTheEditorOnTheSelectedSlot) {
    Open();
    window_->Collection().Slot(6).SetBytes(DemoPatch(6), 6);
    window_->UpdateCell(2, 2);
    auto* grid = Find<TStringGrid>("StringGrid");
    QRect a22 = grid->visualItemRect(grid->item(1, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, a22.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, a22.center());
    EXPECT_TRUE(prompts.Texts("error").empty());
    EXPECT_NE(window_->Collection().Slot(6).Editor, nullptr);
    // Closing the librarian takes the editor down while its record still exists.
    window_.reset();
}

// The console the user closes stays off; the one still open when the librarian is closed
// comes back at the next start.
TEST_F(MainMenus, OnlyTheUserClosingTheConsoleTurnsItOff) {
    WriteSetting("Console", "Yes");
    Open();
    TFormConsole console(*window_);
    window_->SetConsoleWindow(&console);
    ASSERT_TRUE(console.isVisible());
    // Closing the librarian ends the run as the program does: the application quits, which
    // closes every window still open.
    QObject::connect(window_.get(), &TFormMain::Closed, qApp, &QApplication::quit);
    QTimer::singleShot(0, [&] { CloseAsTheUser(*window_); });
    QApplication::exec();
    EXPECT_EQ(ReadSetting("Console"), "Yes");
    EXPECT_TRUE(Find("ShowMIDIConsole1")->isChecked());

    console.show();
    CloseAsTheUser(console);
    EXPECT_FALSE(console.isVisible());
    EXPECT_FALSE(Find("ShowMIDIConsole1")->isChecked());
    EXPECT_EQ(ReadSetting("Console"), "No");
}

} // namespace
