// The librarian's main menu, its two grid context menus and the option switches.

#include "librarian/MainFrm.h"

#include "model/RecentFiles.h"
#include "model/Settings.h"
#include "qtcommon/RunHandler.h"

#include <QAction>
#include <QActionGroup>
#include <QMenuBar>

namespace {

// How an option's stored value sets its check mark at start.
enum class Absent { Off, On };

struct OptionRule {
    const char* setting;
    Absent absent; // Off: checked only when "Yes"; On: checked unless "No"
};

constexpr OptionRule optionRules[] = {
    {"Console", Absent::Off},
    {"DeviceWarnings", Absent::Off},
    {"CompatibilityWarnings", Absent::On},
    {"RightClickSelect", Absent::On},
    {"GRTestBeforeSend", Absent::On},
    {"VirtualDevice", Absent::On},
    {"LiveEdit", Absent::Off},
    {"SnapshotBeforeSend", Absent::On},
    {"VerifyAfterSend", Absent::On},
};

} // namespace

QAction* TFormMain::command(QMenu* menu, const char* name, const char* caption,
                            void (TFormMain::*handler)()) {
    auto* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, handler] { runCommand(handler); });
    return action;
}

QAction* TFormMain::option(QMenu* menu, const char* name, const char* caption,
                           const char* setting) {
    auto* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(name);
    action->setCheckable(true);
    action->setProperty("setting", setting);
    connect(action, &QAction::triggered, this, [setting](bool checked) {
        RunHandler([&] { WriteSetting(setting, checked ? "Yes" : "No"); });
    });
    return action;
}

void TFormMain::setOptionMarks() {
    const auto actions = findChildren<QAction*>();
    for (QAction* action : actions) {
        QByteArray setting = action->property("setting").toByteArray();
        if (setting.isEmpty()) continue;
        for (const OptionRule& rule : optionRules) {
            if (setting != rule.setting) continue;
            bool checked = rule.absent == Absent::Off ? Settings().IsYes(rule.setting)
                                                      : !Settings().IsNo(rule.setting);
            action->setChecked(checked);
        }
    }
}

