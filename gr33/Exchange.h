#pragma once
// Exchanges with the GR-33: the identity test. Fetching and sending one patch are TPatch's
// ReceiveFromDevice and SendToDevice (gr33/Patch.h), implemented beside these in Exchange.cpp.
// Every exchange opens its ports (input before anything is sent) and closes them again on
// every path.

#include <string>

inline constexpr int PatchReplyTimeoutMs = 1000;
inline constexpr int IdentityReplyTimeoutMs = 1000;
inline constexpr int PatchReplyBufferSize = 512;
inline constexpr int IdentityReplyBufferSize = 16;

inline constexpr const char* DeviceFoundText = "GR-33 found";
inline constexpr const char* DeviceNotFoundText =
    "GR-33 not found (Check MIDI connection, GR-33 must be in \"SYSTEM:BULK LOAD Waiting...\" "
    "mode)";
inline constexpr const char* CommunicationErrorText = "Warning: Communication or device error";

// Sends the identity request and compares the reply byte for byte. Never raises: a failure
// shows CommunicationErrorText through the prompts and gives false.
bool FindDevice(int outDevice, int inDevice);
// FindDevice, then shows DeviceFoundText or DeviceNotFoundText.
void TestDevice(int outDevice, int inDevice);
