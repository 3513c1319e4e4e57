#pragma once
// The short-message output: at most one output port open at a time in a process-wide cell,
// channel messages through it, and a short tone on the first internal synthesizer (the bar
// control's click). Used from the user-interface thread only; nothing here is locked.
// Channels are 0..15. Failures raise EMidiException.

#include "midi/MidiDevices.h"

#include <cstdint>

// Raises EMidiException "Unable to retrieve device capabilities".
void GetMidiSpecs(int device, TMidiSpecs& specs);
// The device number of the first internal synthesizer (FM or other) among 0..count, or -1.
int FindSynthOut();

void OpenShortOut(int device);
void CloseShortOut();
void SendShortOut(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

void NoteOnOut(std::uint8_t channel, std::uint8_t key, std::uint8_t velocity);
void NoteOffOut(std::uint8_t channel, std::uint8_t key, std::uint8_t velocity);
void ProgramChangeOut(std::uint8_t channel, std::uint8_t program);
// value 0..16383, centre 8192; sent low seven bits first.
void PitchBendOut(std::uint8_t channel, int value);

// Program change, pitch bend and note on (channel 1, velocity 127) sounding frequency hz as
// the nearest key bent towards it. Raises std::out_of_range for a key above 127.
void PlayFrequency(std::uint8_t program, double hz);
// Note off (channel 1, velocity 127) for the key of the last PlayFrequency.
void StopLastNote();
// A 4 ms tone whose pitch rises from 440 Hz with |distance / range|; silent when no internal
// synthesizer is found. Failures after the search are swallowed.
void PlayClick(float distance, float range);
void Pause(int milliseconds);
