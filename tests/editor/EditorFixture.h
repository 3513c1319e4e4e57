#pragma once
// What the editor tests share: a fake librarian that records what the editor asks of it,
// recorded prompts, slot records and helpers to open an editor and find its controls.

#include "base/Errors.h"
#include "base/RecordingDialogs.h"
#include "controls/IBar.h"
#include "editor/EditFrm.h"
#include "gr33/Patch.h"
#include "model/LibrarianHost.h"
#include "sim/DemoBank.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWidget>

#include <array>
#include <string>
#include <utility>
#include <vector>

class FakeHost : public LibrarianHost {
public:
    int midiOut = 1; // 0: no port checked
    int midiIn = 1;
    bool testBeforeSend = false;
    std::string collectionFile = "Bank.G33";
    std::vector<bool> modifiedMarks; // the modified flag of each SetCollectionFile
    std::vector<std::pair<int, int>> updatedCells;
    int tempMenuUpdates = 0;
    std::vector<bool> waitShown; // each ShowWait call
    std::vector<std::string> portReads;
    TPatch temp;

    int SelectedMidiOut() override {
        portReads.push_back("out");
        if (midiOut == 0) throw EMidiOut("No midi-out device found");
        return midiOut;
    }
    int SelectedMidiIn() override {
        portReads.push_back("in");
        if (midiIn == 0) throw EMidiIn("No midi-in device found");
        return midiIn;
    }
    bool TestBeforeSend() const override { return testBeforeSend; }
    std::string CollectionFile() const override { return collectionFile; }
    void SetCollectionFile(const std::string& fileName, bool modified) override {
        collectionFile = fileName;
        modifiedMarks.push_back(modified);
    }
    void UpdateCell(int column, int row) override { updatedCells.emplace_back(column, row); }
    void UpdateTempPatchMenu() override { ++tempMenuUpdates; }
    TPatch& TempPatch() override { return temp; }
    int SelectedPatch() const override { return 1; }
    void ShowWait(bool visible) override { waitShown.push_back(visible); }
    void ConsoleClosed() override {}

    // Whether every show of the wait window was followed by a hide.
    bool WaitBalanced() const {
        int open = 0;
        for (bool shown : waitShown)
            open += shown ? 1 : -1;
        return open == 0;
    }
};

class EditorTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (TPatch& slot : records)
            CloseEditor(slot);
        CloseEditor(host.temp);
        // Closed windows are deleted at the next turn of the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Slot record of patch number 1..8 (A11 .. A24).
    TPatch& Slot(int number) { return records.at(number - 1); }

    static void Fill(TPatch& record, const PatchBytes& bytes) {
        std::copy(bytes.begin(), bytes.end(), record.Data());
    }

    static TFormEdit* EditorOf(const TPatch& record) {
        return dynamic_cast<TFormEdit*>(record.Editor);
    }

    // Fills slot `number` with the demo patch (changed by `edit`) and opens an editor on it.
    template <typename Edit> TFormEdit& Open(int number, Edit edit) {
        PatchBytes bytes = DemoPatch(number);
        edit(bytes);
        Fill(Slot(number), bytes);
        OpenEditor(Slot(number), number, host);
        TFormEdit* editor = EditorOf(Slot(number));
        EXPECT_NE(editor, nullptr);
        // Shown, painted and active, as the user meets it.
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor));
        return *editor;
    }
    TFormEdit& Open(int number) {
        return Open(number, [](PatchBytes&) {});
    }

    // Stores the editor into a copy of the record's bytes; the flag starts as given.
    struct StoreResult {
        PatchBytes bytes;
        bool changed;
    };
    static StoreResult StoreCopy(const TFormEdit& editor, bool changed = false) {
        TPatch copy;
        std::copy(editor.Patch().Bytes().begin(), editor.Patch().Bytes().end(), copy.Data());
        editor.StoreControls(copy, changed);
        return {copy.Bytes(), changed};
    }

    template <typename T> static T* Find(QWidget& parent, const char* name) {
        T* widget = parent.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static TIBar* Bar(QWidget& editor, int slot) {
        return editor.findChild<TIBar*>("IBar" + QString::number(slot));
    }
    // Pages and list entries chosen with the mouse.
    static void ShowPage(TFormEdit& editor, int page) {
        QTabBar* tabs = Find<QTabWidget>(editor, "PageControl1")->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
        QCoreApplication::processEvents(); // the page is painted
    }
    static void Pick(QComboBox* list, const QString& entry) {
        QTest::mouseClick(list, Qt::LeftButton);
        QAbstractItemView* view = list->view();
        const QModelIndex index = view->model()->index(list->findText(entry), 0);
        view->scrollTo(index);
        // A release just after the list opened would count as the end of the opening click.
        QTest::qWait(QApplication::doubleClickInterval() + 100);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }

    FakeHost host;
    RecordingDialogs prompts;
    ScopedPrompts guard{prompts};
    std::array<TPatch, 8> records;
};
