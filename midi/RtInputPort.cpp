#include "midi/RtInputPort.h"

#include <span>

namespace rtbackend {

void Inbox::Deliver(double, std::vector<unsigned char>* message, void* user) {
    auto* inbox = static_cast<Inbox*>(user);
    if (!message) return;
    std::lock_guard lock(inbox->mutex);
    for (auto& entry : inbox->handlers)
        entry.second(std::span(*message));
}

InLink::InLink(RtMidi::Api api, std::shared_ptr<ServerHealth> serverHealth)
    : Link(std::move(serverHealth)), client(std::make_shared<InClient>()) {
    client->midi = ConstructQuietly<RtMidiIn>(api);
    client->midi->setErrorCallback(&ErrorSink::Collect, &client->errors);
    client->midi->ignoreTypes(false, true, true); // SysEx in; timing and sensing out
    client->midi->setCallback(&Inbox::Deliver, &client->inbox);
}

InLink::~InLink() {
    {
        std::lock_guard lock(client->inbox.mutex);
        client->inbox.handlers.clear();
    }
    End();
}

std::uint64_t InLink::AddHandler(MidiMessageHandler handler) {
    std::lock_guard lock(client->inbox.mutex);
    client->inbox.handlers.emplace_back(++lastHandlerId, std::move(handler));
    return lastHandlerId;
}

void InLink::RemoveHandler(std::uint64_t id) {
    std::lock_guard lock(client->inbox.mutex);
    std::erase_if(client->inbox.handlers, [id](const auto& entry) { return entry.first == id; });
}

void RtInputPort::release() {
    if (!link_) return;
    link_->RemoveHandler(handler_);
    link_->Release();
    link_.reset();
}

} // namespace rtbackend
