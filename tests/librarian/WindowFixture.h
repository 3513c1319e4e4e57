#pragma once
// A librarian window on a fresh settings store, scripted prompts, fake ports or the virtual
// GR-33; menu items chosen by mouse, the grid's keys typed; the headers of every test here.

#include "base/FileRead.h"
#include "gr33/Exchange.h"
#include "librarian/About.h"
#include "librarian/LibraryModel.h"
#include "librarian/MainFrm.h"
#include "librarian/StringGrid.h"
#include "midi/MidiLog.h"
#include "model/RecentFiles.h"
#include "model/Settings.h"
#include "qtcommon/QtDialogs.h"
#include "qtcommon/QuitSignals.h"
#include "sim/DemoBank.h"
#include "sim/VirtualGr33.h"
#include "tests/midi/FakeMidiBackend.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/UserClose.h"
#include "tools/ConsoleFrm.h"

#include <QTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <set>

class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    ~WindowTest() override;

    std::string File(const std::string& name) const { return folder_.File(name); }
    // A patch file holding these bytes, by default the first demo patch.
    std::string PatchFile(const std::string& name = "demo.P33",
                          const PatchBytes& bytes = DemoPatch(1)) const;
    // A collection file holding demo patch n in slot n for each n given, these other slots' bytes,
    // the rest empty.
    std::string BankFile(const std::string& name, const std::vector<int>& demos,
                         const std::map<int, PatchBytes>& others = {}) const;
    // Demo patch n's name, its twelve characters as stored, and its cell in slot `number`.
    static QString DemoName(int demo);
    static QString CellOf(int number, int demo) {
        return QString::fromStdString(PatchLabel(number)) + ": " + DemoName(demo);
    }
    // Lists these ports and refuses to open them.
    FakeMidiState& InstallPorts(std::vector<MidiPortInfo> ins, std::vector<MidiPortInfo> outs);
    // The virtual GR-33 with these faults, its memory in device.G33.
    VirtualGr33* InstallDevice(std::vector<Fault> faults = {});
    // Creates and shows the window and runs its start-up.
    TFormMain& Open();

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
    void ClickCell(int number, Qt::MouseButton button = Qt::LeftButton,
                   Qt::KeyboardModifiers keys = {});
    // Types a key on the grid, by default with Ctrl as its editing keys go.
    void Key(Qt::Key key, Qt::KeyboardModifiers keys = Qt::ControlModifier) {
        QTest::keyClick(Grid(), key, keys);
    }
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
