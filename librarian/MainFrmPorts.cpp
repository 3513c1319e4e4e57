// The two port menus of the "Options" menu, the selected device numbers and the connection
// test that runs when a port is chosen.

#include "librarian/MainFrm.h"

#include "base/Dialogs.h"
#include "base/Errors.h"
#include "gr33/Exchange.h"
#include "model/PortList.h"
#include "model/Settings.h"
#include "qtcommon/BusyCursor.h"
#include "qtcommon/RunHandler.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace {

void addEntries(QMenu* menu, QActionGroup* group, const std::vector<PortEntry>& entries,
                const char* namePrefix) {
    int position = 0;
    for (const PortEntry& entry : entries) {
        // "&" would otherwise turn into a keyboard accelerator and vanish from the caption.
        QString caption = QString::fromStdString(entry.caption).replace('&', "&&");
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString("%1%2").arg(namePrefix).arg(position++));
        action->setCheckable(true);
        group->addAction(action);
    }
}

int checkedDevice(QActionGroup* group, const char* noneText) {
    QAction* checked = group->checkedAction();
    if (!checked) throw EKelvoError(noneText);
    int device = DeviceOfCaption(checked->text().toStdString());
    if (device < 0) throw EKelvoError(noneText);
    return device;
}

void showWarning(const std::string& text) {
    Prompts().ShowMessage(text);
}

} // namespace

void TFormMain::buildInputMenu() {
    addEntries(inMenu_, inGroup_, ListInputPorts(showWarning), "MidiInEntry");
    const auto entries = inGroup_->actions();
    for (QAction* entry : entries)
        connect(entry, &QAction::triggered, this,
                [this, entry] { RunHandler([&] { MidiInEntryClick(entry); }); });
    if (entries.isEmpty()) Prompts().ShowMessage("No MIDI-IN port found");
}

void TFormMain::restoreInputEntry() {
    const auto entries = inGroup_->actions();
    if (entries.isEmpty()) return;
    MidiInEntryClick(entries[RestoredEntry(ReadSetting("MidiInEntry"), entries.size())]);
}

void TFormMain::buildOutputMenu() {
    addEntries(outMenu_, outGroup_, ListOutputPorts(showWarning), "MidiOutEntry");
    const auto entries = outGroup_->actions();
    for (QAction* entry : entries)
        connect(entry, &QAction::triggered, this,
                [this, entry] { RunHandler([&] { MidiOutEntryClick(entry); }); });
}

void TFormMain::restoreOutputEntry() {
    const auto entries = outGroup_->actions();
    if (entries.isEmpty()) {
        Prompts().ShowMessage("No MIDI-OUT port found");
        return;
    }
    MidiOutEntryClick(entries[RestoredEntry(ReadSetting("MidiOutEntry"), entries.size())]);
}

void TFormMain::MidiInEntryClick(QAction* entry) {
    entryChosen(inGroup_, entry, "MidiInEntry");
}

void TFormMain::MidiOutEntryClick(QAction* entry) {
    entryChosen(outGroup_, entry, "MidiOutEntry");
}

void TFormMain::entryChosen(QActionGroup* group, QAction* entry, const char* setting) {
    entry->setChecked(true);
    WriteSetting(setting, std::to_string(group->actions().indexOf(entry)));
    if (portTestArmed_) TestIdentity1Click();
}

int TFormMain::SelectedMidiOut() {
    return checkedDevice(outGroup_, "No midi-out device found");
}

int TFormMain::SelectedMidiIn() {
    return checkedDevice(inGroup_, "No midi-in device found");
}

void TFormMain::TestIdentity1Click() {
    BusyCursor busy;
    int in = SelectedMidiIn();
    int out = SelectedMidiOut();
    TestDevice(out, in);
}
