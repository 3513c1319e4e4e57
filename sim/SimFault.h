#pragma once
// The ways the simulated GR-33 can be told to misbehave, for tests of the error paths.

#include <optional>
#include <string>
#include <vector>

enum class FaultKind {
    Silent,        // no reply at all
    Late,          // the reply comes 1.5 s later than it would
    WrongAddress,  // the data reply carries the address of the next patch
    BadChecksum,   // the data reply's checksum byte is off by one
    Truncated,     // the data reply is cut after its 100th byte and closed with F7
    Noise,         // a note-on and an active-sensing byte go out before the reply
    IdentityExtra, // the identity reply has one more byte before its F7
    IgnoreWrite,   // a data message is accepted, but the patch keeps its old bytes
    CorruptWrite,  // a data message is stored with its first data byte changed
};

struct Fault {
    FaultKind kind = FaultKind::Silent;
    // The patch number (0 the temporary patch) whose requests the fault is limited to; nothing
    // for every request, the identity request included.
    std::optional<int> patch;
    bool operator==(const Fault&) const = default;
};

// "silent", "late", "wrong-address", "bad-checksum", "truncated", "noise", "identity-extra",
// "ignore-write", "corrupt-write".
std::string FaultKindName(FaultKind kind);
std::optional<FaultKind> FaultKindOfName(const std::string& name);

// Parses "KIND" or "KIND@LABEL" (LABEL A11 .. D84 or "temp", case-insensitive). Nothing for an
// unknown kind or label, and for identity-extra with a label (no patch is asked for there).
std::optional<Fault> ParseFault(const std::string& text);

// Whether any of the faults of that kind applies to a request for (or a data message to) the
// patch; nothing asks for the identity request.
bool HasFault(const std::vector<Fault>& faults, FaultKind kind, std::optional<int> patch);
