// The librarian's menus and their states, the options, editing with undo, drags and drops,
// closing, the about and wait windows; all chosen by mouse and keyboard.

#include "WindowFixture.h"

namespace {

using MainMenus = WindowTest;

TEST_F(MainMenus, FreshWindowMenuItemsInOrderEmptySlotsOneSelectedCell) {
    Open();
    EXPECT_EQ(Title(), "KelvoLight 1.01 (Untitled)");
    ASSERT_EQ(Grid()->rowCount() * Grid()->columnCount(), 128);
    EXPECT_EQ(Cell(39) + Cell(128), "B23: EmptyD84: Empty");
    EXPECT_EQ(Grid()->horizontalHeaderItem(3)->text() + Grid()->verticalHeaderItem(8)->text() +
                  Grid()->verticalHeaderItem(31)->text(),
              "4B1D8");
    EXPECT_FALSE(Grid()->item(0, 0)->flags() & Qt::ItemIsEditable);
    ClickCell(1, Qt::LeftButton, Qt::ControlModifier); // Ctrl-click keeps the selection
    EXPECT_EQ(Grid()->selectedItems().size(), 1);
    EXPECT_EQ(window_->SelectedPatch(), 1);
    EXPECT_EQ(Captions(window_->menuBar()).join('|'),
              "Patch Collection|Selected Patch|Temporary Patch ()|Edit|Options|Library|About");
    const std::pair<const char*, const char*> menus[] = {
        {"Collection1",
         "Load... [Ctrl+O]|Save As... [Ctrl+S]|-|Receive|Send|Resume Receive|-|Recent"},
        {"Patch1", "Load...|Save As...|-|Receive|Send|-|Edit|-|Cut [Ctrl+X]|Copy [Ctrl+C]|"
                   "Compare With Temporary Patch"},
        {"Temporary1",
         "Load...|Save As..|-|Receive|Send|-|Edit|-|Paste-Over [Ctrl+V]|Paste-Insert [Ctrl+Ins]"},
        {"EditMenu1", "Undo [Ctrl+Z]|Redo [Ctrl+Shift+Z]"},
        {"Options1", "Select MIDI-OUT Port|Select MIDI-IN Port|Test MIDI Connection|"
                     "Import/Export Patch|-|Set Patch Grid Font...|-|Show MIDI Console...|"
                     "MIDI Device Warnings|SysEx Compatibility Warnings|Right Click Select|"
                     "Test Connection On Send|Virtual GR-33 Device|Send Edits Live|MIDI Log|-|"
                     "Snapshot Before Send|Verify After Send"},
        {"Library1", "Patch Library...|History of Selected Slot|Restore Snapshot..."},
        {"PopupMenuPatch", "Load...|Save As...|Receive|Send|Edit|Cut [Ctrl+X]|Copy [Ctrl+C]|-|"
                           "Paste-Over [Ctrl+V]|Paste-Insert [Ctrl+Ins]"},
        {"PopupMenuCollection",
         "Collection: Load...|Collection: Save As...|Collection: Receive|Collection: Send"},
    };
    for (const auto& [name, captions] : menus)
        EXPECT_EQ(Captions(Find<QMenu>(name)).join('|'), captions) << name;

    // Each item of the slot menu acts on the slot selected (an empty one here, no ports).
    Key(Qt::Key_Right, {}), Key(Qt::Key_Down, {});
    EXPECT_EQ(window_->SelectedPatch(), 6);
    const std::pair<const char*, const char*> refusals[] = {
        {"SaveAsPatch1", "Save Patch"},          {"ReceivePatch1", "No midi-in device found."},
        {"SendPatch1", "Patch (A22) is empty!"}, {"CutPatch1", "Patch (A22) is empty!"},
        {"CopyPatch1", "Patch (A22) is empty!"}, {"ReceiveTmpPatch1", "No midi-in device found."}};
    for (const auto& [item, text] : refusals) {
        Choose(item);
        EXPECT_EQ(prompts.Last(), text) << item;
    }
    Choose("LoadPatch1", PatchFile());
    EXPECT_EQ(Cell(6), CellOf(6, 1));
    EXPECT_EQ(Find<QMenu>("Temporary1")->title(), "Temporary Patch ()");
    Choose("LoadTmpPatch1", PatchFile());
    EXPECT_EQ(Find<QMenu>("Temporary1")->title(),
              "Temporary Patch (" + DemoName(1).trimmed() + ")");

    // Return opens the editor as a double click does.
    ClickCell(5);
    QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(5));
    EXPECT_EQ(prompts.Last(), "Patch (A21) is empty!");
    Key(Qt::Key_Right, {}), Key(Qt::Key_Return, {});
    EXPECT_NE(window_->Collection().Slot(6).Editor, nullptr);
    window_.reset(); // the librarian takes the editor down while its record still exists
}

