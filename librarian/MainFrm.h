#pragma once
// TFormMain: the librarian window. It shows the collection of 128 slots as a grid of patch
// names, runs every collection, patch and temporary-patch command through its menus, sets the
// collection's ports and send-test switch from its menus, and is what the editor, console and
// converter reach the librarian through (LibrarianHost).

#include "base/Dialogs.h"
#include "librarian/WaitFrm.h"
#include "model/Collection.h"
#include "model/CollectionObserver.h"
#include "model/LibrarianHost.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class BusyCursor;
class QAction;
class QActionGroup;
class QMenu;
class QProgressDialog;
class QScrollArea;
class TAboutForm;
class TCollectionHistory;
class TCompareWindow;
class TLibraryWindow;
class TMidiLogWindow;
class TPatchLibrary;
class TStringGrid;
struct PortEntry;

class TFormMain : public QMainWindow, public LibrarianHost, private CollectionObserver {
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // The start-up sequence: title, grid, temporary patch, port menus (restoring the stored
    // entries, which runs one connection test) and the option check marks. A step that fails
    // shows its message and the later steps still run.
    void FormCreate();
    // Opens the file named on the command line (TCollection::OpenFile); an error shows its
    // message like the "Load..." commands do.
    void OpenStartFile(const std::string& fileName);

    // The other windows of the application, created after this one.
    void SetWaitWindow(TFormWait* wait) { wait_ = wait; }
    void SetConsoleWindow(QWidget* console);
    void SetConverterWindow(QWidget* converter) { converter_ = converter; }

    // The patch library every patch passing through the collection is recorded in, owned by
    // the application; none when it could not be opened (the librarian works on without it).
    void SetPatchLibrary(TPatchLibrary* library) { library_ = library; }
    TPatchLibrary* PatchLibrary() const { return library_; }

    TCollection& Collection() { return collection_; }
    // Shows the compare window on two patches: the selected slot and the temporary patch, or
    // two patches of the library window.
    void ShowComparison(const std::string& title, const PatchBytes& a, const PatchBytes& b);
    TAboutForm* AboutForm() const { return about_; }

    // LibrarianHost.
    int SelectedMidiOut() override { return collection_.Ports().Out(); }
    int SelectedMidiIn() override { return collection_.Ports().In(); }
    bool TestBeforeSend() const override { return collection_.Ports().TestBeforeSend(); }
    bool LiveEdit() const override;
    std::string CollectionFile() const override { return collection_.CollectionFile(); }
    void SetCollectionFile(const std::string& fileName, bool modified) override;
    void UpdateCell(int column, int row) override;
    void UpdateTempPatchMenu() override;
    TPatch& TempPatch() override { return collection_.TempPatch(); }
    int SelectedPatch() const override;
    void ShowWait(bool visible) override;
    void ConsoleClosed() override;
    // Recorded like the collection's patches (MainFrmLibrary.cpp).
    void RecordPatch(const SlotPatch& patch, const SightingSource& source) override;

    // Grid layout: font, sizes, headings; with initial also the slot cells and the window size.
    void BuildGrid(bool initial);
    // The menu the grid's next context-menu request opens (decided by the last right press).
    QMenu* GridPopup() const { return gridPopup_; }
    bool PortTestArmed() const { return portTestArmed_; }
    // The grid's font as the GridFont setting describes it.
    const FontSpec& GridFont() const { return gridFont_; }

signals:
    // The window was closed: the application ends.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // CollectionObserver
    void CellChanged(int number) override;
    void TitleChanged() override;
    void TempPatchMenuChanged() override { UpdateTempPatchMenu(); }
    void SetBusy(bool busy) override;
    void PresetFileName(const std::string& name) override;
    void BeginTransfer(int total) override;
    bool TransferStep(const std::string& text, int done) override;
    void EndTransfer() override;
    // Recorded in the patch library (MainFrmLibrary.cpp).
    void PatchesSeen(std::span<const SlotPatch> patches, const SightingSource& source) override;
    void CollectionReceived(std::span<const PatchBytes> received, const std::string& port) override;
    // Shows the recent list in "Patch Collection" -> "Recent" (MainFrmMenus.cpp).
    void RecentFilesChanged() override;
    void ResumeReceiveChanged() override;
    // Starts the undo history again (MainFrmUndo.cpp).
    void CollectionReplaced() override;

    // Menus (MainFrmMenus.cpp).
    void createMainMenu();
    void createPopupMenus();
    QAction* command(QMenu* menu, const char* name, const char* caption,
                     void (TFormMain::*handler)());
    QAction* option(QMenu* menu, const char* name, const char* caption, const char* setting);
    void setOptionMarks();
    void createRecentMenu(QMenu* collection);