void TFormMain::createMainMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    QMenu* collection = bar->addMenu("Patch Collection");
    collection->setObjectName("Collection1");
    command(collection, "LoadCollection", "Load...", &TFormMain::LoadCollectionClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    command(collection, "SaveCollection", "Save As...", &TFormMain::SaveCollectionClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    collection->addSeparator();
    command(collection, "ReceiveCollection1", "Receive", &TFormMain::ReceiveCollection1Click);
    command(collection, "SendCollection1", "Send", &TFormMain::SendCollection1Click);
    resumeItem_ =
        command(collection, "ResumeReceive1", "Resume Receive", &TFormMain::ResumeReceive1Click);
    resumeItem_->setEnabled(false);
    createRecentMenu(collection);
    // Ctrl+Q closes the window as its close box does, save question included.
    auto* quit = new QAction(this);
    quit->setObjectName("Quit1");
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &QWidget::close);
    addAction(quit);

    QMenu* patch = bar->addMenu("Selected Patch");
    patch->setObjectName("Patch1");
    command(patch, "LoadPatch1", "Load...", &TFormMain::LoadPatch1Click);
    command(patch, "SaveAsPatch1", "Save As...", &TFormMain::SaveAsPatch1Click);
    patch->addSeparator();
    command(patch, "ReceivePatch1", "Receive", &TFormMain::ReceivePatch1Click);
    command(patch, "SendPatch1", "Send", &TFormMain::SendPatch1Click);
    patch->addSeparator();
    command(patch, "EditPatch1", "Edit", &TFormMain::EditPatch1Click);
    patch->addSeparator();
    command(patch, "CutPatch1", "Cut", &TFormMain::CutPatch1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    command(patch, "CopyPatch1", "Copy", &TFormMain::CopyPatch1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    command(patch, "ComparePatch1", "Compare With Temporary Patch", &TFormMain::ComparePatch1Click);

    temporaryMenu_ = bar->addMenu("Temporary Patch ()");
    temporaryMenu_->setObjectName("Temporary1");
    command(temporaryMenu_, "LoadTmpPatch1", "Load...", &TFormMain::LoadTmpPatch1Click);
    tempItems_.push_back(
        command(temporaryMenu_, "SaveAsTmpPatch1", "Save As..", &TFormMain::SaveAsTmpPatch1Click));
    temporaryMenu_->addSeparator();
    command(temporaryMenu_, "ReceiveTmpPatch1", "Receive", &TFormMain::ReceiveTmpPatch1Click);
    tempItems_.push_back(
        command(temporaryMenu_, "SendTmpPatch1", "Send", &TFormMain::SendTmpPatch1Click));
    temporaryMenu_->addSeparator();
    tempItems_.push_back(
        command(temporaryMenu_, "EditTmpPatch1", "Edit", &TFormMain::EditTmpPatch1Click));
    temporaryMenu_->addSeparator();
    QAction* over = command(temporaryMenu_, "PasteTmpPatchOver1", "Paste-Over",
                            &TFormMain::PasteTmpPatchOver1Click);
    over->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    QAction* insert = command(temporaryMenu_, "PasteTmpPatchInsert1", "Paste-Insert",
                              &TFormMain::PasteTmpPatchInsert1Click);
    insert->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    tempItems_.push_back(over);
    tempItems_.push_back(insert);

    QMenu* options = bar->addMenu("Options");
    options->setObjectName("Options1");
    outMenu_ = options->addMenu("Select MIDI-OUT Port");
    outMenu_->setObjectName("SelectMidiOutPort1");
    inMenu_ = options->addMenu("Select MIDI-IN Port");
    inMenu_->setObjectName("SelectMidiInPort1");
    outGroup_ = new QActionGroup(this);
    inGroup_ = new QActionGroup(this);
    connect(outMenu_, &QMenu::aboutToShow, this,
            [this] { RunHandler([&] { refreshEntries(false); }); });
    connect(inMenu_, &QMenu::aboutToShow, this,
            [this] { RunHandler([&] { refreshEntries(true); }); });
    command(options, "TestIdentity1", "Test MIDI Connection", &TFormMain::TestIdentity1Click);
    command(options, "ImportExportPatch1", "Import/Export Patch",
            &TFormMain::ImportExportPatch1Click);
    options->addSeparator();
    command(options, "SetGridFont1", "Set Patch Grid Font...", &TFormMain::SetGridFont1Click);
    options->addSeparator();
    consoleOption_ = option(options, "ShowMIDIConsole1", "Show MIDI Console...", "Console");
    connect(consoleOption_, &QAction::triggered, this,
            [this] { RunHandler([&] { ShowMIDIConsole1Click(); }); });
    option(options, "DeviceWarnings1", "MIDI Device Warnings", "DeviceWarnings");
    option(options, "CompatibilityWarnings1", "SysEx Compatibility Warnings",
           "CompatibilityWarnings");
    option(options, "RightClickSelect1", "Right Click Select", "RightClickSelect");
    QAction* testOnSend =
        option(options, "GrTestBeforeSend1", "Test Connection On Send", "GRTestBeforeSend");
    connect(testOnSend, &QAction::toggled, this,
            [this](bool on) { collection_.Ports().SetTestBeforeSend(on); });
    option(options, "VirtualDevice1", "Virtual GR-33 Device", "VirtualDevice");
    option(options, "LiveEdit1", "Send Edits Live", "LiveEdit");
    command(options, "MidiLog1", "MIDI Log", &TFormMain::MidiLog1Click);
    options->addSeparator();
    option(options, "SnapshotBeforeSend1", "Snapshot Before Send", "SnapshotBeforeSend");
    option(options, "VerifyAfterSend1", "Verify After Send", "VerifyAfterSend");

    QMenu* library = bar->addMenu("Library");
    library->setObjectName("Library1");
    createLibraryMenu(library);

    QAction* about = bar->addAction("About");
    about->setObjectName("About1");
    connect(about, &QAction::triggered, this, [this] { RunHandler([&] { About1Click(); }); });
}

void TFormMain::ResumeReceiveChanged() {
    resumeItem_->setEnabled(collection_.CanResumeReceive());
}

void TFormMain::createRecentMenu(QMenu* collection) {
    collection->addSeparator();
    recentMenu_ = collection->addMenu("Recent");
    recentMenu_->setObjectName("RecentCollections1");
    // The entries stay for the window's life: one may rewrite the list while it runs.
    for (int k = 1; k <= RecentFileCount; ++k) {
        auto* entry = recentMenu_->addAction(QString());
        entry->setObjectName("Recent" + QString::number(k));
        connect(entry, &QAction::triggered, this, [this, entry] {
            const std::string name = entry->data().toString().toStdString();
            RunHandler([&] { collection_.LoadRecentCollection(name); });
        });
        recentItems_.push_back(entry);
    }
    RecentFilesChanged();
}

void TFormMain::RecentFilesChanged() {
    const auto files = RecentFiles();
    for (std::size_t k = 0; k < recentItems_.size(); ++k) {
        QAction* entry = recentItems_[k];
        entry->setVisible(k < files.size());
        if (k >= files.size()) continue;
        const QString name = QString::fromStdString(files[k]);
        entry->setData(name);
        entry->setText("&" + QString::number(k + 1) + " " + QString(name).replace('&', "&&"));
    }
    recentMenu_->menuAction()->setEnabled(!files.empty());
}

void TFormMain::createPopupMenus() {
    popupPatch_ = new QMenu(this);
    popupPatch_->setObjectName("PopupMenuPatch");
    command(popupPatch_, "PopupLoadPatch", "Load...", &TFormMain::LoadPatch1Click);
    command(popupPatch_, "PopupSaveAsPatch", "Save As...", &TFormMain::SaveAsPatch1Click);
    command(popupPatch_, "PopupReceivePatch", "Receive", &TFormMain::ReceivePatch1Click);
    command(popupPatch_, "PopupSendPatch", "Send", &TFormMain::SendPatch1Click);
    command(popupPatch_, "PopupEditPatch", "Edit", &TFormMain::EditPatch1Click);
    command(popupPatch_, "PopupCutPatch", "Cut", &TFormMain::CutPatch1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    command(popupPatch_, "PopupCopyPatch", "Copy", &TFormMain::CopyPatch1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    popupPatch_->addSeparator();
    QAction* over =
        command(popupPatch_, "PopupPasteOver", "Paste-Over", &TFormMain::PasteTmpPatchOver1Click);
    over->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    QAction* insert = command(popupPatch_, "PopupPasteInsert", "Paste-Insert",
                              &TFormMain::PasteTmpPatchInsert1Click);
    insert->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    tempItems_.push_back(over);
    tempItems_.push_back(insert);
    // The popup's shortcuts are shown only: the main menu's items carry the working ones.
    for (QAction* action : popupPatch_->actions())
        action->setShortcutContext(Qt::WidgetShortcut);

    popupCollection_ = new QMenu(this);
    popupCollection_->setObjectName("PopupMenuCollection");
    command(popupCollection_, "PopupLoadCollection", "Collection: Load...",
            &TFormMain::LoadCollectionClick);
    command(popupCollection_, "PopupSaveCollection", "Collection: Save As...",
            &TFormMain::SaveCollectionClick);
    command(popupCollection_, "PopupReceiveCollection", "Collection: Receive",
            &TFormMain::ReceiveCollection1Click);
    command(popupCollection_, "PopupSendCollection", "Collection: Send",
            &TFormMain::SendCollection1Click);

    for (QAction* item : tempItems_)
        item->setEnabled(false);
    gridPopup_ = popupPatch_;
}

bool TFormMain::LiveEdit() const {
    return Settings().IsYes("LiveEdit");
}
