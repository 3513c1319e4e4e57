// The library window and the "Library" menu as the user drives them: queries, rows and buttons,
// rows dropped on the grid, slot history, snapshots, the collections loaded going in.

#include "WindowFixture.h"

namespace {

class LibraryWindowTest : public WindowTest {
protected:
    LibraryWindowTest() {
        for (int n = 1; n <= 6; ++n)
            library.Add(DemoPatch(n), {SightingKind::File, "/banks/demo.G33", seenAt}, n);
    }
    ~LibraryWindowTest() override { window_.reset(); } // before the library

    // Opens the library window through the menu, the librarian first when it is not open.
    void OpenLibrary(TPatchLibrary* with = nullptr) {
        if (!window_) Open().SetPatchLibrary(with ? with : &library);
        Choose("PatchLibrary1");
        shown_ = Find<QWidget>("LibraryWindow");
        ASSERT_TRUE(shown_ && shown_->isVisible());
    }
    template <typename T> T* In(const char* name) { return Find<T>(name, shown_); }
    QTableView* Table() { return In<QTableView>("LibraryTable"); }
    QString Status() { return In<QLabel>("LibraryStatus")->text(); }
    void Type(const QString& query) {
        QLineEdit* search = In<QLineEdit>("LibrarySearch");
        QTest::mouseClick(search, Qt::LeftButton);
        QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier); // typed over
        QTest::keyClicks(search, query);
    }
    // What the table shows once it is drawn: the view fetches its rows as it lays them out.
    QStringList Column(int column) {
        QApplication::processEvents();
        QStringList cells;
        auto* model = Table()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            cells << model->index(row, column).data().toString();
        return cells;
    }
    QPoint RowCentre(int row) {
        return Table()->visualRect(Table()->model()->index(row, TLibraryModel::Name)).center();
    }
    void ClickRow(int row, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(Table()->viewport(), Qt::LeftButton, keys, RowCentre(row));
    }
    void ClickHeader(int column) {
        QHeaderView* header = Table()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(column) + 5, header->height() / 2});
    }
    void Press(const char* button) { QTest::mouseClick(In<QPushButton>(button), Qt::LeftButton); }
    static constexpr std::int64_t seenAt = 1'000'000'000'000; // 2001, in milliseconds
    TPatchLibrary library{":memory:"};
    QWidget* shown_ = nullptr;
};

TEST_F(LibraryWindowTest, TypedQueriesSortTagAndDeleteWithUndo) {
    OpenLibrary();
    EXPECT_EQ(Status(), "6 patches found");
    EXPECT_EQ(Column(TLibraryModel::WhereSeen), QStringList(6, "demo.G33")); // the file name
    EXPECT_EQ(Column(TLibraryModel::FirstSeen),
              QStringList(6, QString::fromStdString(LibraryTimeText(seenAt))));
    QHeaderView* header = Table()->horizontalHeader(); // the last column fills the table
    const int last = TLibraryModel::ColumnCount - 1;
    EXPECT_GE(header->sectionViewportPosition(last) + header->sectionSize(last),
              header->viewport()->width());
    // A misspelt query says what is wrong; the next one counts again.
    Type("piano \"Nope Level\">3");
    EXPECT_EQ(Status(), "Unknown parameter \"Nope Level\" at character 7");
    Type("piano");
    const QStringList pianos = Column(TLibraryModel::Name);
    EXPECT_EQ(Status(), QString("%1 patches found").arg(pianos.size()));
    EXPECT_GE(pianos.size(), 2);

    // A click on the header sorts, a second one turns the order round.
    ClickHeader(TLibraryModel::Name);
    EXPECT_EQ(Column(TLibraryModel::Name), QStringList(pianos.rbegin(), pianos.rend()));
    ClickHeader(TLibraryModel::Name);

    ClickRow(0), ClickRow(1, Qt::ShiftModifier);
    Press("LibraryFavourite");
    prompts.inputAnswers = {" live,  pad ,live"};
    Press("LibraryTags");
    for (int row : {0, 1}) {
        const std::int64_t id = library.Search(pianos[row].toStdString()).at(0).id;
        EXPECT_TRUE(library.Favourite(id));
        EXPECT_EQ(library.Tags(id), (std::vector<std::string>{"live", "pad"}));
    }
    EXPECT_EQ(Column(TLibraryModel::Name).first(), QString::fromUtf8("\u2605 ") + pianos[0]);
    EXPECT_EQ(Column(TLibraryModel::Tags).mid(0, 2), QStringList({"live, pad", "live, pad"}));

    // Delete asks first; the undo lasts until the window closes, also while it is minimised.
    prompts.confirmAnswers = {true};
    QTest::keyClick(Table(), Qt::Key_Delete);
    EXPECT_EQ(prompts.Texts("confirm").back(), "Delete 2 patches from the library ?");
    EXPECT_EQ(Column(TLibraryModel::Name), pianos.mid(2));
    shown_->showMinimized(), shown_->showNormal();
    Press("LibraryUndoDelete");
    EXPECT_EQ(Column(TLibraryModel::Name).size(), pianos.size());
    EXPECT_FALSE(In<QPushButton>("LibraryUndoDelete")->isEnabled());
    ClickRow(0);
    prompts.confirmAnswers = {true};
    Press("LibraryDelete");
    shown_->close();
    EXPECT_EQ(library.Search("piano").size(), static_cast<std::size_t>(pianos.size() - 1));

    // The window opens again as it was left.
    EXPECT_EQ(ReadSetting("LibraryWindowQuery"), "piano");
    EXPECT_EQ(QString::fromStdString(ReadSetting("LibraryWindowColumns")).count(','),
              TLibraryModel::ColumnCount - 1);
    OpenLibrary();
    EXPECT_EQ(In<QLineEdit>("LibrarySearch")->text(), "piano");
    EXPECT_FALSE(In<QPushButton>("LibraryUndoDelete")->isEnabled());
}

