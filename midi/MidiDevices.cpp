#include "midi/MidiDevices.h"

#include "base/Errors.h"
#include "midi/MidiLog.h"

#include <map>
#include <mutex>
#include <optional>

namespace {

const char* const OpenInFailed = "Unable to open midi-in device";
const char* const OpenOutFailed = "Unable to open midi-out device";

struct DeviceList {
    std::mutex mutex;
    std::unique_ptr<MidiBackend> system;
    std::unique_ptr<MidiBackend> virtualDevice;
    // The pins alive, and the port names their device numbers stand for (MidiDevicePin).
    int pins = 0;
    std::map<int, std::string> pinnedIn, pinnedOut;
};

DeviceList& devices() {
    static DeviceList list;
    return list;
}

// One port of the list: its backend, its index there and what the backend says about it.
struct Located {
    MidiBackend* backend = nullptr;
    int index = 0;
    MidiPortInfo info;
};

std::vector<MidiPortInfo> portsOf(MidiBackend* backend, bool input) {
    if (!backend) return {};
    return input ? backend->InputPorts() : backend->OutputPorts();
}

// Device number d (1-based) of the joined list; nothing when d names no port. The caller
// holds the list's lock.
std::optional<Located> locate(DeviceList& list, bool input, int device) {
    if (device < 1) return std::nullopt;
    std::size_t wanted = static_cast<std::size_t>(device - 1);
    for (MidiBackend* backend : {list.system.get(), list.virtualDevice.get()}) {
        auto ports = portsOf(backend, input);
        if (wanted < ports.size())
            return Located{backend, static_cast<int>(wanted), std::move(ports[wanted])};
        wanted -= ports.size();
    }
    return std::nullopt;
}

// The port device number d stands for: while a pin lives, the one it named at its first open
// under the pin, wherever the list holds it now (nothing when it has gone), else the d-th.
std::optional<Located> locatePinned(DeviceList& list, bool input, int device) {
    auto port = locate(list, input, device);
    if (list.pins == 0) return port;
    auto& pinned = input ? list.pinnedIn : list.pinnedOut;
    const auto held = pinned.find(device);
    if (held == pinned.end()) {
        if (port) pinned.emplace(device, port->info.name);
        return port;
    }
    const std::string& name = held->second;
    if (port && port->info.name == name) return port;
    for (MidiBackend* backend : {list.system.get(), list.virtualDevice.get()}) {
        auto ports = portsOf(backend, input);
        for (std::size_t k = 0; k < ports.size(); ++k)
            if (ports[k].name == name) return Located{backend, static_cast<int>(k), ports[k]};
    }
    return std::nullopt;
}

// An output port of the list: what it sends goes to the MIDI log on the way.
class LoggedOutput : public MidiOutputPort {
public:
    LoggedOutput(std::unique_ptr<MidiOutputPort> port, std::string name)
        : port_(std::move(port)), name_(std::move(name)) {}
    void Send(std::span<const std::uint8_t> message) override {
        log_.Note(MidiDirection::Out, name_, message);
        port_->Send(message);
    }
    SendState Progress(bool mindDrops) override { return port_->Progress(mindDrops); }
    void Close() override { port_->Close(); }

private:
    std::unique_ptr<MidiOutputPort> port_;
    std::string name_;
    TMidiLog& log_ = MidiLog();
};

int count(bool input) {
    DeviceList& list = devices();
    std::lock_guard lock(list.mutex);
    return static_cast<int>(portsOf(list.system.get(), input).size() +
                            portsOf(list.virtualDevice.get(), input).size());
}

} // namespace

void InstallMidiBackends(std::unique_ptr<MidiBackend> system,
                         std::unique_ptr<MidiBackend> virtualDevice) {
    DeviceList& list = devices();
    std::lock_guard lock(list.mutex);
    list.system = std::move(system);
    list.virtualDevice = std::move(virtualDevice);
    list.pinnedIn.clear();
    list.pinnedOut.clear();
}

