// Right-press rules, the grid font and sizes, the resize rule, and the port menus.

#include "WindowFixture.h"
#include "gr33/CollectionFile.h"
#include "gr33/Exchange.h"
#include "gr33/Patch.h"
#include "librarian/StringGrid.h"
#include "model/Settings.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QMenuBar>
#include <QProgressDialog>
#include <QScrollArea>
#include <QTimer>

namespace {

using GridWindow = WindowTest;

void RightPress(QWidget* target, QPoint pos) {
    QTest::mousePress(target, Qt::RightButton, Qt::NoModifier, pos);
    QTest::mouseRelease(target, Qt::RightButton, Qt::NoModifier, pos);
}

TEST_F(GridWindow, RightPressPicksTheContextMenu) {
    Open();
    auto* grid = Find<TStringGrid>("StringGrid");
    auto* patchMenu = Find<QMenu>("PopupMenuPatch");
    auto* collectionMenu = Find<QMenu>("PopupMenuCollection");
    EXPECT_EQ(window_->GridPopup(), patchMenu);

    QHeaderView* left = grid->verticalHeader();
    RightPress(left->viewport(), QPoint(left->width() / 2, left->sectionViewportPosition(8) + 2));
    EXPECT_EQ(window_->GridPopup(), collectionMenu);
    EXPECT_EQ(window_->SelectedPatch(), 1);

    // C32 is number 86: column 2, row 22.
    QRect c32 = grid->visualItemRect(grid->item(21, 1));
    RightPress(grid->viewport(), c32.center());
    EXPECT_EQ(window_->GridPopup(), patchMenu);
    EXPECT_EQ(window_->SelectedPatch(), 86);

    Find("RightClickSelect1")->trigger(); // off: the press leaves the selection alone
    RightPress(grid->viewport(), grid->visualItemRect(grid->item(0, 3)).center());
    EXPECT_EQ(window_->SelectedPatch(), 86);
    EXPECT_EQ(window_->GridPopup(), patchMenu);

    // The top-left corner is no cell.
    auto* corner = grid->findChild<QAbstractButton*>();
    RightPress(corner, corner->rect().center());
    EXPECT_EQ(window_->GridPopup(), collectionMenu);
}

TEST_F(GridWindow, LargerFontWidensTheGridButNotTheWindow) {
    Open();
    auto* grid = Find<TStringGrid>("StringGrid");
    QSize before = grid->size();
    QSize window = window_->size();
    // Every cell is in view horizontally at start; about half the rows are.
    EXPECT_EQ(Find<QScrollArea>("ScrollBox")->viewport()->width(), grid->width());
    EXPECT_LT(window_->height(), grid->height());

    FontSpec bigger = window_->GridFont();
    bigger.size = 14;
    bigger.style = 1;
    prompts.fontAnswers = {bigger};
    Find("SetGridFont1")->trigger();
    EXPECT_EQ(ReadSetting("GridFont"), "14 1 " + bigger.name);
    EXPECT_EQ(window_->GridFont(), bigger);
    EXPECT_GT(grid->width(), before.width());
    EXPECT_GT(grid->height(), before.height());
    EXPECT_EQ(window_->size(), window);
    EXPECT_EQ(grid->item(0, 0)->text(), "A11: Empty");
}

// Cells show the twelve characters of the name as stored, also those the name field maps.
TEST_F(GridWindow, CellsShowTheStoredNameUnmapped) {
    Open();
    std::array<TPatch, 128> patches;
    std::array<const TPatch*, 128> records{};
    PatchBytes bytes{};
    bytes.fill(1);
    const std::string name = "Yen\\ ~<>}{ |";
    std::copy_n(name.begin(), NameSize, bytes.begin());
    patches[0].SetBytes(bytes, 1);
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i] = &patches[i];
    WriteCollectionFile(File("names.G33"), records);
    prompts.fileAnswers = {File("names.G33")};
    Find("LoadCollection")->trigger();
    EXPECT_EQ(Find<TStringGrid>("StringGrid")->item(0, 0)->text().toStdString(),
              "A11: " + name.substr(0, NameSize));
}

// KelvoLight FILE: a collection fills the grid, a patch file the temporary patch.
TEST_F(GridWindow, FileNamedAtStartIsOpened) {
    std::array<TPatch, 128> patches;
    std::array<const TPatch*, 128> records{};
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i] = &patches[i];
    PatchBytes bytes{};
    std::string name = "Start Bank  ";
    std::copy(name.begin(), name.end(), bytes.begin());
    patches[0].SetBytes(bytes, 1);
    WriteCollectionFile(File("start.G33"), records);
    name = "Lead        ";
    std::copy(name.begin(), name.end(), bytes.begin());
    patches[0].SetBytes(bytes, 0);
    patches[0].SaveToFile(File("lead.p33"), 0);

    Open().OpenStartFile(File("start.G33"));
    EXPECT_EQ(Find<TStringGrid>("StringGrid")->item(0, 0)->text(), "A11: Start Bank  ");
    EXPECT_EQ(window_->windowTitle(), "KelvoLight 1.01 (start.G33)");
    window_->OpenStartFile(File("lead.p33"));
    EXPECT_EQ(Find<QMenu>("Temporary1")->title(), "Temporary Patch (Lead)");
    EXPECT_EQ(window_->windowTitle(), "KelvoLight 1.01 (start.G33)"); // nothing to save
    window_->OpenStartFile(File("none.G33"));
    EXPECT_EQ(prompts.Texts("message").back(), "File " + File("none.G33") + " not found");
}

