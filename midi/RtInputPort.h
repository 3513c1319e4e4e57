#pragma once
// The RtMidi backend's input side: a client whose connection delivers to the handlers of the
// ports borrowing it, and those ports.

#include "midi/Port.h"
#include "midi/RtLink.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace rtbackend {

// The handlers of the ports borrowing an input connection. RtMidi's thread delivers here, so
// it lives with the client: an abandoned client may still deliver, to no handler.
struct Inbox {
    static void Deliver(double, std::vector<unsigned char>* message, void* user);

    std::mutex mutex;
    std::vector<std::pair<std::uint64_t, MidiMessageHandler>> handlers;
};

struct InClient {
    Inbox inbox; // declared first: the client, and its thread, end before these
    ErrorSink errors;
    std::unique_ptr<RtMidiIn> midi;
};

// Messages go to the handlers of the ports borrowing the connection; with none, they are
// dropped. The handler list has its own lock, never held while calling into RtMidi, so that
// removing a handler waits for a delivery in progress and no delivery starts after it.
struct InLink : Link {
    InLink(RtMidi::Api api, std::shared_ptr<ServerHealth> serverHealth);
    ~InLink() override;
    RtMidi& Midi() override { return *client->midi; }
    std::shared_ptr<void> Client() override { return client; }
    std::shared_ptr<void> TakeClient() override { return std::move(client); }
    ErrorSink& Errors() override { return client->errors; }

    std::uint64_t AddHandler(MidiMessageHandler handler);
    void RemoveHandler(std::uint64_t id);

    std::shared_ptr<InClient> client;
    std::uint64_t lastHandlerId = 0;
};

class RtInputPort : public MidiInputPort {
public:
    RtInputPort(std::shared_ptr<InLink> link, std::uint64_t handler)
        : link_(std::move(link)), handler_(handler) {}
    ~RtInputPort() override { release(); }
    // Taking the handler out cannot fail; the connection stays for the next exchange.
    void Close() override { release(); }

private:
    void release();

    std::shared_ptr<InLink> link_;
    std::uint64_t handler_;
};

} // namespace rtbackend
