#pragma once
// A librarian window on a fresh settings store, scripted prompts, fake ports or the virtual
// GR-33; menu items are chosen by mouse and the grid's keys typed as the user does.

#include "base/Errors.h"
#include "librarian/MainFrm.h"
#include "librarian/StringGrid.h"
#include "midi/MidiDevices.h"
#include "model/Settings.h"
#include "sim/DemoBank.h"
#include "tests/midi/FakeMidiBackend.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/ScratchFolder.h"

#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    ~WindowTest() override;

    std::string File(const std::string& name) const { return folder_.File(name); }
    // A patch file holding these bytes, by default the first demo patch.
    std::string PatchFile(const std::string& name = "demo.P33",
                          const PatchBytes& bytes = DemoPatch(1)) const;
    // A collection file holding demo patch n in slot n for each n given, the rest empty.
    std::string BankFile(const std::string& name, const std::vector<int>& demos) const;
    // Lists these ports and refuses to open them.
    FakeMidiState& InstallPorts(std::vector<MidiPortInfo> ins, std::vector<MidiPortInfo> outs);
    // Creates and shows the window and runs its start-up.
    TFormMain& Open();

    // The named child of `in`, by default of the window.
    template <typename T = QAction> T* Find(const char* name, QObject* in = nullptr) {
        T* found = (in ? in : window_.get())->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    TStringGrid* Grid() { return Find<TStringGrid>("StringGrid"); }
    QTableWidgetItem* Item(int number) { return Grid()->item((number - 1) / 4, (number - 1) % 4); }
    QString Cell(int number) { return Item(number)->text(); }
    QString Title() { return window_->windowTitle(); }
    // Clicks the item's menu in the menu bar, the submenus on the way, then the item.
    void Choose(const char* item);
    // Chooses the item and answers its file dialog with `file`.
    void Choose(const char* item, const std::string& file) {
        prompts.fileAnswers = {file};
        Choose(item);
    }
    // Opens the menu from the menu bar through the submenus on the way, outermost first.
    std::vector<QMenu*> OpenMenus(QMenu* menu);
    void CloseMenus(const std::vector<QMenu*>& menus);
    QPoint CellCentre(int number) { return Grid()->visualItemRect(Item(number)).center(); }
    // Drags the data over the cell of patch `number` and drops it; true when the grid took it.
    bool DropOnCell(const QMimeData& data, int number, Qt::KeyboardModifiers keys = {});
    // Clicks the cell of patch `number` with the given button.
    void ClickCell(int number, Qt::MouseButton button = Qt::LeftButton,
                   Qt::KeyboardModifiers keys = {});
    // Types a key on the grid, by default with Ctrl as its editing keys go.
    void Key(Qt::Key key, Qt::KeyboardModifiers keys = Qt::ControlModifier) {
        QTest::keyClick(Grid(), key, keys);
    }
    // Clicks the cell of patch `number`, then types Ctrl and the key.
    void OnCell(int number, Qt::Key key) { ClickCell(number), Key(key); }
    // The shown compare window's title, then its lines.
    QStringList Compared();
    // Captions of a menu's (or the menu bar's) items in order, "-" for a separator, shortcuts in
    // brackets.
    static QStringList Captions(QWidget* menu);

    RecordingDialogs prompts;
    std::unique_ptr<TFormMain> window_;

private:
    ScratchFolder folder_;
    ScopedPrompts guard_{prompts};
};
