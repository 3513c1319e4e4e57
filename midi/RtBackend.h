#pragma once
// The MidiBackend over one RtMidi API: its lists of input and output links, the choice of the
// link a port borrows, and the JACK server's watcher.

#include "midi/CycleGate.h"
#include "midi/Port.h"
#include "midi/RtInputPort.h"
#include "midi/RtOutputPort.h"
#include "midi/RtPortNames.h"

#include <rtmidi/RtMidi.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace rtbackend {

class RtMidiBackend : public MidiBackend {
public:
    explicit RtMidiBackend(RtMidi::Api api) : api_(api) {}

    // False when the client cannot be made or warns when asked for its ports (a JACK client
    // that finds no server). The client is kept.
    bool Answers();

    std::vector<MidiPortInfo> InputPorts() override;
    std::vector<MidiPortInfo> OutputPorts() override;
    std::unique_ptr<MidiOutputPort> OpenOutput(int index) override;
    std::unique_ptr<MidiInputPort> OpenInput(int index, MidiMessageHandler handler) override;

private:
    // The client that lists the ports: the first one, made when there is none yet. The caller
    // holds mutex_.
    template <class L> std::shared_ptr<L> lister(std::vector<std::shared_ptr<L>>& links) {
        if (links.empty()) links.push_back(std::make_shared<L>(api_, health_));
        return links.front();
    }
    template <class L> std::vector<ListedPort> listPorts(std::vector<std::shared_ptr<L>>& links);
    template <class L>
    std::shared_ptr<L> borrow(std::vector<std::shared_ptr<L>>& links, int index,
                              const std::string& portName);
    void renewIfServerLost();
    void follow(const std::string& source);
    std::shared_ptr<CycleGate> cycleWatcher();

    RtMidi::Api api_;
    std::mutex mutex_; // the link lists, the choice of links and the server watcher
    std::shared_ptr<ServerHealth> health_ = std::make_shared<ServerHealth>();
    std::shared_ptr<CycleGate> gate_;
    bool watcherTried_ = false;
    std::vector<std::shared_ptr<InLink>> ins_;
    std::vector<std::shared_ptr<OutLink>> outs_;
};

} // namespace rtbackend
