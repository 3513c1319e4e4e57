#include "gr33/Exchange.h"

#include "base/Errors.h"
#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"
#include "midi/MidiDevices.h"
#include "midi/MidiInSysEx.h"
#include "midi/MidiOutSysEx.h"

void TPatch::ReceiveFromDevice(int outDevice, int inDevice, int number) {
    const ::Bytes request = RequestMessage(number);
    ::Bytes reply;
    {
        // Declared in this order, the receiver is closed before the sender on every path; the
        // input is capturing before the request goes out.
        const auto turn = TakeMidiOutTurn();
        TMidiSender sender(outDevice);
        TMidiReceiver receiver(inDevice, PatchReplyBufferSize);
        sender.SendSysEx(request);
        if (!receiver.WaitForStream(PatchReplyTimeoutMs, reply))
            throw EKelvoError("Patch (" + PatchLabel(number) +
                              ") not received. Operation aborted.");
        receiver.Close();
        sender.Close();
    }
    // Validated with the ports closed; the record changes only when the whole message is good.
    ByteReader reader(reply);
    ReadSysEx(number, reader);
}

bool TPatch::SendToDevice(int outDevice, int number) const {
    if (IsEmpty()) return false;
    ::Bytes message;
    WriteSysEx(number, message);
    const auto turn = TakeMidiOutTurn();
    TMidiSender sender(outDevice);
    sender.SendSysEx(message, TMidiSender::Repeat::Harmless);
    sender.Close();
    return true;
}

DeviceAnswer TestDevice(int outDevice, int inDevice) {
    try {
        const auto turn = TakeMidiOutTurn();
        TMidiSender sender(outDevice);
        TMidiReceiver receiver(inDevice, IdentityReplyBufferSize);
        sender.SendSysEx(IdentityRequest());
        std::string reply;
        const bool came = receiver.WaitForString(IdentityReplyTimeoutMs, reply);
        receiver.Close();
        sender.Close();
        const Bytes& expected = ExpectedIdentityReply();
        return came && Bytes(reply.begin(), reply.end()) == expected ? DeviceAnswer::Found
                                                                     : DeviceAnswer::NotFound;
    } catch (const std::exception&) {
        // The identity test is the one place that catches everything: it answers in any case.
        return DeviceAnswer::CommunicationError;
    }
}

void RequireDevice(int outDevice, int inDevice,
                   const std::function<void(const std::string&)>& warn) {
    const DeviceAnswer answer = TestDevice(outDevice, inDevice);
    if (answer == DeviceAnswer::CommunicationError) warn(CommunicationErrorText);
    if (answer != DeviceAnswer::Found) throw EKelvoError(DeviceNotFoundText);
}

std::vector<std::string> DeviceAnswerTexts(DeviceAnswer answer) {
    std::vector<std::string> texts;
    if (answer == DeviceAnswer::CommunicationError) texts.push_back(CommunicationErrorText);
    texts.push_back(answer == DeviceAnswer::Found ? DeviceFoundText : DeviceNotFoundText);
    return texts;
}
