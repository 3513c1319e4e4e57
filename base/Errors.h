#pragma once
// Exception classes of KelvoLight. Every failure carries the text the user will read; the
// window layer shows it in a message box (see MessageText) and nothing else is caught broadly.

#include <stdexcept>
#include <string>

// Patch, file and protocol errors, and the base of the MIDI errors.
class EKelvoError : public std::runtime_error {
public:
    explicit EKelvoError(const std::string& message) : std::runtime_error(message) {}
};

// Failures of a MIDI input port (opening, capturing, closing).
class EMidiIn : public EKelvoError {
public:
    using EKelvoError::EKelvoError;
};

// Failures of a MIDI output port used for SysEx.
class EMidiOut : public EKelvoError {
public:
    using EKelvoError::EKelvoError;
};

// Failures of the short-message output and of the note conversions.
class EMidiException : public EKelvoError {
public:
    using EKelvoError::EKelvoError;
};

// The text an error message box shows: a full stop is appended when the last character sorts
// after "." (so "Illegal patch data format" gains one, "Patch (A11) is empty!" does not).
std::string MessageText(const std::string& message);
