#pragma once
// Conversions between key numbers, note names ("A 5"), octave/semitone pairs and frequencies
// in this system's tuning: key 0 is 8.1765625 Hz, an octave doubles, a semitone is the factor
// 1.059452101. Key 60 is "C 5" (261.65 Hz), key 69 "A 5" (440 Hz). Plus four channel messages
// through a TMidiSender.

#include <cstdint>
#include <string>

class TMidiSender;

struct TNote {
    std::uint8_t Octave = 0;
    std::uint8_t Semitone = 0; // 0..11
    bool operator==(const TNote&) const = default;
};

TNote KeyToNote(std::uint8_t key);
// Raises EMidiException "Note cannot be mapped into a key" outside keys 0..127 (a negative
// octave included).
std::uint8_t NoteToKey(int octave, int semitone);
double NoteToFrequency(int octave, int semitone);
double KeyToFrequency(std::uint8_t key);
// Nearest key, ties to even. Raises EMidiException "Frequency cannot be mapped into a key"
// below key 0 (and for 0, negative or NaN frequencies); std::out_of_range above key 255.
std::uint8_t FrequencyToKey(double hz);
std::string NoteName(int octave, int semitone);
std::string KeyToNoteName(std::uint8_t key);
// Case-insensitive; "H" is read as "B". Raises EMidiException "Illegal Note Format" or
// "Note cannot be mapped into a key".
std::uint8_t NoteNameToKey(const std::string& text);

void SendNoteOff(TMidiSender& sender, std::uint8_t channel, std::uint8_t key,
                 std::uint8_t velocity);
void SendNoteOn(TMidiSender& sender, std::uint8_t channel, std::uint8_t key, std::uint8_t velocity);
void SendAllSoundOff(TMidiSender& sender, std::uint8_t channel);
void SendProgramChange(TMidiSender& sender, std::uint8_t channel, std::uint8_t program);
