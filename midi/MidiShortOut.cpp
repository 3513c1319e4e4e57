#include "midi/MidiShortOut.h"

#include "base/Errors.h"
#include "midi/MidiOutSysEx.h"
#include "midi/NoteConversion.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <thread>

namespace {

// The one output port of this facility and the key of the last tone. User-interface thread
// only, hence no lock.
std::unique_ptr<MidiOutputPort>& outputCell() {
    static std::unique_ptr<MidiOutputPort> cell;
    return cell;
}

std::uint8_t lastKey = 0;

int roundToEven(long double value) {
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

void GetMidiSpecs(int device, TMidiSpecs& specs) {
    try {
        GetMidiOutSpecs(device, specs);
    } catch (const EMidiOut&) {
        throw EMidiException("Unable to retrieve device capabilities");
    }
}

int FindSynthOut() {
    // One enumeration for the whole search (the mapper first): it runs on every click.
    const auto devices = MidiOutDeviceList();
    for (std::size_t device = 0; device < devices.size(); ++device)
        if (devices[device].Technology == TMidiTechnology::mtFmSynth ||
            devices[device].Technology == TMidiTechnology::mtSynth)
            return static_cast<int>(device);
    return -1;
}

void OpenShortOut(int device) {
    auto& cell = outputCell();
    if (cell) throw EMidiException("There is already an open midi-out");
    try {
        cell = OpenMidiOutDevice(device);
    } catch (const EMidiOut&) {
        throw EMidiException("Unable to open midi-out device");
    }
}

void CloseShortOut() {
    auto& cell = outputCell();
    if (!cell) throw EMidiException("No open midi-out device");
    try {
        cell->Close();
    } catch (const EKelvoError&) {
        throw EMidiException("Unable to close midi-out device"); // the cell stays present
    }
    cell.reset();
}

void SendShortOut(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    auto& cell = outputCell();
    if (!cell) throw EMidiException("No open midi-out device to send command to");
    const std::array<std::uint8_t, 3> bytes = {status, data1, data2};
    try {
        cell->Send(std::span(bytes).first(ShortMessageLength(status)));
    } catch (const EKelvoError&) {
        throw EMidiException("Unable to send command to open midi-out device");
    }
}

void NoteOffOut(std::uint8_t channel, std::uint8_t key, std::uint8_t velocity) {
    SendShortOut(static_cast<std::uint8_t>(0x80 + channel), key, velocity);
}

void NoteOnOut(std::uint8_t channel, std::uint8_t key, std::uint8_t velocity) {
    SendShortOut(static_cast<std::uint8_t>(0x90 + channel), key, velocity);
}

void ProgramChangeOut(std::uint8_t channel, std::uint8_t program) {
    SendShortOut(static_cast<std::uint8_t>(0xC0 + channel), program, 0);
}

void PitchBendOut(std::uint8_t channel, int value) {
    SendShortOut(static_cast<std::uint8_t>(0xE0 + channel), static_cast<std::uint8_t>(value & 0x7F),
                 static_cast<std::uint8_t>((value >> 7) & 0x7F));
}

void PlayFrequency(std::uint8_t program, double hz) {
    const std::uint8_t key = FrequencyToKey(hz);
    // A key above 127 cannot be played; refuse before anything is sent.
    if (key > 127) throw std::out_of_range("Frequency above key 127");
    lastKey = key;
    const long double f0 = KeyToFrequency(key);
    const long double d = hz - f0;
    int bend = 8192;
    if (d > 0 && key < 127)
        bend = 8192 + roundToEven(d / (KeyToFrequency(key + 1) - f0) * 8192);
    else if (d < 0 && key > 0)
        bend = 8192 - roundToEven(-d / (f0 - KeyToFrequency(key - 1)) * 8192);
    ProgramChangeOut(0, program);
    PitchBendOut(0, bend);
    NoteOnOut(0, key, 127);
}

void StopLastNote() {
    NoteOffOut(0, lastKey, 127);
}

void PlayClick(float distance, float range) {
    const int device = FindSynthOut();
    if (device <= 0) return; // none, or only the mapper
    try {
        OpenShortOut(device);
        try {
            PlayFrequency(1, std::fabs(distance / range * 2000.0) + 440.0);
            Pause(4);
            StopLastNote();
        } catch (...) {
        }
        CloseShortOut();
    } catch (...) {
        // The click is a courtesy; a device that fails must not disturb the drag.
    }
}

void Pause(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
