#pragma once
// What the editor tests share: a fake librarian that records what the editor asks of it,
// recorded prompts, slot records, the simulated GR-33 behind the in-process virtual port pair,
// and opening an editor and driving its controls as the user does: tabs, fields, lists and
// buttons found by name, clicked and typed into.

#include "base/Errors.h"
#include "controls/IBar.h"
#include "editor/EditFrm.h"
#include "editor/OnePack.h"
#include "editor/SixCheck.h"
#include "editor/SixPack.h"
#include "gr33/Exchange.h"
#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"
#include "midi/MidiDevices.h"
#include "sim/DemoBank.h"
#include "sim/VirtualGr33.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/UserClose.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class EditorTest : public ::testing::Test {
protected:
    void TearDown() override {
        InstallMidiBackends(nullptr, nullptr);
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

    // Fills the record with the demo patch `demo` (changed by `edit`) and opens an editor on it
    // under `number`: shown, painted and active, as the user meets it.
    TFormEdit& Open(
        TPatch& record, int number, int demo,
        const std::function<void(PatchBytes&)>& edit = [](PatchBytes&) {}) {
        PatchBytes bytes = DemoPatch(demo);
        edit(bytes);
        Fill(record, bytes);
        OpenEditor(record, number, host);
        TFormEdit* editor = EditorOf(record);
        EXPECT_NE(editor, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor));
        return *editor;
    }
    TFormEdit& Open(
        int number, const std::function<void(PatchBytes&)>& edit = [](PatchBytes&) {}) {
        return Open(Slot(number), number, number, edit);
    }

    // The record holds each (byte, value) of `bytes`.
    static void ExpectBytes(const TPatch& record, std::vector<std::pair<int, int>> bytes) {
        for (auto [byte, value] : bytes)
            EXPECT_EQ(record.Data()[byte], value) << byte;
    }

    template <typename T = QWidget> static T* Find(QWidget& parent, const QString& name) {
        T* widget = parent.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    static TIBar* Bar(QWidget& editor, int slot) {
        return Find<TIBar>(editor, "IBar" + QString::number(slot));
    }
    // The number field of a single frame, or of string 1..6 of a per-string frame.
    static QSpinBox* Field(QWidget& editor, const char* frame, int string = 0) {
        QWidget* f = Find(editor, frame);
        return string ? static_cast<TFrameSixpack*>(f)->Field(string) : f->findChild<QSpinBox*>();
    }
    // The value a frame shows, typed text not yet confirmed included.
    static int Shown(QWidget& editor, const char* frame, int string = 0) {
        QWidget* f = Find(editor, frame);
        return string ? static_cast<TFrameSixpack*>(f)->Value(string)
                      : static_cast<TFrameOnepack*>(f)->Value();
    }
    // What the controls show, as the sends put it on the wire.
    static PatchBytes ShownBytes(const TFormEdit& editor) {
        TPatch patch;
        editor.StoreShown(patch);
        return patch.Bytes();
    }
    // Types characters QTest's key table does not know (beyond ASCII) as text key presses.
    static void TypeText(QWidget* widget, const QString& text) {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), {});
    }
    // Clicks the tab of the page holding the control.
    static void ShowPageOf(QWidget* control) {
        QWidget* page = control;
        while (!page->objectName().startsWith("TabSheet"))
            page = page->parentWidget();
        QTabBar* tabs = page->window()->findChild<QTabWidget*>("PageControl1")->tabBar();
        const int index = page->objectName().back().digitValue() - 1;
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
        QCoreApplication::processEvents(); // the page is painted
    }
    // Shows the page of the control and clicks into it, into the text of a number field.
    static void ClickInto(QWidget* control) {
        ShowPageOf(control);
        auto* field = qobject_cast<QSpinBox*>(control);
        QTest::mouseClick(field ? field->findChild<QLineEdit*>() : control, Qt::LeftButton);
    }
    // Clicks into the field, selects its text and types over it; nothing confirms it.
    static void Type(QWidget& editor, const char* frame, int string, const char* keys) {
        QSpinBox* field = Field(editor, frame, string);
        ClickInto(field);
        ASSERT_EQ(QApplication::focusWidget(), field);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, keys);
    }
    static void KeyIntoFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    // Opens the list with the mouse and clicks the entry.
    static void Pick(QWidget& editor, const char* name, const QString& entry) {
        auto* list = Find<QComboBox>(editor, name);
        ShowPageOf(list);
        QTest::mouseClick(list, Qt::LeftButton);
        QAbstractItemView* view = list->view();
        const QModelIndex index = view->model()->index(list->findText(entry), 0);
        view->scrollTo(index);
        // A release just after the list opened would count as the end of the opening click.
        // The wait ends by the clock, so the list's own timer for that may still be pending
        // on a busy machine: it runs before the click.
        QTest::qWait(QApplication::doubleClickInterval() + 100);
        QCoreApplication::processEvents();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }
    // A user's edits of each kind, one after the other: a bar dragged, a value typed and
    // confirmed, a list entry picked, the name's last character typed over.
    static std::vector<std::function<void()>> EditGestures(TFormEdit& editor) {
        return {
            [&editor] {
                TIBar* bar = Bar(editor, 1);
                ShowPageOf(bar);
                QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(5, 6));
                for (int x : {60, 140, 230})
                    QTest::mouseEvent(QTest::MouseMove, bar, Qt::NoButton, {}, QPoint(x, 6));
                QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(230, 6));
            },
            [&editor] { Type(editor, "frameOnepack1", 0, "42"), KeyIntoFocus(Qt::Key_Return); },
            [&editor] { Pick(editor, "ComboBox3", "reverb"); },
            [&editor] {
                auto* name = Find<QLineEdit>(editor, "Edit1");
                ClickInto(name);
                QTest::keyClick(name, Qt::Key_Backspace), QTest::keyClicks(name, "Z");
            },
        };
    }
    static void Click(QWidget& editor, const char* button) {
        QTest::mouseClick(Find<QPushButton>(editor, button), Qt::LeftButton);
    }

    // Puts the simulated GR-33 behind the virtual ports; its log lines are kept.
    void Install(DeviceOptions options = {}) {
        auto device = std::make_unique<Gr33Device>(std::make_unique<SimBank>(), options);
        device->Log = [this](const std::string& line) {
            std::lock_guard lock(logMutex);
            log.push_back(line);
        };
        auto backend = std::make_unique<VirtualGr33>(std::move(device));
        virtualDevice = backend.get();
        InstallMidiBackends(nullptr, std::move(backend));
    }
    PatchBytes DeviceTemp() const {
        PatchBytes bytes{};
        virtualDevice->Inspect([&](const Gr33Device& d) { bytes = d.Bank().Patch(0); });
        return bytes;
    }
    int Stored() const {
        int stored = 0;
        virtualDevice->Inspect([&](const Gr33Device& d) { stored = d.Stored(); });
        return stored;
    }
    std::vector<std::string> Log() {
        std::lock_guard lock(logMutex);
        return log;
    }

    FakeHost host;
    RecordingDialogs prompts;
    ScopedPrompts guard{prompts};
    std::array<TPatch, 8> records;
    VirtualGr33* virtualDevice = nullptr;
    std::mutex logMutex;
    std::vector<std::string> log;
};