// The temporary patch's items wait for its first patch; cut, copy and paste by keyboard; the
// selected slot compared with the temporary patch in the lines of gr33 diff.
TEST_F(MainMenus, EditingThroughTheTemporaryPatch) {
    Open();
    Choose("LoadCollection", BankFile("bank.G33", {2}));
    const char* waiting[] = {"SaveAsTmpPatch1",    "SendTmpPatch1",        "EditTmpPatch1",
                             "PasteTmpPatchOver1", "PasteTmpPatchInsert1", "PopupPasteOver",
                             "PopupPasteInsert"};
    for (const char* item : waiting)
        EXPECT_FALSE(Find(item)->isEnabled()) << item;
    OnCell(1, Qt::Key_V); // disabled: nothing happens
    EXPECT_EQ(Cell(1), "A11: Empty");
    Choose("EditPatch1");
    EXPECT_EQ(prompts.Last(), "Patch (A11) is empty!");

    OnCell(2, Qt::Key_X);
    EXPECT_EQ(Cell(2), "A12: Empty");
    EXPECT_EQ(Find<QMenu>("Temporary1")->title(),
              "Temporary Patch (" + DemoName(2).trimmed() + ")");
    EXPECT_EQ(Title(), "KelvoLight 1.01 (* bank.G33)");
    for (const char* item : waiting)
        EXPECT_TRUE(Find(item)->isEnabled()) << item;
    OnCell(7, Qt::Key_Insert);
    OnCell(1, Qt::Key_V);
    EXPECT_EQ(Cell(1) + Cell(7), CellOf(1, 2) + CellOf(7, 2));

    const auto panned = [&](int pan, const char* name) {
        PatchBytes bytes = DemoPatch(1);
        bytes[15] = static_cast<std::uint8_t>(pan + 64); // Common / Pan
        return PatchFile(name, bytes);
    };
    prompts.fileAnswers = {panned(-40, "left.P33"), File("left.P33"), panned(-50, "less.P33")};
    ClickCell(6);
    Choose("LoadPatch1");
    for (const char* line : {"identical", "Common / Pan: -40 -> -50"}) {
        Choose("LoadTmpPatch1");
        Choose("ComparePatch1");
        EXPECT_EQ(Compared(), QStringList({"Compare A22 With Temporary Patch", line}));
    }
}

TEST_F(MainMenus, OptionsPersistAndStartFromTheSettings) {
    Open();
    // First run: the two "Yes"-only options unchecked, the others checked.
    const std::vector<std::pair<const char*, bool>> marks = {
        {"ShowMIDIConsole1", false}, {"DeviceWarnings1", false},  {"CompatibilityWarnings1", true},
        {"RightClickSelect1", true}, {"GrTestBeforeSend1", true}, {"VirtualDevice1", true}};
    for (const auto& [item, checked] : marks) {
        EXPECT_EQ(Find(item)->isChecked(), checked) << item;
        if (std::string(item) != "ShowMIDIConsole1") Choose(item);
    }
    EXPECT_FALSE(window_->TestBeforeSend());
    Choose("GrTestBeforeSend1");
    EXPECT_TRUE(window_->TestBeforeSend());
    EXPECT_EQ(
        std::ranges::count_if(Settings().Lines(),
                              [](auto& line) { return line.starts_with("GRTestBeforeSend="); }),
        1);
    EXPECT_EQ(ReadSetting("GRTestBeforeSend") + ReadSetting("VirtualDevice"), "YesNo");

    window_.reset();
    WriteSetting("Console", "yes");
    Open();
    for (const auto& [item, checked] : marks)
        EXPECT_EQ(Find(item)->isChecked(), !checked || std::string(item) == "GrTestBeforeSend1")
            << item;
    EXPECT_TRUE(window_->TestBeforeSend());
    QWidget console;
    window_->SetConsoleWindow(&console);
    EXPECT_TRUE(console.isVisible());
    Choose("ShowMIDIConsole1");
    EXPECT_FALSE(console.isVisible());
    EXPECT_EQ(ReadSetting("Console"), "No");
}

