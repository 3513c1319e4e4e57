#include "librarian/MainFrm.h"

#include "base/Errors.h"
#include "gr33/PatchNumber.h"
#include "librarian/About.h"
#include "librarian/CollectionUndo.h"
#include "librarian/StringGrid.h"
#include "librarian/WaitFrm.h"
#include "model/Settings.h"
#include "qtcommon/BusyCursor.h"
#include "qtcommon/QtDialogs.h"
#include "qtcommon/RunHandler.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QProgressDialog>

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("FormMain");
    history_ = std::make_unique<TCollectionHistory>(collection_);
    createGrid();
    createMainMenu();
    createEditMenu();
    createPopupMenus();
    about_ = new TAboutForm(this);
}

TFormMain::~TFormMain() {
    // Editor windows hold references to the slot records: take every child window down while
    // the records still exist.
    progress_.reset();
    const auto kids = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* kid : kids)
        delete kid;
}

void TFormMain::FormCreate() {
    SetCollectionFile("", false);
    portTestArmed_ = false;
    RunHandler([&] { BuildGrid(true); });
    // The temporary patch exists from the start (a member of the collection); its menu keeps
    // reading "Temporary Patch ()" until something is put into it.
    RunHandler([&] {
        buildInputMenu();
        restoreInputEntry();
    });
    RunHandler([&] { buildOutputMenu(); });
    portTestArmed_ = true;
    RunHandler([&] { restoreOutputEntry(); });
    setOptionMarks();
}

void TFormMain::SetConsoleWindow(QWidget* console) {
    console_ = console;
    if (console_ && consoleOption_->isChecked()) console_->show();
}

void TFormMain::SetCollectionFile(const std::string& fileName, bool modified) {
    // The editor's Ok marks the collection modified after writing its patch into the slot.
    history_->SetNextText("Edit Patch");
    collection_.SetCollectionFile(fileName, modified);
    history_->SetNextText({});
}

void TFormMain::TitleChanged() {
    setWindowTitle(QString::fromStdString(collection_.Title()));
    // Every change of the slots ends in the modified mark; a save or a load clears it.
    if (!history_) return;
    if (collection_.Modified())
        history_->Record();
    else
        history_->Saved();
}

void TFormMain::UpdateTempPatchMenu() {
    QString caption = QString::fromStdString(collection_.TempPatchCaption());
    temporaryMenu_->setTitle(caption.replace('&', "&&"));
    for (QAction* item : tempItems_)
        item->setEnabled(true);
}

void TFormMain::ShowWait(bool visible) {
    if (!wait_) return;
    if (visible) {
        wait_->ShowOver(this);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else {
        wait_->hide();
    }
}

void TFormMain::ConsoleClosed() {
    consoleOption_->setChecked(false);
    WriteSetting("Console", "No");
}

void TFormMain::SetBusy(bool busy) {
    if (busy)
        busy_.push_back(std::make_unique<BusyCursor>());
    else if (!busy_.empty())
        busy_.pop_back();
}

void TFormMain::PresetFileName(const std::string& name) {
    if (auto* dialogs = dynamic_cast<QtDialogs*>(&Prompts())) dialogs->SetNextFileName(name);
}

void TFormMain::BeginTransfer(int total) {
    progress_ = std::make_unique<QProgressDialog>(this);
    progress_->setObjectName("TransferProgress");
    progress_->setWindowTitle(ApplicationTitle());
    progress_->setCancelButtonText("Cancel");
    progress_->setRange(0, total);
    // Nothing else may run an exchange between two patches of the transfer.
    progress_->setWindowModality(Qt::ApplicationModal);
    progress_->setMinimumDuration(0);
    progress_->setAutoReset(false);
    progress_->setAutoClose(false);
    progress_->setValue(0);
}

bool TFormMain::TransferStep(const std::string& text, int done) {
    if (!progress_) return true;
    progress_->setLabelText(QString::fromStdString(text));
    progress_->setValue(done);
    QApplication::processEvents();
    return progress_ && !progress_->wasCanceled();
}

void TFormMain::EndTransfer() {
    progress_.reset();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    // A save the user asked for but that failed keeps the window open, so the collection is
    // not lost; answering No, or cancelling the dialog, closes as asked.
    if (!RunHandler([&] { collection_.QuerySave(); })) {
        event->ignore();
        return;
    }
    event->accept();
    emit Closed();
}
