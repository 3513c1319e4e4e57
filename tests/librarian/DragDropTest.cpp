// Cells dragged onto cells and files dropped from the desktop; a drag starts from mouse events.

#include "WindowFixture.h"
#include "gr33/PatchNumber.h"
#include "sim/DemoBank.h"

#include <QDrag>
#include <QMimeData>

#include <filesystem>
#include <numeric>

namespace {

TEST_F(WindowTest, CellsAndFilesDropOntoTheGrid) {
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
        EXPECT_EQ(Title().toStdString(), "KelvoLight 1.01 (" +
                                             (loaded  ? c.files[0]
                                              : c.gap ? "* gap.G33"
                                                      : "* bank.G33") +
                                             ")");
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
