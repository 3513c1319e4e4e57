#include "midi/RtOutputPort.h"

#include "base/Errors.h"
#include "midi/JackSendState.h"

namespace rtbackend {

namespace {
const char* const SendFailed = "Unable to send data to open midi-out device";
}

OutLink::OutLink(RtMidi::Api api, std::shared_ptr<ServerHealth> serverHealth)
    : SendingLink(std::move(serverHealth)), client(std::make_shared<OutClient>()) {
    client->midi = ConstructQuietly<RtMidiOut>(api);
    client->midi->setErrorCallback(&ErrorSink::Collect, &client->errors);
}

void RtOutputPort::Send(std::span<const std::uint8_t> message) {
    if (!link_) throw EMidiOut(SendFailed);
    const auto& gate = link_->gate;
    if (gate && (!gate->WaitUntilOpen() || gate->Watch().Gone())) throw EMidiOut(SendFailed);
    bool failed = false;
    {
        std::lock_guard lock(link_->midiMutex);
        auto& errors = link_->Errors();
        errors.Reset();
        link_->SendMessage(message);
        failed = errors.Failed() || errors.Warned();
        link_->lastSend = link_->lastUse = Clock::now();
        if (gate) link_->lastSendCycle = gate->Watch().Count();
        link_->sent = true;
    }
    if (failed) throw EMidiOut(SendFailed);
}

SendState RtOutputPort::Progress(bool mindDrops) {
    if (!link_) return SendState::Failed;
    const auto& gate = link_->gate;
    if (!gate) return SendState::Done;
    if (gate->Watch().Gone()) return SendState::Failed;
    std::lock_guard lock(link_->midiMutex);
    return JackSendState(gate->Watch(), link_->lastSendCycle, mindDrops,
                         [this] { return link_->StillConnected(); });
}

void RtOutputPort::release() {
    if (!link_) return;
    link_->Release();
    link_.reset();
}

} // namespace rtbackend
