// The two port menus of the "Options" menu, the ports they choose for the collection and the
// connection test that runs when a port is chosen.

#include "librarian/MainFrm.h"

#include "base/Dialogs.h"
#include "gr33/Exchange.h"
#include "model/PortList.h"
#include "model/Settings.h"
#include "qtcommon/BusyCursor.h"
#include "qtcommon/RunHandler.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace {

// Each entry carries its device number; the caption is only shown.
void addEntries(QMenu* menu, QActionGroup* group, const std::vector<PortEntry>& entries,
                const char* namePrefix) {
    int position = 0;
    for (const PortEntry& entry : entries) {
        // "&" would otherwise turn into a keyboard accelerator and vanish from the caption.
        QString caption = QString::fromStdString(entry.caption).replace('&', "&&");
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString("%1%2").arg(namePrefix).arg(position++));
        action->setCheckable(true);
        action->setData(entry.device);
        group->addAction(action);
    }
}

void showWarning(const std::string& text) {
    Prompts().ShowMessage(text);
}

} // namespace

void TFormMain::connectEntries(QActionGroup* group, void (TFormMain::*handler)(QAction*)) {
    const auto entries = group->actions();
    for (QAction* entry : entries)
        connect(entry, &QAction::triggered, this,
                [this, entry, handler] { RunHandler([&] { (this->*handler)(entry); }); });
}

void TFormMain::buildInputMenu() {
    addEntries(inMenu_, inGroup_, ListInputPorts(showWarning), "MidiInEntry");
    connectEntries(inGroup_, &TFormMain::MidiInEntryClick);
    if (inGroup_->actions().isEmpty()) Prompts().ShowMessage("No MIDI-IN port found");
}

void TFormMain::restoreInputEntry() {
    const auto entries = inGroup_->actions();
    if (entries.isEmpty()) return;
    MidiInEntryClick(entries[RestoredEntry(ReadSetting("MidiInEntry"), entries.size())]);
}

void TFormMain::buildOutputMenu() {
    addEntries(outMenu_, outGroup_, ListOutputPorts(showWarning), "MidiOutEntry");
    connectEntries(outGroup_, &TFormMain::MidiOutEntryClick);
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
    collection_.Ports().ChooseIn(entry->data().toInt());
    entryChosen(inGroup_, entry, "MidiInEntry");
}

void TFormMain::MidiOutEntryClick(QAction* entry) {
    collection_.Ports().ChooseOut(entry->data().toInt());
    entryChosen(outGroup_, entry, "MidiOutEntry");
}

void TFormMain::entryChosen(QActionGroup* group, QAction* entry, const char* setting) {
    entry->setChecked(true);
    WriteSetting(setting, std::to_string(group->actions().indexOf(entry)));
    if (portTestArmed_) TestIdentity1Click();
}

void TFormMain::TestIdentity1Click() {
    BusyCursor busy;
    auto [out, in] = collection_.Ports().Both();
    for (const auto& text : DeviceAnswerTexts(TestDevice(out, in)))
        Prompts().ShowMessage(text);
}
