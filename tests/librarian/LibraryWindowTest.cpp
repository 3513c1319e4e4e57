// The library window and the "Library" menu as the user drives them: queries typed, rows and
// buttons clicked, double click and keys, rows dropped on the grid, slot history and snapshots.

#include "WindowFixture.h"
#include "gr33/PatchNumber.h"
#include "librarian/LibraryModel.h"
#include "library/Library.h"
#include "library/Sqlite.h"
#include "sim/DemoBank.h"
#include "sim/VirtualGr33.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {

class LibraryWindowTest : public WindowTest {
protected:
    LibraryWindowTest() {
        for (int n = 1; n <= 6; ++n)
            library.Add(DemoPatch(n), {SightingKind::File, "/banks/demo.G33"}, n);
    }
    ~LibraryWindowTest() override { window_.reset(); } // before the library

    QWidget& OpenLibrary() {
        if (!window_) Open().SetPatchLibrary(&library);
        Choose("PatchLibrary1");
        auto* shown = window_->findChild<QWidget*>("LibraryWindow");
        EXPECT_TRUE(shown && shown->isVisible());
        return *shown;
    }
    template <typename T> T* In(QWidget& library, const char* name) {
        T* found = library.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QTableView* Table(QWidget& w) { return In<QTableView>(w, "LibraryTable"); }
    QString Status(QWidget& w) { return In<QLabel>(w, "LibraryStatus")->text(); }
    void Type(QWidget& w, const QString& query) {
        QLineEdit* search = In<QLineEdit>(w, "LibrarySearch");
        QTest::mouseClick(search, Qt::LeftButton);
        QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(search, Qt::Key_Delete);
        QTest::keyClicks(search, query);
    }
    // What the table shows once it is drawn: the view fetches its rows as it lays them out.
    QStringList Column(QWidget& w, int column) {
        QApplication::processEvents();
        QStringList cells;
        auto* model = Table(w)->model();
        for (int row = 0; row < model->rowCount(); ++row)
            cells << model->index(row, column).data().toString();
        return cells;
    }
    QRect RowRect(QWidget& w, int row) {
        return Table(w)->visualRect(Table(w)->model()->index(row, TLibraryModel::Name));
    }
    void ClickRow(QWidget& w, int row, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(Table(w)->viewport(), Qt::LeftButton, keys, RowRect(w, row).center());
    }
    void Press(QWidget& w, const char* button) {
        QTest::mouseClick(In<QPushButton>(w, button), Qt::LeftButton);
    }
    static std::string DemoName(int demo) {
        TPatch patch;
        patch.SetBytes(DemoPatch(demo), 1);
        return QString::fromStdString(patch.GetName()).trimmed().toStdString();
    }
    QString CellOf(int number, int demo) {
        TPatch patch;
        patch.SetBytes(DemoPatch(demo), number);
        return QString::fromStdString(PatchLabel(number) + ": " + patch.GetName());
    }

    TPatchLibrary library{":memory:"};
};

TEST_F(LibraryWindowTest, TypedQueriesSortTagAndDeleteWithUndo) {
    QWidget& w = OpenLibrary();
    EXPECT_EQ(Status(w), "6 patches found");
    EXPECT_EQ(Column(w, TLibraryModel::WhereSeen), QStringList(6, "demo.G33")); // the file name
    QHeaderView* header = Table(w)->horizontalHeader(); // the last column fills the table
    const int last = TLibraryModel::ColumnCount - 1;
    EXPECT_GE(header->sectionViewportPosition(last) + header->sectionSize(last),
              header->viewport()->width());
    Type(w, "piano");
    const QStringList pianos = Column(w, TLibraryModel::Name);
    EXPECT_EQ(Status(w), QString("%1 patches found").arg(pianos.size()));
    EXPECT_GE(pianos.size(), 2);
    // A misspelt query says what is wrong.
    Type(w, "piano \"Nope Level\">3");
    EXPECT_EQ(Status(w), "Unknown parameter \"Nope Level\" at character 7");
    Type(w, "piano");

    // A click on the header sorts, a second one turns the order round.
    const int nameX = header->sectionViewportPosition(TLibraryModel::Name) + 5;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, {nameX, header->height() / 2});
    QStringList reversed = pianos;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(Column(w, TLibraryModel::Name), reversed);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, {nameX, header->height() / 2});

    ClickRow(w, 0);
    ClickRow(w, 1, Qt::ShiftModifier);
    Press(w, "LibraryFavourite");
    prompts.inputAnswers = {" live,  pad ,live"};
    Press(w, "LibraryTags");
    for (int row : {0, 1}) {
        const std::int64_t id = library.Search(pianos[row].toStdString()).at(0).id;
        EXPECT_TRUE(library.Favourite(id));
        EXPECT_EQ(library.Tags(id), (std::vector<std::string>{"live", "pad"}));
    }
    EXPECT_EQ(Column(w, TLibraryModel::Name).first(), QString::fromUtf8("\u2605 ") + pianos[0]);
    EXPECT_EQ(Column(w, TLibraryModel::Tags).mid(0, 2), QStringList({"live, pad", "live, pad"}));

    // Delete asks first; the undo lasts until the window closes, also while it is minimised.
    prompts.confirmAnswers = {true};
    QTest::keyClick(Table(w), Qt::Key_Delete);
    EXPECT_EQ(prompts.Texts("confirm").back(), "Delete 2 patches from the library ?");
    EXPECT_EQ(Column(w, TLibraryModel::Name), pianos.mid(2));
    w.showMinimized(), w.showNormal();
    Press(w, "LibraryUndoDelete");
    EXPECT_EQ(Column(w, TLibraryModel::Name).size(), pianos.size());
    EXPECT_FALSE(In<QPushButton>(w, "LibraryUndoDelete")->isEnabled());
    ClickRow(w, 0);
    prompts.confirmAnswers = {true};
    Press(w, "LibraryDelete");
    w.close();
    EXPECT_EQ(library.Search("piano").size(), static_cast<std::size_t>(pianos.size() - 1));

    // The window opens again as it was left.
    EXPECT_EQ(ReadSetting("LibraryWindowQuery"), "piano");
    EXPECT_EQ(QString::fromStdString(ReadSetting("LibraryWindowColumns")).count(','),
              TLibraryModel::ColumnCount - 1);
    QWidget& again = OpenLibrary();
    EXPECT_EQ(In<QLineEdit>(again, "LibrarySearch")->text(), "piano");
    EXPECT_FALSE(In<QPushButton>(again, "LibraryUndoDelete")->isEnabled());
}