TEST_F(LibraryWindowTest, PatchesGoToTheGridTheTemporaryPatchAndTheDevice) {
    VirtualGr33* device = InstallDevice();
    OpenLibrary(); // rows by name: the order of the demo patches' names
    std::vector<int> demoOfRow;
    for (const QString& name : Column(TLibraryModel::Name))
        for (int n = 1; n <= 6; ++n)
            if (DemoName(n).trimmed() == name) demoOfRow.push_back(n);
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
    QTest::mouseDClick(Table()->viewport(), Qt::LeftButton, {}, RowCentre(2));
    EXPECT_TRUE(heard(2));
    ClickRow(4);
    QTest::keyClick(Table(), Qt::Key_Space);
    EXPECT_TRUE(heard(4));
    EXPECT_EQ(Title(), "KelvoLight 1.01 (Untitled)");

    // Two rows into the selected slot and the one after it; Compare takes exactly two.
    ClickCell(10);
    ClickRow(0);
    EXPECT_FALSE(In<QPushButton>("LibraryCompare")->isEnabled());
    ClickRow(3, Qt::ControlModifier);
    Press("LibraryCompare");
    const QStringList compared = Compared();
    EXPECT_EQ(compared[0], "Compare " + DemoName(demoOfRow[0]).trimmed() + " With " +
                               DemoName(demoOfRow[3]).trimmed());
    ASSERT_GT(compared.size(), 2);
    for (const QString& line : compared.mid(1))
        EXPECT_TRUE(line.contains(" -> ")) << line.toStdString();
    Press("LibraryCopyToSlot");
    EXPECT_EQ(Cell(10) + Cell(11), CellOf(10, demoOfRow[0]) + CellOf(11, demoOfRow[3]));
    EXPECT_EQ(Title(), "KelvoLight 1.01 (* Untitled)");
    EXPECT_EQ(Find("Undo1")->text(), "Undo Library Patches");
    Press("LibraryCopyToTemp");
    EXPECT_EQ(window_->Collection().TempPatch().Bytes(), DemoPatch(demoOfRow[0]));

    // Rows dropped on a cell fill it and the cells after it, up to D84.
    std::unique_ptr<QMimeData> dragged(
        Table()->model()->mimeData(Table()->selectionModel()->selectedIndexes()));
    EXPECT_TRUE(DropOnCell(*dragged, 128));
    EXPECT_EQ(Cell(127) + Cell(128), "D83: Empty" + CellOf(128, demoOfRow[0]));

    // A set list: the selection in the table's order, the rest of the bank empty.
    prompts.confirmAnswers = {false}; // not saving the modified collection
    Press("LibrarySetList");
    EXPECT_EQ(Cell(1) + Cell(2), CellOf(1, demoOfRow[0]) + CellOf(2, demoOfRow[3]));
    EXPECT_EQ(Cell(3) + Cell(10), "A13: EmptyA32: Empty");
    EXPECT_EQ(Title(), "KelvoLight 1.01 (* Untitled)"); // a new collection, its history afresh
    EXPECT_FALSE(Find("Undo1")->isEnabled());
}

