// The two port menus of the "Options" menu, the ports they choose for the collection and the
// connection test that runs when a port is chosen. Both menus list the ports again each time
// they open, so a device plugged in after start shows up; the chosen port is followed by its
// name.

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

void showWarning(const std::string& text) {
    Prompts().ShowMessage(text);
}

std::string portName(const QAction* entry) {
    return entry->property("portName").toString().toStdString();
}

// The entries as the menu holds them.
std::vector<PortEntry> listed(const QActionGroup* group) {
    std::vector<PortEntry> entries;
    for (const QAction* action : group->actions())
        entries.push_back({action->text().toStdString(), portName(action), action->data().toInt()});
    return entries;
}

} // namespace

void TFormMain::setEntries(QMenu* menu, QActionGroup* group, const std::vector<PortEntry>& entries,
                           const char* namePrefix, void (TFormMain::*handler)(QAction*)) {
    // The actions that exist are relabelled rather than replaced: the menu is rebuilt while it
    // opens, and an entry the pointer is on must stay the same object.
    const auto actions = group->actions();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        QAction* action = nullptr;
        if (i < static_cast<std::size_t>(actions.size())) {
            action = actions[static_cast<qsizetype>(i)];
        } else {
            action = menu->addAction(QString());
            action->setObjectName(QString("%1%2").arg(namePrefix).arg(i));
            action->setCheckable(true);
            group->addAction(action);
            connect(action, &QAction::triggered, this,
                    [this, action, handler] { RunHandler([&] { (this->*handler)(action); }); });
        }
        // "&" would otherwise turn into a keyboard accelerator and vanish from the caption.
        action->setText(QString::fromStdString(entries[i].caption).replace('&', "&&"));
        action->setData(entries[i].device);
        action->setProperty("portName", QString::fromStdString(entries[i].name));
    }
    for (qsizetype i = static_cast<qsizetype>(entries.size()); i < actions.size(); ++i) {
        group->removeAction(actions[i]);
        menu->removeAction(actions[i]);
        actions[i]->deleteLater();
    }
}

void TFormMain::buildInputMenu() {
    setEntries(inMenu_, inGroup_, ListInputPorts(showWarning), "MidiInEntry",
               &TFormMain::MidiInEntryClick);
    if (inGroup_->actions().isEmpty()) Prompts().ShowMessage("No MIDI-IN port found");
}

void TFormMain::restoreInputEntry() {
    const auto entries = listed(inGroup_);
    if (entries.empty()) return;
    const int entry = RestoredEntry(entries, ReadSetting("MidiInName"), ReadSetting("MidiInEntry"));
    MidiInEntryClick(inGroup_->actions()[entry]);
}

void TFormMain::buildOutputMenu() {
    setEntries(outMenu_, outGroup_, ListOutputPorts(showWarning), "MidiOutEntry",
               &TFormMain::MidiOutEntryClick);
}

void TFormMain::restoreOutputEntry() {
    const auto entries = listed(outGroup_);
    if (entries.empty()) {
        Prompts().ShowMessage("No MIDI-OUT port found");
        return;
    }
    const int entry =
        RestoredEntry(entries, ReadSetting("MidiOutName"), ReadSetting("MidiOutEntry"));
    MidiOutEntryClick(outGroup_->actions()[entry]);
}

void TFormMain::refreshEntries(bool input) {
    QActionGroup* group = input ? inGroup_ : outGroup_;
    const auto entries = input ? ListInputPorts(nullptr) : ListOutputPorts(nullptr);
    if (input)
        setEntries(inMenu_, inGroup_, entries, "MidiInEntry", &TFormMain::MidiInEntryClick);
    else
        setEntries(outMenu_, outGroup_, entries, "MidiOutEntry", &TFormMain::MidiOutEntryClick);
    // The chosen port stays chosen at its new place. One that is gone leaves the port unset
    // (nothing checked), and is chosen again once it is back; no connection test either way.
    const std::optional<std::string>& chosen = input ? chosenIn_ : chosenOut_;
    if (!chosen) return;
    const int found = EntryNamed(entries, *chosen);
    const auto actions = group->actions();
    for (qsizetype i = 0; i < actions.size(); ++i)
        actions[i]->setChecked(i == found);
    PortChoice& ports = collection_.Ports();
    const int device = found < 0 ? PortChoice::Unset : entries[found].device;
    if (input)
        ports.ChooseIn(device);
    else
        ports.ChooseOut(device);
    if (found < 0) return;
    const char* setting = input ? "MidiInEntry" : "MidiOutEntry";
    if (ReadSetting(setting) != std::to_string(found)) WriteSetting(setting, std::to_string(found));
}

void TFormMain::MidiInEntryClick(QAction* entry) {
    collection_.Ports().ChooseIn(entry->data().toInt());
    chosenIn_ = portName(entry);
    entryChosen(inGroup_, entry, "MidiInEntry", "MidiInName");
}

void TFormMain::MidiOutEntryClick(QAction* entry) {
    collection_.Ports().ChooseOut(entry->data().toInt());
    chosenOut_ = portName(entry);
    entryChosen(outGroup_, entry, "MidiOutEntry", "MidiOutName");
}

void TFormMain::entryChosen(QActionGroup* group, QAction* entry, const char* entrySetting,
                            const char* nameSetting) {
    entry->setChecked(true);
    WriteSetting(entrySetting, std::to_string(group->actions().indexOf(entry)));
    WriteSetting(nameSetting, portName(entry));
    if (portTestArmed_) TestIdentity1Click();
}

void TFormMain::TestIdentity1Click() {
    BusyCursor busy;
    auto [out, in] = collection_.Ports().Both();
    for (const auto& text : DeviceAnswerTexts(TestDevice(out, in)))
        Prompts().ShowMessage(text);
}