TEST_F(MainMenus, CloseAsksToSaveAndStaysOpenWhenTheSaveFails) {
    Open();
    prompts.fileAnswers = {PatchFile(), File("no/such/folder/x.G33"), std::nullopt};
    Choose("LoadPatch1");
    prompts.confirmAnswers = {true, true};
    Key(Qt::Key_Q); // closes as the close box does
    EXPECT_TRUE(window_->isVisible());
    EXPECT_TRUE(window_->close()); // Yes, then the dialog cancelled: closes as asked
    EXPECT_EQ(prompts.Texts("confirm").size(), 2u);
}

// Each load and save puts its file on top, once; eight are kept; an entry loads as "Load..." does.
// Blanks and repeats of a hand-edited list and a file gone from disk drop out.
TEST_F(MainMenus, RecentCollectionsFollowLoadsAndSaves) {
    const std::string gone = File("gone.G33");
    WriteSetting("Recent1", "");
    WriteSetting("Recent2", gone);
    WriteSetting("Recent3", gone);
    Open();
    EXPECT_EQ(Find("Recent1")->text(), "&1 " + QString::fromStdString(gone));
    EXPECT_FALSE(Find("Recent2")->isVisible());
    const auto banks = [&](const std::string& numbers) { // "21": bank2.G33, bank1.G33
        std::vector<std::string> files;
        for (char k : numbers)
            files.push_back(File(std::string("bank") + k + ".G33"));
        return files;
    };
    for (const std::string& bank : banks("123456789"))
        prompts.fileAnswers = {bank}, Key(Qt::Key_S); // "Save As..."
    prompts.fileAnswers = {banks("2")[0]};
    Key(Qt::Key_O); // "Load..."
    EXPECT_EQ(RecentFiles(), banks("29876543"));
    Choose("LoadPatch1", PatchFile());
    prompts.confirmAnswers = {false};
    Choose("Recent6"); // bank5, after the save question
    EXPECT_EQ(prompts.Texts("confirm").size(), 1u);
    EXPECT_EQ(Title(), "KelvoLight 1.01 (bank5.G33)");
    EXPECT_EQ(RecentFiles(), banks("52987643"));
    EXPECT_EQ(ReadSetting("Recent1"), banks("5")[0]); // the newest first
    std::filesystem::remove(banks("3")[0]);
    QTest::mouseMove(Grid()->viewport()); // off the place the submenu opens at
    Choose("Recent8");
    EXPECT_EQ(prompts.Last(), "File " + banks("3")[0] + " not found");
    EXPECT_EQ(RecentFiles(), banks("5298764"));
    EXPECT_FALSE(Find("Recent8")->isVisible());
}

// The console the user closes stays off; one open when the librarian closes comes back.
TEST_F(MainMenus, OnlyTheUserClosingTheConsoleTurnsItOff) {
    WriteSetting("Console", "Yes");
    Open();
    TFormConsole console(*window_);
    window_->SetConsoleWindow(&console);
    ASSERT_TRUE(console.isVisible());
    QObject::connect(window_.get(), &TFormMain::Closed, qApp, &QApplication::quit); // as main does
    QTimer::singleShot(0, [&] { CloseAsTheUser(*window_); });
    QApplication::exec();
    EXPECT_EQ(ReadSetting("Console"), "Yes");
    console.show();
    CloseAsTheUser(console);
    EXPECT_FALSE(Find("ShowMIDIConsole1")->isChecked());
    EXPECT_EQ(ReadSetting("Console"), "No");
}