    // The "Edit" menu and the undo history of the collection (MainFrmUndo.cpp).
    void createEditMenu();
    // Runs a menu command, the slots' change it makes one step of the history.
    void runCommand(void (TFormMain::*handler)());
    // The name of the step a command makes, "" for one that names none.
    static const char* stepText(void (TFormMain::*handler)());

    // Command handlers (MainFrmCommands.cpp).
    void LoadCollectionClick();
    void SaveCollectionClick();
    void ReceiveCollection1Click();
    void SendCollection1Click();
    void ResumeReceive1Click();
    void LoadPatch1Click();
    void SaveAsPatch1Click();
    void ReceivePatch1Click();
    void SendPatch1Click();
    void EditPatch1Click();
    void CutPatch1Click();
    void CopyPatch1Click();
    void ComparePatch1Click();
    void LoadTmpPatch1Click();
    void SaveAsTmpPatch1Click();
    void ReceiveTmpPatch1Click();
    void SendTmpPatch1Click();
    void EditTmpPatch1Click();
    void PasteTmpPatchOver1Click();
    void PasteTmpPatchInsert1Click();
    void ImportExportPatch1Click();
    void ShowMIDIConsole1Click();
    void About1Click();
    void SetGridFont1Click();
    void MidiLog1Click();

    // Ports (MainFrmPorts.cpp).
    void setEntries(QMenu* menu, QActionGroup* group, const std::vector<PortEntry>& entries,
                    const char* namePrefix, void (TFormMain::*handler)(QAction*));
    void buildInputMenu();
    void buildOutputMenu();
    void restoreInputEntry();
    void restoreOutputEntry();
    // Lists the ports again as the menu opens and keeps the chosen port chosen.
    void refreshEntries(bool input);
    void MidiInEntryClick(QAction* entry);
    void MidiOutEntryClick(QAction* entry);
    void entryChosen(QActionGroup* group, QAction* entry, const char* entrySetting,
                     const char* nameSetting);
    void TestIdentity1Click();

    // Grid (MainFrmGrid.cpp).
    void createGrid();
    void StringGridMouseDown(QObject* source, const QPoint& pos);
    // Return or Enter edits the selected patch, the Menu key opens its context menu.
    bool StringGridKeyDown(int key);
    void openGridPopup(const QPoint& globalPos);
    // A cell dropped onto another: moved as "Cut" of the source and "Paste-Insert" at the
    // target, or copied (Ctrl held) as "Copy" and "Paste-Over"; the target is then selected.
    void GridSlotDropped(int source, int target, bool copy);
    // A collection or patch file dropped from the desktop (TCollection::OpenDroppedFile).
    void GridFileDropped(int target, const QString& fileName);
    QSize gridSize() const;
    void fitToGrid();

    // The "Library" menu and drops of library patches on the grid (MainFrmLibrary.cpp).
    void createLibraryMenu(QMenu* menu);
    TPatchLibrary& requireLibrary() const;
    void PatchLibrary1Click();
    void SlotHistory1Click();
    void RestoreSnapshot1Click();
    void GridPatchesDropped(int row, int column, const QList<qint64>& ids);
    // An open library window shows what was just recorded.
    void refreshLibraryWindow();

    TCollection collection_{*this};
    // After the collection, so it goes before it.
    std::unique_ptr<TCollectionHistory> history_;
    TPatchLibrary* library_ = nullptr;
    FontSpec gridFont_;
    bool portTestArmed_ = false;

    QScrollArea* scroll_ = nullptr;
    TStringGrid* grid_ = nullptr;
    QMenu* gridPopup_ = nullptr;
    QMenu* popupPatch_ = nullptr;
    QMenu* popupCollection_ = nullptr;
    QMenu* temporaryMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QAction* resumeItem_ = nullptr;
    std::vector<QAction*> recentItems_; // one per place of the list, hidden while unused
    QMenu* outMenu_ = nullptr;
    QMenu* inMenu_ = nullptr;
    QActionGroup* outGroup_ = nullptr;
    QActionGroup* inGroup_ = nullptr;
    // The names of the chosen ports; none before the first choice.
    std::optional<std::string> chosenIn_, chosenOut_;
    std::vector<QAction*> tempItems_; // enabled by the first UpdateTempPatchMenu
    QAction* consoleOption_ = nullptr;

    TAboutForm* about_ = nullptr;
    QPointer<TFormWait> wait_;
    QPointer<QWidget> console_;
    QPointer<QWidget> converter_;
    TLibraryWindow* libraryWindow_ = nullptr;
    TMidiLogWindow* midiLogWindow_ = nullptr;
    TCompareWindow* compare_ = nullptr;
    std::vector<std::unique_ptr<BusyCursor>> busy_;
    std::unique_ptr<QProgressDialog> progress_;
};
