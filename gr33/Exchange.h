#pragma once
// Exchanges with the GR-33: the identity test. Fetching and sending one patch are TPatch's
// ReceiveFromDevice and SendToDevice (gr33/Patch.h), implemented beside these in Exchange.cpp.
// Every exchange opens its ports (input before anything is sent) and closes them again on
// every path.

#include <string>
#include <vector>

inline constexpr int PatchReplyTimeoutMs = 1000;
inline constexpr int IdentityReplyTimeoutMs = 1000;
inline constexpr int PatchReplyBufferSize = 512;
inline constexpr int IdentityReplyBufferSize = 16;

inline constexpr const char* DeviceFoundText = "GR-33 found";
inline constexpr const char* DeviceNotFoundText =
    "GR-33 not found (Check MIDI connection, GR-33 must be in \"SYSTEM:BULK LOAD Waiting...\" "
    "mode)";
inline constexpr const char* CommunicationErrorText = "Warning: Communication or device error";

// What the identity test found.
enum class DeviceAnswer { Found, NotFound, CommunicationError };

// Sends the identity request and compares the reply byte for byte. Never raises and shows
// nothing: a port or device failure is CommunicationError.
DeviceAnswer TestDevice(int outDevice, int inDevice);
// The identity test as yes or no, for the exchanges that need the device before they start: a
// communication error shows CommunicationErrorText through the prompts.
bool FindDevice(int outDevice, int inDevice);
// What a window shows for an answer, in order: CommunicationErrorText after a communication
// error, then DeviceFoundText or DeviceNotFoundText.
std::vector<std::string> DeviceAnswerTexts(DeviceAnswer answer);