// "About" shows the version and the notes, once however often it opens; the wait notice shows
// centred on the librarian.
TEST_F(MainMenus, AboutAndWaitWindows) {
    Open();
    Choose("About1");
    TAboutForm* about = window_->AboutForm();
    ASSERT_TRUE(about->isVisible());
    auto* notes = about->findChild<QTextBrowser*>("aboutNotes");
    EXPECT_EQ(about->findChild<QLabel*>("Label3")->text() + "|" +
                  about->findChild<QLabel*>("Label1")->text(),
              "Version 1.01|Kelvo");
    const QString first = notes->toPlainText();
    EXPECT_TRUE(first.contains("SYSTEM:BULK LOAD Waiting..."));
    QTest::mouseClick(about->findChild<QPushButton*>("ButtonOk"), Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
    Choose("About1");
    EXPECT_EQ(notes->toPlainText(), first); // replaced, not appended

    TAboutForm bare;
    bare.SetNotes("");
    bare.show(), bare.hide(), bare.show();
    EXPECT_EQ(bare.findChild<QTextBrowser*>("aboutNotes")->toPlainText(),
              "No description available!");

    TFormWait wait;
    window_->SetWaitWindow(&wait);
    window_->ShowWait(true);
    EXPECT_TRUE(wait.isVisible());
    const auto* label = wait.findChild<QLabel*>("Label1");
    EXPECT_EQ(label->text(), "Please wait ...");
    EXPECT_EQ(wait.size(), QSize(122, 35)); // the text fits, whatever face stands in
    EXPECT_TRUE(wait.rect().contains(label->geometry()));
    EXPECT_LE((wait.geometry().center() - window_->frameGeometry().center()).manhattanLength(), 2);
    window_->ShowWait(false);
    EXPECT_FALSE(wait.isVisible());
}

// Undo and redo through the "Edit" menu and its keys: each step puts the grid back as it was,
// the modified mark follows the saved state, a load starts afresh.
TEST_F(MainMenus, UndoStepsGoBackAndForthToTheSavedState) {
    Open();
    const auto cells = [&] {
        QStringList texts;
        for (int n = 1; n <= 128; ++n)
            texts << Cell(n);
        return texts.join('\n').toStdString();
    };
    const std::tuple<std::string, int, Qt::Key> steps[] = {
        {"Load Patch", 1, Qt::Key_unknown}, // from the menu into A11, selected
        {"Cut", 1, Qt::Key_X},
        {"Insert", 3, Qt::Key_Insert},
        {"Paste", 2, Qt::Key_V}};
    std::vector<std::string> states{cells()};
    for (const auto& [text, number, key] : steps) {
        if (key == Qt::Key_unknown)
            Choose("LoadPatch1", PatchFile());
        else
            OnCell(number, key);
        EXPECT_NE(cells(), states.back()) << text;
        states.push_back(cells());
        EXPECT_EQ(Find("Undo1")->text().toStdString(), "Undo " + text);
    }
    for (int k = 4; k > 0; --k) {
        EXPECT_EQ(Title().toStdString(), "KelvoLight 1.01 (* Untitled)");
        Key(Qt::Key_Z);
        EXPECT_EQ(cells(), states[k - 1]) << k;
        EXPECT_EQ(Find("Redo1")->text().toStdString(), "Redo " + std::get<0>(steps[k - 1]));
    }
    EXPECT_EQ(Title().toStdString(), "KelvoLight 1.01 (Untitled)");
    EXPECT_FALSE(Find("Undo1")->isEnabled());
    for (int k = 1; k <= 4; ++k)
        Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(cells(), states.back());

    // Saved after one undo: forward again and back past the save both mark it modified.
    Choose("Undo1");
    prompts.fileAnswers = {File("bank.G33"), File("bank.G33")}; // saved, then loaded
    Choose("SaveCollection");
    for (const char* item : {"Redo1", "Undo1", "Undo1"}) {
        const bool starred = Title().contains('*');
        Choose(item);
        EXPECT_NE(Title().contains('*'), starred) << item;
    }
    prompts.confirmAnswers = {false}; // not saved first
    Choose("LoadCollection");
    EXPECT_EQ(cells(), states[3]);
    EXPECT_EQ(Title().toStdString(), "KelvoLight 1.01 (bank.G33)");
    EXPECT_FALSE(Find("Undo1")->isEnabled() || Find("Redo1")->isEnabled());
    OnCell(3, Qt::Key_X); // A13 holds the patch
    EXPECT_TRUE(Title().contains('*'));
    Key(Qt::Key_Z); // back to the loaded file's state, the saved one
    EXPECT_EQ(Title().toStdString(), "KelvoLight 1.01 (bank.G33)");
}

// Cells dragged onto cells and files dropped from the desktop; a drag starts from mouse events.
TEST_F(MainMenus, CellsAndFilesDropOntoTheGrid) {
    std::vector<int> all(PatchCount);
    std::iota(all.begin(), all.end(), 1);
    const std::string bank = BankFile("bank.G33", all), patch = PatchFile();
    all.erase(all.begin() + 4); // a bank with A21 empty
    const std::string gap = BankFile("gap.G33", all);
    const std::string question = SaveFirstQuestion;
    for (auto [from, to] :
         {std::pair{bank, "bank.syx"}, {bank, "bad.P33"}, {patch, "demo.syx"}, {patch, "demo.txt"}})
        std::filesystem::copy_file(from, File(to));
    struct {
        int from, to; // from 0: a drop of the files
        Qt::KeyboardModifiers keys;
        std::vector<std::string> files;
        std::string held, shown; // slots 1..8 as demo patches, "" when refused; the last message
        bool gap = false;        // the bank with A21 empty, the temporary patch from D84
    } const cases[] = {
        {1, 3, {}, {}, "23141678", ""},                  // cut, paste-insert
        {1, 3, Qt::ControlModifier, {}, "12141678", ""}, // copy, paste-over
        {2, 2, {}, {}, "", ""},                          // onto itself
        {0, 6, {}, {"bank.G33"}, "12345678", question + " ?"},
        {0, 6, {}, {"bank.syx"}, "12345678", question + " ?"},
        {0, 6, {}, {"demo.P33"}, "12341178", ""},
        {0, 6, {}, {"demo.syx"}, "12341178", ""},
        {0, 6, {}, {"bad.P33"}, "12341678", "Illegal patch data format."},
        {0, 6, {}, {"demo.txt"}, "", ""},
        {0, 6, {}, {"demo.P33", "bank.G33"}, "", ""},
        // only the slots between the two cells move, never the temporary patch
        {1, 3, {}, {}, "23140678", "", true},
        {7, 2, {}, {}, "17234068", "", true},
        {2, 6, Qt::ControlModifier, {}, "12340278", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Open();
        Choose("LoadCollection", c.gap ? gap : bank);
        if (c.gap) // the temporary patch := D84
            OnCell(PatchCount, Qt::Key_C);
        else // A21 := A11, modified
            OnCell(1, Qt::Key_C), OnCell(5, Qt::Key_V);
        const std::string before = c.gap ? "12340678" : "12341678";
        const PatchBytes temp = window_->Collection().TempPatch().Bytes();
        prompts.Clear();
        prompts.confirmAnswers = {false};
        QWidget* view = Grid()->viewport();
        const QPoint from = CellCentre(c.from);
        QMimeData files;
        for (const std::string& file : c.files)
            files.setUrls(files.urls() << QUrl::fromLocalFile(QString::fromStdString(File(file))));
        QDrag* drag = nullptr;
        if (c.from) { // offscreen, QDrag::exec returns at once; the drag lives on until deleted
            QTest::mousePress(view, Qt::LeftButton, {}, from);
            QTest::mouseMove(view, from + QPoint(QApplication::startDragDistance(), 0));
            drag = Grid()->findChild<QDrag*>();
            ASSERT_NE(drag, nullptr);
        }
        const bool taken = DropOnCell(drag ? *drag->mimeData() : files, c.to, c.keys);
        const auto held = [&] {
            std::string demos;
            for (int n = 1, k = 9; n <= 8; demos += char('0' + k), ++n, k = 9)
                while (k > 0 && window_->Collection().Slot(n).Bytes() != DemoPatch(k))
                    --k;
            return demos;
        };
        EXPECT_EQ(taken, !c.held.empty());
        EXPECT_EQ(held(), c.held.empty() ? before : c.held);
        EXPECT_EQ(prompts.Last(), c.shown);
        const bool loaded = c.held == "12345678";
        const std::string file = loaded ? c.files[0] : c.gap ? "* gap.G33" : "* bank.G33";
        EXPECT_EQ(Title().toStdString(), "KelvoLight 1.01 (" + file + ")");
        if (c.from) {
            EXPECT_EQ(window_->Collection().TempPatch().Bytes(), temp);
        }
        if (taken && !loaded && c.held != before) { // one undo takes the drop back
            Key(Qt::Key_Z);
            EXPECT_EQ(held(), before);
        }
    }
}

} // namespace
