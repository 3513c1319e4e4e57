#pragma once
// The RtMidi backend's output side: a client with its connection, and the ports borrowing it.

#include "midi/Port.h"
#include "midi/RtLink.h"

#include <memory>
#include <span>

namespace rtbackend {

// An output client. Its error sink lives with it, so an abandoned client's thread never
// reports into a link that is gone.
struct OutClient {
    ErrorSink errors;
    std::unique_ptr<RtMidiOut> midi;
};

// A link whose client sends.
struct SendingLink : Link {
    using Link::Link;
    // Hands one message to the client. The caller holds midiMutex.
    virtual void SendMessage(std::span<const std::uint8_t> message) = 0;
};

struct OutLink : SendingLink {
    OutLink(RtMidi::Api api, std::shared_ptr<ServerHealth> serverHealth);
    ~OutLink() override { End(); }
    void SendMessage(std::span<const std::uint8_t> message) override {
        client->midi->sendMessage(message.data(), message.size());
    }
    RtMidi& Midi() override { return *client->midi; }
    std::shared_ptr<void> Client() override { return client; }
    std::shared_ptr<void> TakeClient() override { return std::move(client); }
    ErrorSink& Errors() override { return client->errors; }

    std::shared_ptr<OutClient> client;
};

class RtOutputPort : public MidiOutputPort {
public:
    explicit RtOutputPort(std::shared_ptr<SendingLink> link) : link_(std::move(link)) {}
    ~RtOutputPort() override { release(); }

    // RtMidi reports a message it could not queue (its JACK queue full, say) only as a warning;
    // either kind of report fails the send. On JACK the message is in the server's hands only
    // once the connection is part of its graph, which a stopped server never gets to.
    void Send(std::span<const std::uint8_t> message) override;
    // Done at once where the server is not watched; on JACK as JackSendState tells.
    SendState Progress(bool mindDrops) override;
    // Leaves the connection open, so a message still queued on its way out is delivered.
    void Close() override { release(); }

private:
    void release();

    std::shared_ptr<SendingLink> link_;
};

} // namespace rtbackend