// The slot's history, the snapshots restored; a collection loaded through the menu goes into the
// library, each patch seen at its slot.
TEST_F(LibraryWindowTest, SlotHistorySnapshotRestoreAndLoadedCollections) {
    const std::string bank = BankFile("bank.G33", {1, 2, 3});
    TPatchLibrary fresh(":memory:");
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
                  DemoName(4).trimmed().toStdString() + "\n1  " + LibraryTimeText(1000) + "  " +
                  DemoName(3).trimmed().toStdString());

    for (const char* answer : {"3", "x"}) {
        prompts.inputAnswers = {answer};
        Choose("RestoreSnapshot1");
        EXPECT_EQ(prompts.Texts("input").back(), "Restore Snapshot: Snapshot (1 .. 2)");
        EXPECT_EQ(prompts.Last(), "No snapshot " + std::string(answer) + " in the library.");
    }
    prompts.inputAnswers = {"1"};
    Choose("RestoreSnapshot1");
    EXPECT_EQ(Cell(2) + Cell(3), CellOf(2, 3) + "A13: Empty");
    EXPECT_EQ(Title(), "KelvoLight 1.01 (* Untitled)");

    // Without a library the menu says so.
    window_->SetPatchLibrary(nullptr);
    Choose("PatchLibrary1");
    EXPECT_EQ(prompts.Last(), "The patch library is not open.");

    window_->SetPatchLibrary(&fresh);
    prompts.confirmAnswers = {false}; // not saving the restored snapshot
    Choose("LoadCollection", bank);
    std::multiset<int> numbers; // each patch seen once, at its own slot
    for (const PatchSummary& patch : fresh.Search("seen:bank.G33"))
        for (const Sighting& seen : fresh.Sightings(patch.id)) {
            EXPECT_TRUE(seen.kind == SightingKind::File && seen.place == bank && seen.when > 0);
            EXPECT_EQ(fresh.Bytes(patch.id), DemoPatch(seen.slot)) << seen.slot;
            numbers.insert(seen.slot);
        }
    EXPECT_EQ(numbers, (std::multiset<int>{1, 2, 3}));
    EXPECT_EQ(fresh.PatchCount(), 3);
    window_.reset(); // before the library it records in
}

// Another program breaks the library while the window shows it: a sort by a column that reads
// every row, and the rows fetched as the table scrolls, say why in the status line; the rows
// read before stay and the program goes on.
TEST_F(LibraryWindowTest, ALibraryThatCannotBeReadSaysSoInTheStatusLine) {
    TPatchLibrary onDisk(File("library.sqlite"));
    for (int n = 1; n <= 128; ++n)
        onDisk.Add(DemoPatch(n), {SightingKind::File, "/banks/demo.G33"}, n);
    OpenLibrary(&onDisk); // first: all 128 rows are the set list of a whole collection
    for (int page = 0; page < 10; ++page) // down to the last row, the view fetching as it goes
        QTest::keyClick(Table(), Qt::Key_End, Qt::ControlModifier), QApplication::processEvents();
    QTest::keyClick(Table(), Qt::Key_A, Qt::ControlModifier);
    Press("LibrarySetList");
    EXPECT_NE(Cell(128), "D84: Empty");
    EXPECT_EQ(prompts.Texts("error"), std::vector<std::string>{});
    window_.reset(); // a new window reads the first page only
    OpenLibrary(&onDisk);
    ASSERT_EQ(Status(), "128 patches found");
    const QStringList first = Column(TLibraryModel::Name);
    TDatabase(File("library.sqlite"), false).Execute("DROP TABLE tags");
    ClickHeader(TLibraryModel::Tone);
    EXPECT_TRUE(Status().startsWith("Unable to")) << Status().toStdString();
    EXPECT_EQ(Column(TLibraryModel::Name), first);
    Type("piano"); // a new search reads its first page again
    EXPECT_TRUE(Status().startsWith("Unable to")) << Status().toStdString();
    window_.reset();
}

// A stored size a screen can show comes back, as far as the window's layout allows; a smaller
// one, edited by hand, does not.
TEST_F(LibraryWindowTest, StoredSizeComesBackWhenAScreenCanShowIt) {
    const std::tuple<const char*, const char*, QSize> sizes[] = {
        {"200", "150", {200, 150}}, {"199", "150", {860, 480}}, {"200", "149", {860, 480}}};
    for (const auto& [width, height, shown] : sizes) {
        SCOPED_TRACE(std::string(width) + "x" + height);
        window_.reset();
        WriteSetting("LibraryWindowWidth", width), WriteSetting("LibraryWindowHeight", height);
        OpenLibrary();
        EXPECT_EQ(shown_->size(), shown.expandedTo(shown_->minimumSizeHint()));
    }
}

} // namespace
