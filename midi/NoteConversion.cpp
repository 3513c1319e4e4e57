#include "midi/NoteConversion.h"

#include "base/Errors.h"
#include "midi/MidiOutSysEx.h"

#include <array>
#include <cctype>
#include <cmath>
#include <stdexcept>

namespace {

constexpr long double BaseFrequency = 8.1765625L;
constexpr long double SemitoneFactor = 1.059452101L;
constexpr long double OctaveFactor = 2.0L;

constexpr std::array<const char*, 12> NoteNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                   "F#", "G",  "G#", "A",  "A#", "B"};

const char* const IllegalNoteFormat = "Illegal Note Format";
const char* const NoteNotMappable = "Note cannot be mapped into a key";
const char* const FrequencyNotMappable = "Frequency cannot be mapped into a key";

// base^exponent as exp(exponent * ln(base)), in extended precision.
long double power(long double base, long double exponent) {
    return std::exp(exponent * std::log(base));
}

// The octave after the blank: leading blanks, an optional sign, digits and nothing else.
bool parseOctave(const std::string& text, long long& octave) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        value = value * 10 + (text[i] - '0'); // at most 10 digits: no overflow
    }
    octave = negative ? -value : value;
    return true;
}

} // namespace

TNote KeyToNote(std::uint8_t key) {
    return {static_cast<std::uint8_t>(key / 12), static_cast<std::uint8_t>(key % 12)};
}

std::uint8_t NoteToKey(int octave, int semitone) {
    long long key = static_cast<long long>(octave) * 12 + semitone;
    if (octave < 0 || key < 0 || key > 127) throw EMidiException(NoteNotMappable);
    return static_cast<std::uint8_t>(key);
}

double NoteToFrequency(int octave, int semitone) {
    return static_cast<double>(power(OctaveFactor, octave) * BaseFrequency *
                               power(SemitoneFactor, semitone));
}

double KeyToFrequency(std::uint8_t key) {
    TNote note = KeyToNote(key);
    return NoteToFrequency(note.Octave, note.Semitone);
}

std::uint8_t FrequencyToKey(double hz) {
    // NaN fails every comparison, so it is caught here too rather than reaching the rounding.
    if (!(hz > 0)) throw EMidiException(FrequencyNotMappable);
    double x = static_cast<double>(std::log(hz / BaseFrequency) / std::log(SemitoneFactor));
    double key = std::nearbyint(x); // default rounding mode: ties to even
    if (key < 0) throw EMidiException(FrequencyNotMappable);
    if (key > 255) throw std::out_of_range("Frequency above key 255");
    return static_cast<std::uint8_t>(key);
}

std::string NoteName(int octave, int semitone) {
    if (semitone < 0 || semitone >= static_cast<int>(NoteNames.size()))
        throw std::out_of_range("Semitone outside 0..11");
    return std::string(NoteNames[static_cast<std::size_t>(semitone)]) + " " +
           std::to_string(octave);
}

std::string KeyToNoteName(std::uint8_t key) {
    TNote note = KeyToNote(key);
    return NoteName(note.Octave, note.Semitone);
}

std::uint8_t NoteNameToKey(const std::string& text) {
    std::string s = text;
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (auto h = s.find('H'); h != std::string::npos) s[h] = 'B';
    auto blank = s.find(' ');
    if (blank == std::string::npos) throw EMidiException(IllegalNoteFormat);
    long long octave = 0;
    if (!parseOctave(s.substr(blank + 1, 10), octave)) throw EMidiException(IllegalNoteFormat);
    std::string name = s.substr(0, blank);
    for (std::size_t semitone = 0; semitone < NoteNames.size(); ++semitone) {
        if (name == NoteNames[semitone]) {
            if (octave < 0 || octave > 127) throw EMidiException(NoteNotMappable);
            return NoteToKey(static_cast<int>(octave), static_cast<int>(semitone));
        }
    }
    throw EMidiException(IllegalNoteFormat);
}

void SendNoteOff(TMidiSender& sender, std::uint8_t channel, std::uint8_t key,
                 std::uint8_t velocity) {
    sender.SendShort(static_cast<std::uint8_t>(0x80 + channel), key, velocity);
}

void SendNoteOn(TMidiSender& sender, std::uint8_t channel, std::uint8_t key,
                std::uint8_t velocity) {
    sender.SendShort(static_cast<std::uint8_t>(0x90 + channel), key, velocity);
}

void SendAllSoundOff(TMidiSender& sender, std::uint8_t channel) {
    sender.SendShort(static_cast<std::uint8_t>(0xB0 + channel), 120, 0);
}

void SendProgramChange(TMidiSender& sender, std::uint8_t channel, std::uint8_t program) {
    sender.SendShort(static_cast<std::uint8_t>(0xC0 + channel), program, 0);
}