TEST_F(GridWindow, MalformedGridFontIsReportedAndStartUpGoesOn) {
    WriteSetting("GridFont", "big 0 Sans");
    WriteSetting("RightClickSelect", "No");
    Open();
    EXPECT_EQ(prompts.Texts("error").front(), "'big' is not a valid integer value.");
    EXPECT_EQ(Find<TStringGrid>("StringGrid")->item(31, 3)->text(), "D84: Empty");
    EXPECT_FALSE(Find("RightClickSelect1")->isChecked()); // the check marks were still set
}

TEST_F(GridWindow, WindowNeverGrowsBeyondTheGrid) {
    Open();
    auto* grid = Find<TStringGrid>("StringGrid");
    auto* view = Find<QScrollArea>("ScrollBox")->viewport();
    window_->resize(3000, 3000);
    QApplication::processEvents();
    EXPECT_EQ(view->size(), grid->size());
    window_->resize(200, 150); // smaller is fine: the window scrolls
    QApplication::processEvents();
    EXPECT_LT(view->width(), grid->width());
}

TEST_F(GridWindow, PortMenusFromTheDeviceList) {
    auto ports = std::make_unique<ListingBackend>();
    ports->ins = {{"USB In"}, {"Hub #2 In"}};
    ports->outs = {{"Soft Synth", TMidiTechnology::mtSynth},
                   {"Wave", TMidiTechnology::mtFmSynth},
                   {"Out & Thru", TMidiTechnology::mtMidiPort}};
    UsePorts(std::move(ports));
    WriteSetting("MidiInEntry", "1");
    WriteSetting("MidiOutEntry", "5");
    Open();
    EXPECT_EQ(Captions(Find<QMenu>("SelectMidiInPort1")),
              QStringList({"USB In  #1", "Hub #2 In  #2"}));
    EXPECT_EQ(Captions(Find<QMenu>("SelectMidiOutPort1")), QStringList({"Out && Thru  #3"}));
    EXPECT_EQ(window_->SelectedMidiIn(), 2);
    EXPECT_EQ(window_->SelectedMidiOut(), 3);
    EXPECT_EQ(ReadSetting("MidiOutEntry"), "0"); // out of range: entry 0, stored at once
    EXPECT_EQ(ReadSetting("MidiInEntry"), "1");
    // Restoring the output entry ran the one connection test of the start.
    EXPECT_EQ(prompts.Texts("message"),
              std::vector<std::string>({CommunicationErrorText, DeviceNotFoundText}));

    prompts.Clear();
    Find("MidiInEntry0")->trigger(); // choosing another entry tests at once and is stored
    EXPECT_EQ(ReadSetting("MidiInEntry"), "0");
    EXPECT_EQ(window_->SelectedMidiIn(), 1);
    EXPECT_EQ(prompts.Last(), DeviceNotFoundText);
}

TEST_F(GridWindow, NoPortsAtAll) {
    Open();
    EXPECT_EQ(prompts.Texts("message"),
              std::vector<std::string>({"No MIDI-IN port found", "No MIDI-OUT port found"}));
    EXPECT_TRUE(Find<QMenu>("SelectMidiOutPort1")->actions().isEmpty());
    prompts.Clear();
    Find("TestIdentity1")->trigger();
    EXPECT_EQ(prompts.Last(), "No midi-in device found.");
    EXPECT_THROW(window_->SelectedMidiOut(), EKelvoError);
}

TEST_F(GridWindow, OutputButNoInputStillFinishesStartUp) {
    auto ports = std::make_unique<ListingBackend>();
    ports->outs = {{"Out", TMidiTechnology::mtMidiPort}};
    UsePorts(std::move(ports));
    Open();
    EXPECT_EQ(prompts.Texts("error"), std::vector<std::string>{"No midi-in device found."});
    EXPECT_TRUE(Find("GrTestBeforeSend1")->isChecked());
    EXPECT_TRUE(window_->PortTestArmed());
}

TEST_F(GridWindow, VirtualDeviceAnswersTheStartUpConnectionTest) {
    UseVirtualDevice();
    Open();
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>{DeviceFoundText});
    EXPECT_EQ(Captions(Find<QMenu>("SelectMidiOutPort1")), QStringList({"Virtual GR-33  #1"}));
}

TEST_F(GridWindow, CancelInTheProgressNoticeEndsTheReceive) {
    UseVirtualDevice();
    Open();
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        auto* progress = window_->findChild<QProgressDialog*>("TransferProgress");
        if (progress && progress->value() >= 5) progress->cancel();
    });
    cancel.start(0);
    prompts.Clear();
    Find("ReceiveCollection1")->trigger();
    EXPECT_EQ(prompts.Last(), "Operation cancelled.");
    auto* grid = Find<TStringGrid>("StringGrid");
    EXPECT_NE(grid->item(0, 0)->text(), "A11: Empty");
    EXPECT_EQ(grid->item(31, 3)->text(), "D84: Empty");
    EXPECT_TRUE(window_->Collection().Modified());
    EXPECT_EQ(window_->findChild<QProgressDialog*>("TransferProgress"), nullptr);
}

} // namespace