MidiDevicePin::MidiDevicePin() {
    DeviceList& list = devices();
    std::lock_guard lock(list.mutex);
    ++list.pins;
}

MidiDevicePin::~MidiDevicePin() {
    DeviceList& list = devices();
    std::lock_guard lock(list.mutex);
    if (--list.pins == 0) {
        list.pinnedIn.clear();
        list.pinnedOut.clear();
    }
}

int MidiInDeviceCount() {
    return count(true);
}

int MidiOutDeviceCount() {
    return count(false);
}

void GetMidiInSpecs(int device, TMidiInSpecs& specs) {
    DeviceList& list = devices();
    std::lock_guard lock(list.mutex);
    auto port = locate(list, true, device);
    if (!port) throw EMidiIn("Unable to retrieve midi-in device capabilities");
    specs = TMidiInSpecs{port->info.name};
}

void GetMidiOutSpecs(int device, TMidiOutSpecs& specs) {
    if (device == 0) {
        specs = TMidiOutSpecs{MidiMapperName, TMidiTechnology::mtMapper};
        return;
    }
    DeviceList& list = devices();
    std::lock_guard lock(list.mutex);
    auto port = locate(list, false, device);
    if (!port) throw EMidiOut("Unable to retrieve midi-out device capabilities");
    specs = TMidiOutSpecs{port->info.name, port->info.technology};
}

std::vector<TMidiOutSpecs> MidiOutDeviceList() {
    std::vector<TMidiOutSpecs> list{{MidiMapperName, TMidiTechnology::mtMapper}};
    DeviceList& devices = ::devices();
    std::lock_guard lock(devices.mutex);
    for (MidiBackend* backend : {devices.system.get(), devices.virtualDevice.get()})
        for (auto& port : portsOf(backend, false))
            list.push_back({std::move(port.name), port.technology});
    return list;
}

std::vector<TMidiInSpecs> MidiInDeviceList() {
    std::vector<TMidiInSpecs> list;
    DeviceList& devices = ::devices();
    std::lock_guard lock(devices.mutex);
    for (MidiBackend* backend : {devices.system.get(), devices.virtualDevice.get()})
        for (auto& port : portsOf(backend, true))
            list.push_back({std::move(port.name)});
    return list;
}

std::unique_ptr<MidiInputPort> OpenMidiInDevice(int device, MidiMessageHandler handler) {
    DeviceList& list = devices();
    std::lock_guard lock(list.mutex);
    auto port = locatePinned(list, true, device);
    if (!port) throw EMidiIn(OpenInFailed);
    try {
        // What the port receives goes to the MIDI log before the handler sees it.
        auto logged = [&log = MidiLog(), name = port->info.name,
                       handler = std::move(handler)](std::span<const std::uint8_t> message) {
            log.Note(MidiDirection::In, name, message);
            handler(message);
        };
        auto opened = port->backend->OpenInput(port->index, std::move(logged));
        if (!opened) throw EMidiIn(OpenInFailed);
        return opened;
    } catch (const EKelvoError&) {
        throw EMidiIn(OpenInFailed);
    }
}

std::unique_ptr<MidiOutputPort> OpenMidiOutDevice(int device) {
    DeviceList& list = devices();
    std::lock_guard lock(list.mutex);
    // Number 0 is the mapper stand-in: it has specs but no port behind it.
    auto port = locatePinned(list, false, device);
    if (!port) throw EMidiOut(OpenOutFailed);
    try {
        auto opened = port->backend->OpenOutput(port->index);
        if (!opened) throw EMidiOut(OpenOutFailed);
        return std::make_unique<LoggedOutput>(std::move(opened), std::move(port->info.name));
    } catch (const EKelvoError&) {
        throw EMidiOut(OpenOutFailed);
    }
}

std::unique_lock<std::mutex> TakeMidiOutTurn() {
    static std::mutex turn;
    return std::unique_lock(turn);
}
