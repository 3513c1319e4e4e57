#include "cli/DevicePorts.h"

#include "base/Errors.h"
#include "cli/Interrupt.h"
#include "midi/MidiDevices.h"
#include "midi/RtMidiBackend.h"
#include "sim/VirtualGr33.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string portName(int device, bool input) {
    if (input) {
        TMidiInSpecs specs;
        GetMidiInSpecs(device, specs);
        return specs.Name;
    }
    TMidiOutSpecs specs;
    GetMidiOutSpecs(device, specs);
    return specs.Name;
}

bool isNumber(const std::string& text) {
    return !text.empty() && text.size() < 6 &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

} // namespace

DeviceSession::DeviceSession(const CliArguments& args) : args_(args) {
    CatchInterrupt(); // from here on, Ctrl+C ends the transfer before its next patch
    const bool virtualDevice = args.Flag("--virtual");
    auto api = args.Value("--api");
    const bool wantSystem = !virtualDevice || api || args.Value("--in") || args.Value("--out");
    std::unique_ptr<MidiBackend> system;
    if (wantSystem) system = CreateRtMidiBackend(api.value_or(""));
    std::unique_ptr<MidiBackend> simulated;
    if (virtualDevice)
        simulated = CreateVirtualGr33(args.Value("--bank").value_or(DefaultVirtualBankPath()));
    else if (args.Value("--bank"))
        throw EUsage("--bank belongs to --virtual");
    InstallMidiBackends(std::move(system), std::move(simulated));
}

DeviceSession::~DeviceSession() {
    InstallMidiBackends(nullptr, nullptr);
}

int DeviceSession::InputDevice() const {
    return choose(true);
}

int DeviceSession::OutputDevice() const {
    return choose(false);
}

int DeviceSession::choose(bool input) const {
    auto given = args_.Value(input ? "--in" : "--out");
    if (given) return isNumber(*given) ? std::stoi(*given) : FindPort(*given, input);
    if (args_.Flag("--virtual")) return FindPort(VirtualGr33PortName, input);
    throw EUsage(std::string("name the ") +
                 (input ? "input port with --in" : "output port with --out") +
                 " (see gr33 ports), or use --virtual");
}

void ExpectPorts(const CliArguments& args, bool input, bool output) {
    if (args.Flag("--virtual")) return;
    if (input && !args.Value("--in"))
        throw EUsage("name the input port with --in (see gr33 ports), or use --virtual");
    if (output && !args.Value("--out"))
        throw EUsage("name the output port with --out (see gr33 ports), or use --virtual");
}

int FindPort(const std::string& text, bool input) {
    const int count = input ? MidiInDeviceCount() : MidiOutDeviceCount();
    const std::string wanted = lower(text);
    std::vector<int> matches;
    std::vector<std::string> names;
    for (int d = 1; d <= count; ++d) {
        std::string name = lower(portName(d, input));
        if (name == wanted) return d;
        if (name.find(wanted) != std::string::npos) {
            matches.push_back(d);
            names.push_back(portName(d, input));
        }
    }
    const std::string kind = input ? "MIDI input port" : "MIDI output port";
    if (matches.empty()) throw EKelvoError("No " + kind + " matches \"" + text + "\"");
    if (matches.size() > 1) {
        std::string list;
        for (std::size_t i = 0; i < matches.size(); ++i)
            list += (i ? ", #" : "#") + std::to_string(matches[i]) + " " + names[i];
        throw EKelvoError("Several " + kind + "s match \"" + text + "\": " + list);
    }
    return matches.front();
}
