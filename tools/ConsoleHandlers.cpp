// The console window's handlers: the key in its three forms, the play buttons, Panic,
// Program Change and the two switches.
#include "tools/ConsoleFrm.h"

#include "controls/IBar.h"
#include "controls/ValueText.h"
#include "midi/MidiOutSysEx.h"
#include "midi/NoteConversion.h"
#include "model/LibrarianHost.h"
#include "qtcommon/RunHandler.h"
#include "tools/ConsoleText.h"
#include "tools/UpDown.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace {

// A bar value as a MIDI data byte: nearest integer (ties to even), kept within 0..127 so that a
// value typed into the bar's dialog can never put a status byte on the wire.
std::uint8_t dataByte(float value) {
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(value), 0.0f, 127.0f));
}

constexpr std::array<int, 1> NoteOffsets{0};
constexpr std::array<int, 3> ChordOffsets{0, 4, 7}; // root, major third, fifth

} // namespace

std::uint8_t TFormConsole::Key() const {
    return dataByte(IBarKey->Value());
}

std::uint8_t TFormConsole::Velocity() const {
    return dataByte(IBarVelosity->Value());
}

int TFormConsole::Channel() const {
    return UpDownChannel->Position();
}

void TFormConsole::ShowKey() {
    const std::uint8_t key = Key();
    EditFreq->setText(QString::fromStdString(FrequencyText(key)));
    EditKey->setText(QString::fromStdString(KeyToNoteName(key)));
    UpDownKey->SetPosition(key);
}

void TFormConsole::IBarKeyChange() {
    const float value = IBarKey->Value();
    if (value < 0 || value > 127) {
        // Only the bar's value dialog can go beyond the keys; bring the bar back to the key the
        // fields will show (that change runs this handler again).
        IBarKey->SetValue(std::clamp(value, 0.0f, 127.0f));
        return;
    }
    ShowKey();
}

void TFormConsole::UpDownKeyClick(TUDBtnType button) {
    const int key = Key();
    if (button == TUDBtnType::btNext && key < 127)
        IBarKey->SetValue(static_cast<float>(key + 1));
    else if (button == TUDBtnType::btPrev && key > 0)
        IBarKey->SetValue(static_cast<float>(key - 1));
}

void TFormConsole::EditKeyExit() {
    std::uint8_t key = 0;
    try {
        key = NoteNameToKey(EditKey->text().toStdString());
    } catch (const std::exception&) {
        // An entry that names no key is put back without a word.
        EditKey->setText(QString::fromStdString(KeyToNoteName(Key())));
        return;
    }
    IBarKey->SetValue(key);
}

void TFormConsole::RestoreFrequency() {
    EditFreq->setText(QString::fromStdString(FrequencyText(Key())));
}

void TFormConsole::EditFreqExit() {
    const std::optional<float> hz = ParseValue(EditFreq->text().toStdString());
    if (!hz) return RestoreFrequency();
    std::uint8_t key = 0;
    try {
        key = FrequencyToKey(*hz);
    } catch (const std::exception&) {
        return RestoreFrequency();
    }
    // Frequencies above key 127 name no MIDI key either.
    if (key > 127) return RestoreFrequency();
    IBarKey->SetValue(key);
}

void TFormConsole::PlayDown(std::span<const int> offsets) {
    std::vector<int> keys;
    for (int offset : offsets)
        keys.push_back(Key() + offset);
    player_.Press(host_.SelectedMidiOut(), static_cast<std::uint8_t>(Channel() - 1), keys,
                  Velocity());
}

void TFormConsole::PlayUp() {
    player_.Release(Velocity());
}

void TFormConsole::ButtonPlayNoteMouseDown() {
    PlayDown(NoteOffsets);
}

void TFormConsole::ButtonPlayNoteMouseUp() {
    PlayUp();
}

void TFormConsole::ButtonPlayChordMouseDown() {
    PlayDown(ChordOffsets);
}

void TFormConsole::ButtonPlayChordMouseUp() {
    PlayUp();
}

void TFormConsole::ButtonPanicClick() {
    ButtonPanic->setEnabled(false);
    auto enable = qScopeGuard([this] { ButtonPanic->setEnabled(true); });
    TMidiSender sender(host_.SelectedMidiOut());
    for (std::uint8_t channel = 0; channel < 16; ++channel)
        SendAllSoundOff(sender, channel);
    sender.Close();
}

void TFormConsole::ButtonPCClick() {
    ButtonPC->setEnabled(false);
    auto enable = qScopeGuard([this] { ButtonPC->setEnabled(true); });
    const int program = host_.SelectedPatch() - 1;
    if (program < 0 || program > 127) throw std::out_of_range("Range check error");
    TMidiSender sender(host_.SelectedMidiOut());
    SendProgramChange(sender, static_cast<std::uint8_t>(Channel() - 1),
                      static_cast<std::uint8_t>(program));
    sender.Close();
}

void TFormConsole::CheckBoxStayOnTopClick() {
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, CheckBoxStayOnTop->isChecked());
    // Changing the window's flags hides it; a shown console stays shown.
    if (visible) show();
}

void TFormConsole::CheckBoxPolyClick() {
    ButtonPlayChord->setEnabled(CheckBoxPoly->isChecked());
}

bool TFormConsole::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (watched == EditKey || watched == EditFreq) {
        auto exit = [&] {
            RunHandler([&] { watched == EditKey ? EditKeyExit() : EditFreqExit(); });
        };
        if (type == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                exit();
                return true; // swallowed
            }
        } else if (type == QEvent::FocusOut) {
            // Leaving the field, not switching to another application or opening its menu.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) exit();
        }
        return false;
    }
    if (watched == ButtonPlayNote || watched == ButtonPlayChord) {
        const bool down = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
        const bool up = type == QEvent::MouseButtonRelease;
        if ((down || up) && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
            static_cast<QWidget*>(watched)->isEnabled()) {
            const bool note = watched == ButtonPlayNote;
            RunHandler([&] {
                if (down)
                    note ? ButtonPlayNoteMouseDown() : ButtonPlayChordMouseDown();
                else
                    note ? ButtonPlayNoteMouseUp() : ButtonPlayChordMouseUp();
            });
        }
        return false; // the button still shows itself pressed and released
    }
    return QWidget::eventFilter(watched, event);
}
