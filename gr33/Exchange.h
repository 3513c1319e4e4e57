#pragma once
// Exchanges with the GR-33: the identity test. Fetching and sending one patch are TPatch's
// ReceiveFromDevice and SendToDevice (gr33/Patch.h), implemented beside these in Exchange.cpp.
// Every exchange opens its ports (input before anything is sent) and closes them again on
// every path, holding the MIDI-OUT turn (TakeMidiOutTurn) while they are open.

#include <functional>
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
// The identity test before an exchange that needs the device: raises DeviceNotFoundText unless
// the device answered. A communication error is first handed to `warn` as
// CommunicationErrorText, so the window shows the warning and then the error.
void RequireDevice(int outDevice, int inDevice,
                   const std::function<void(const std::string&)>& warn);
// What a window shows for an answer, in order: CommunicationErrorText after a communication
// error, then DeviceFoundText or DeviceNotFoundText.
std::vector<std::string> DeviceAnswerTexts(DeviceAnswer answer);
