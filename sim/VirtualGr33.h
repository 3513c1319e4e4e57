#pragma once
// The in-process "Virtual GR-33": a MIDI backend with one input and one output port of that
// name, behind which a simulated GR-33 answers. The application and the command-line tool
// install it as the virtual device of the device list, so every device command can be tried
// without hardware.

#include "midi/Port.h"
#include "sim/DeviceRunner.h"
#include "sim/Gr33Device.h"

#include <functional>
#include <memory>
#include <string>

inline constexpr const char* VirtualGr33PortName = "Virtual GR-33";

class VirtualGr33 : public MidiBackend {
public:
    explicit VirtualGr33(std::unique_ptr<Gr33Device> device);
    ~VirtualGr33() override;

    std::vector<MidiPortInfo> InputPorts() override;
    std::vector<MidiPortInfo> OutputPorts() override;
    std::unique_ptr<MidiOutputPort> OpenOutput(int index) override;
    std::unique_ptr<MidiInputPort> OpenInput(int index, MidiMessageHandler handler) override;

    // Calls f with the simulated device while it handles no message.
    void Inspect(const std::function<void(const Gr33Device&)>& f) const;

    struct Listeners; // the open input ports' handlers, shared with the ports

private:
    std::shared_ptr<Listeners> listeners_;
    std::shared_ptr<DeviceRunner> runner_;
};

// A virtual GR-33 whose memory is the collection file (created with the demo bank when
// missing). Raises "Illegal patch data format" when the file exists but is not a collection.
std::unique_ptr<VirtualGr33> CreateVirtualGr33(const std::string& bankFile,
                                               DeviceOptions options = {});

// Where the virtual device keeps its memory unless told otherwise:
// $XDG_DATA_HOME/KelvoLight/virtual-gr33.G33, or ~/.local/share/KelvoLight/virtual-gr33.G33.
std::string DefaultVirtualBankPath();
