#pragma once
// TFormEdit: the patch editor window on one TPatch record. Its controls are the working copy
// of the patch; the record is written only by the two Ok buttons. The record's Editor field
// points back at the open window and is the only registry of open editors.

#include "editor/ParamControl.h"
#include "gr33/Patch.h"
#include "gr33/PatchEditorLink.h"

#include <QWidget>

#include <array>
#include <memory>
#include <string>
#include <vector>

class LibrarianHost;
class LiveSender;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QUndoStack;
class QPushButton;
class TIBar;

// Opens an editor on the record (number 0..128, 0 for the temporary patch) or brings the one
// already open on it to the front without reloading it. An empty record raises
// "Patch (<label>) is empty!" and opens nothing; this check comes first in every case.
void OpenEditor(TPatch& record, int number, LibrarianHost& host, QWidget* parent = nullptr);
// Destroys the editor open on the record at once, storing nothing (as its close box does). The
// owner of the records calls it for each record before the records go away.
void CloseEditor(TPatch& record);

class TFormEdit : public QWidget, public PatchEditorLink {
    Q_OBJECT
public:
    // Client area of the window.
    static constexpr int ClientWidth = 608;
    static constexpr int ClientHeight = 350;
    // Width of a page, against which the effect captions are fitted.
    static constexpr int PageWidth = 600;

    // A window bound to the record (see OpenEditor, which also loads and shows it).
    TFormEdit(TPatch& record, int number, LibrarianHost& host, QWidget* parent = nullptr);
    ~TFormEdit() override;

    // Loads the controls from the record (PatchEditorLink). After asking, a No keeps the
    // controls and marks the editor Changed.
    void LoadControls(EditorReload how) override;
    // Rebuilds the Multi-FX Parameters page for the selected type, without reset.
    void SetupEffectPage() override;

    // Writes every control's value into target where it differs, setting changed then.
    void StoreControls(TPatch& target, bool& changed) const;
    // What the controls show, into an empty scratch record: every control's value, and 0 in
    // the bytes no control covers. What the sends put on the wire.
    void StoreShown(TPatch& scratch) const;
    // The action of both Ok buttons: store into the record and refresh the librarian.
    void StoreAndNotify();
    // Configures the twelve bars for effect type 0..39; any other type clears the page and
    // shows "Implementation error in effects". With reset every bar goes to its default.
    void SetupEffectPage(int effectType, bool reset);
    // Shortens the label's caption with "..." until it fits the page.
    void FitCaption(QLabel& label) const;

    // Change handlers of the Multi-FX Type and Multi-FX SW lists (user changes only) and of
    // the name field (every change).
    void ComboBox3Change();
    void ComboBox21Change();
    void Edit1Change();

    // Buttons of the tool bar.
    void ButtonReloadClick();
    void ButtonSendClick();
    void ButtonCancelClick();
    void ButtonOkStayClick();
    void ButtonOkCloseClick();

    // From here on every change of a control (the user's, a Reset, a reload) sends the whole
    // shown patch to the device's temporary patch while the librarian's "Send Edits Live" is
    // on: no identity test, no hourglass, on the live sender's thread. OpenEditor calls it
    // once the controls are loaded.
    void WatchChanges();

    // The undo history of the changes made in the controls while the window is open: each
    // user change is one step of the shown bytes before and after it, and the changes of one
    // control in a row are one step. Loading from the record starts it afresh.
    QUndoStack& History() const { return *history_; }

    TPatch& Patch() const { return patch_; }
    int Number() const { return number_; }
    int Column() const { return column_; }
    int Row() const { return row_; }
    bool Changed() const { return changed_; }

protected:
    // FormClose: every way of closing unbinds the record; the window is deleted afterwards.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolBar();
    void BuildCommonPage(QWidget* page);
    void BuildTonePage(QWidget* page);
    void BuildEffectsPage(QWidget* page);
    void BuildFxPage(QWidget* page);

    void LoadEffectBars(const PatchBytes& bytes);
    void StoreEffectBars(TPatch& target, bool& changed) const;

    void Unbind();

    // Live sending: ControlChanged queues one SendLive for this turn of the event loop, so a
    // type pick that resets twelve bars posts one patch.
    void ControlChanged(QObject* control);
    void SendLive();
    // A live send failed: its message once, live sending off for this window, said in the
    // caption.
    void LiveFailed(const std::string& text);

    TPatch& patch_;
    int number_;
    int column_;
    int row_;
    bool changed_ = false;
    bool bound_ = true;
    LibrarianHost& librarian_;

    QTabWidget* PageControl1 = nullptr;
    QWidget* ToolBar1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QComboBox* ComboBox21 = nullptr;
    QLabel* LabelFXType = nullptr;
    std::array<TIBar*, 12> bars_{};
    std::array<QLabel*, 12> captions_{};
    // The effect type the Multi-FX Parameters page was last set up for.
    int pageEffectType_ = -1;
    bool editingName_ = false;
    bool liveQueued_ = false;
    bool liveOff_ = false;
    // Undo history (EditFrmUndo.cpp): a change of a control queues one record for this turn
    // of the event loop, named by the first control that changed in it; the record compares
    // the shown bytes with those last seen. A load from the record restarts the history.
    void CreateHistory();
    void QueueRecord(QObject* control);
    void RecordShown();
    // The bytes of a step go back into the controls, seen already, so no step is recorded.
    void ShowStep(const PatchBytes& bytes);
    QUndoStack* history_ = nullptr;
    PatchBytes seen_{};
    QObject* recordControl_ = nullptr;
    bool recordQueued_ = false;
    bool restartHistory_ = false;
    // Made at the first live send; ended (the patch waiting sent) with the window.
    std::unique_ptr<LiveSender> live_;

    // Every control of the Common, Tone and Effects pages with its parameter, in page order:
    // load and store run through this one table.
    std::vector<ParamControl> controls_;
};
