#include "sim/VirtualGr33.h"

#include "base/Errors.h"
#include "base/UserFolders.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <utility>
#include <vector>

struct VirtualGr33::Listeners {
    std::mutex mutex; // held while a handler runs, so a closed port is never called
    std::vector<std::pair<int, MidiMessageHandler>> handlers;
    int nextId = 0;

    void deliver(std::span<const std::uint8_t> message) {
        std::lock_guard lock(mutex);
        for (auto& [id, handler] : handlers)
            handler(message);
    }
};

namespace {

class VirtualOutput : public MidiOutputPort {
public:
    explicit VirtualOutput(std::shared_ptr<DeviceRunner> runner) : runner_(std::move(runner)) {}
    void Send(std::span<const std::uint8_t> message) override { runner_->Post(message); }

private:
    std::shared_ptr<DeviceRunner> runner_;
};

class VirtualInput : public MidiInputPort {
public:
    VirtualInput(std::shared_ptr<VirtualGr33::Listeners> listeners, MidiMessageHandler handler)
        : listeners_(std::move(listeners)) {
        std::lock_guard lock(listeners_->mutex);
        id_ = listeners_->nextId++;
        listeners_->handlers.emplace_back(id_, std::move(handler));
    }
    ~VirtualInput() override { Close(); }
    // After it returns the handler is not called again, even by a delivery under way.
    void Close() override {
        std::lock_guard lock(listeners_->mutex);
        std::erase_if(listeners_->handlers, [this](const auto& h) { return h.first == id_; });
    }

private:
    std::shared_ptr<VirtualGr33::Listeners> listeners_;
    int id_ = 0;
};

std::vector<MidiPortInfo> onePort() {
    return {{VirtualGr33PortName, TMidiTechnology::mtMidiPort}};
}

} // namespace

VirtualGr33::VirtualGr33(std::unique_ptr<Gr33Device> device)
    : listeners_(std::make_shared<Listeners>()) {
    runner_ = std::make_shared<DeviceRunner>(
        std::move(device),
        [listeners = listeners_](std::span<const std::uint8_t> m) { listeners->deliver(m); });
}

VirtualGr33::~VirtualGr33() = default;

std::vector<MidiPortInfo> VirtualGr33::InputPorts() {
    return onePort();
}

std::vector<MidiPortInfo> VirtualGr33::OutputPorts() {
    return onePort();
}

std::unique_ptr<MidiOutputPort> VirtualGr33::OpenOutput(int index) {
    if (index != 0) throw EMidiOut("Unable to open midi-out device");
    return std::make_unique<VirtualOutput>(runner_);
}

std::unique_ptr<MidiInputPort> VirtualGr33::OpenInput(int index, MidiMessageHandler handler) {
    if (index != 0) throw EMidiIn("Unable to open midi-in device");
    return std::make_unique<VirtualInput>(listeners_, std::move(handler));
}

void VirtualGr33::Inspect(const std::function<void(const Gr33Device&)>& f) const {
    runner_->Inspect(f);
}

std::unique_ptr<VirtualGr33> CreateVirtualGr33(const std::string& bankFile, DeviceOptions options) {
    auto bank = std::make_unique<SimBank>(bankFile);
    return std::make_unique<VirtualGr33>(
        std::make_unique<Gr33Device>(std::move(bank), std::move(options)));
}

std::string DefaultVirtualBankPath() {
    return (std::filesystem::path(UserDataFolder()) / "virtual-gr33.G33").string();
}