TEST_F(LibraryWindowTest, PatchesGoToTheGridTheTemporaryPatchAndTheDevice) {
    auto backend = CreateVirtualGr33(File("device.G33"));
    VirtualGr33* device = backend.get();
    InstallMidiBackends(nullptr, std::move(backend));
    QWidget& w = OpenLibrary(); // rows by name: the order of the demo patches' names
    std::vector<int> demoOfRow;
    for (const QString& name : Column(w, TLibraryModel::Name))
        for (int n = 1; n <= 6; ++n)
            if (DemoName(n) == name.toStdString()) demoOfRow.push_back(n);
    ASSERT_EQ(demoOfRow.size(), 6u);

    const auto heard = [&](int row) { // on the device's temporary patch, once it arrives
        PatchBytes now{};
        for (int wait = 0; wait < 100 && now != DemoPatch(demoOfRow[row]); ++wait) {
            QTest::qWait(20);
            device->Inspect([&](const Gr33Device& d) { now = d.Bank().Patch(0); });
        }
        return now == DemoPatch(demoOfRow[row]);
    };
    // Double click or Space: heard on the device, nothing in the collection changes.
    QTest::mouseDClick(Table(w)->viewport(), Qt::LeftButton, {}, RowRect(w, 2).center());
    EXPECT_TRUE(heard(2));
    ClickRow(w, 4);
    QTest::keyClick(Table(w), Qt::Key_Space);
    EXPECT_TRUE(heard(4));
    EXPECT_EQ(Title(), "KelvoLight 1.01 (Untitled)");

    // Two rows into the selected slot and the one after it; Compare takes exactly two.
    ClickCell(10);
    ClickRow(w, 0);
    EXPECT_FALSE(In<QPushButton>(w, "LibraryCompare")->isEnabled());
    ClickRow(w, 3, Qt::ControlModifier);
    Press(w, "LibraryCompare");
    const QStringList compared = Compared();
    EXPECT_EQ(compared[0].toStdString(),
              "Compare " + DemoName(demoOfRow[0]) + " With " + DemoName(demoOfRow[3]));
    ASSERT_GT(compared.size(), 2);
    for (const QString& line : compared.mid(1))
        EXPECT_TRUE(line.contains(" -> ")) << line.toStdString();
    Press(w, "LibraryCopyToSlot");
    EXPECT_EQ(Cell(10), CellOf(10, demoOfRow[0]));
    EXPECT_EQ(Cell(11), CellOf(11, demoOfRow[3]));
    EXPECT_EQ(Title(), "KelvoLight 1.01 (* Untitled)");
    Press(w, "LibraryCopyToTemp");
    EXPECT_EQ(window_->Collection().TempPatch().Bytes(), DemoPatch(demoOfRow[0]));

    // Rows dropped on a cell fill it and the cells after it, up to D84.
    std::unique_ptr<QMimeData> dragged(
        Table(w)->model()->mimeData(Table(w)->selectionModel()->selectedIndexes()));
    EXPECT_TRUE(DropOnCell(*dragged, 128));
    EXPECT_EQ(Cell(128), CellOf(128, demoOfRow[0]));
    EXPECT_EQ(Cell(127), "D83: Empty");

    // A set list: the selection in the table's order, the rest of the bank empty.
    prompts.confirmAnswers = {false}; // not saving the modified collection
    Press(w, "LibrarySetList");
    EXPECT_EQ(Cell(1), CellOf(1, demoOfRow[0]));
    EXPECT_EQ(Cell(2), CellOf(2, demoOfRow[3]));
    EXPECT_EQ(Cell(3), "A13: Empty");
    EXPECT_EQ(Cell(10), "A32: Empty");
}

TEST_F(LibraryWindowTest, SlotHistoryAndSnapshotRestore) {
    std::vector<PatchBytes> first(PatchCount), second(PatchCount);
    first[1] = DemoPatch(3);
    second[1] = DemoPatch(4);
    second[2] = DemoPatch(5);
    library.AddSnapshot(first, "Port A", 1000);
    library.AddSnapshot(second, "Port A", 2000);
    Open().SetPatchLibrary(&library);
    ClickCell(2);
    Choose("SlotHistory1");
    EXPECT_EQ(prompts.Texts("message").back(),
              "A12 in the snapshots of the device:\n2  " + LibraryTimeText(2000) + "  " +
                  DemoName(4) + "\n1  " + LibraryTimeText(1000) + "  " + DemoName(3));

    for (const char* answer : {"3", "x"}) {
        prompts.inputAnswers = {answer};
        Choose("RestoreSnapshot1");
        EXPECT_EQ(prompts.Texts("input").back(), "Restore Snapshot: Snapshot (1 .. 2)");
        EXPECT_EQ(prompts.Last(), "No snapshot " + std::string(answer) + " in the library.");
    }
    prompts.inputAnswers = {"1"};
    Choose("RestoreSnapshot1");
    EXPECT_EQ(Cell(2), CellOf(2, 3));
    EXPECT_EQ(Cell(3), "A13: Empty");
    EXPECT_EQ(Title(), "KelvoLight 1.01 (* Untitled)");

    // Without a library the menu says so.
    window_->SetPatchLibrary(nullptr);
    Choose("PatchLibrary1");
    EXPECT_EQ(prompts.Last(), "The patch library is not open.");
}

// Another program breaks the library while the window shows it: a sort by a column that reads
// every row, and the rows fetched as the table scrolls, say why in the status line; the rows
// read before stay and the program goes on.
TEST_F(LibraryWindowTest, ALibraryThatCannotBeReadSaysSoInTheStatusLine) {
    TPatchLibrary onDisk(File("library.sqlite"));
    for (int n = 1; n <= 128; ++n)
        onDisk.Add(DemoPatch(n), {SightingKind::File, "/banks/demo.G33"}, n);
    Open().SetPatchLibrary(&onDisk);
    QWidget& w = OpenLibrary();
    ASSERT_EQ(Status(w), "128 patches found");
    const QStringList first = Column(w, TLibraryModel::Name);
    TDatabase(File("library.sqlite"), false).Execute("DROP TABLE tags");
    QHeaderView* header = Table(w)->horizontalHeader();
    const int toneX = header->sectionViewportPosition(TLibraryModel::Tone) + 5;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, {toneX, header->height() / 2});
    EXPECT_TRUE(Status(w).startsWith("Unable to")) << Status(w).toStdString();
    EXPECT_EQ(Column(w, TLibraryModel::Name), first);
    Type(w, "piano"); // a new search reads its first page again
    EXPECT_TRUE(Status(w).startsWith("Unable to")) << Status(w).toStdString();
    window_.reset();
}

} // namespace
