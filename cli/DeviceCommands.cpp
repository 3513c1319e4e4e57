#include "base/Errors.h"
#include "cli/Commands.h"
#include "cli/DevicePorts.h"
#include "cli/Gr33Cli.h"
#include "cli/Interrupt.h"
#include "cli/LibraryCommands.h"
#include "cli/PatchSource.h"
#include "gr33/CollectionFile.h"
#include "gr33/Exchange.h"
#include "gr33/PatchNumber.h"
#include "midi/MidiDevices.h"

#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace {

std::string kindText(TMidiTechnology technology) {
    switch (technology) {
    case TMidiTechnology::mtFmSynth:
        return "FM synthesizer";
    case TMidiTechnology::mtMapper:
        return "mapper";
    case TMidiTechnology::mtMidiPort:
        return "MIDI port";
    case TMidiTechnology::mtSquareSynth:
        return "square-wave synthesizer";
    case TMidiTechnology::mtSynth:
        return "synthesizer";
    case TMidiTechnology::mtUnknown:
        break;
    }
    return "unknown";
}

void progress(CliContext& context, int number) {
    context.err << PatchLabel(number) << " (" << number << "/" << PatchCount << ")\n";
}

} // namespace

int PortsCommand(const CliArguments& args, CliContext& context) {
    DeviceSession session(args);
    context.out << "MIDI In:\n";
    for (int d = 1; d <= MidiInDeviceCount(); ++d) {
        TMidiInSpecs specs;
        GetMidiInSpecs(d, specs);
        context.out << "  #" << d << "  " << specs.Name << "\n";
    }
    context.out << "MIDI Out:\n";
    for (int d = 0; d <= MidiOutDeviceCount(); ++d) {
        TMidiOutSpecs specs;
        GetMidiOutSpecs(d, specs);
        context.out << "  #" << d << "  " << specs.Name << " (" << kindText(specs.Technology)
                    << ")\n";
    }
    return ExitOk;
}

int IdentifyCommand(const CliArguments& args, CliContext& context) {
    ExpectPorts(args, true, true);
    DeviceSession session(args);
    const DeviceAnswer answer = TestDevice(session.OutputDevice(), session.InputDevice());
    if (answer == DeviceAnswer::CommunicationError) context.err << CommunicationErrorText << "\n";
    if (answer != DeviceAnswer::Found) {
        context.err << MessageText(DeviceNotFoundText) << "\n";
        return ExitDataError;
    }
    context.out << DeviceFoundText << "\n";
    return ExitOk;
}

int ReceiveCommand(const CliArguments& args, CliContext& context) {
    auto output = args.Value("-o");
    if (!output) throw EUsage("receive needs -o FILE");
    const std::string& what = args.positional[0];
    const bool all = what == "all";
    const int number = all ? -1 : PatchNumberOfLabel(what).value_or(-1);
    if (!all && number < 0)
        throw EUsage("receive takes all, a label (A11 .. D84) or temp: " + what);
    ExpectOutputKind(*output, all ? FileKind::Collection : FileKind::SinglePatch);
    ExpectPorts(args, true, true);

    DeviceSession session(args);
    const int out = session.OutputDevice(), in = session.InputDevice();
    if (!all) {
        TPatch patch;
        patch.ReceiveFromDevice(out, in, number);
        patch.SaveToFile(*output, number);
        return ExitOk;
    }
    // The file is written only once all 128 patches have come; the library records what came,
    // also when the receive stops part-way.
    auto library = OpenSnapshotLibrary(args, context);
    TMidiInSpecs port;
    GetMidiInSpecs(in, port);
    auto slots = std::make_unique<std::array<TPatch, 128>>();
    std::array<const TPatch*, 128> records;
    std::vector<PatchBytes> received;
    try {
        for (int n = 1; n <= PatchCount; ++n) {
            ThrowIfInterrupted();
            progress(context, n);
            (*slots)[n - 1].ReceiveFromDevice(out, in, n);
            records[n - 1] = &(*slots)[n - 1];
            received.push_back((*slots)[n - 1].Bytes());
        }
    } catch (...) {
        RecordSnapshot(library.get(), received, port.Name, context);
        throw;
    }
    RecordSnapshot(library.get(), received, port.Name, context);
    WriteCollectionFile(*output, records);
    return ExitOk;
}

namespace {

// Reads the sent user slots back and compares their data bytes with what was sent: every slot
// that differs is named, and the send then fails. The temporary patch is not read back.
int VerifySent(const std::vector<std::pair<int, const TPatch*>>& sent, DeviceSession& session,
               CliContext& context) {
    int differing = 0, verified = 0;
    for (const auto& [number, patch] : sent) {
        if (number == TempPatchNumber) continue;
        ThrowIfInterrupted();
        TPatch back;
        back.ReceiveFromDevice(session.OutputDevice(), session.InputDevice(), number);
        ++verified;
        if (back.Bytes() != patch->Bytes()) {
            ++differing;
            context.err << "Patch (" << PatchLabel(number) << ") differs after sending\n";
        }
    }
    if (differing > 0) return ExitDataError;
    if (verified > 0) context.out << "Sent and verified " << verified << " patches\n";
    return ExitOk;
}

bool verifyWanted(const CliArguments& args) {
    if (args.Flag("--verify") && args.Flag("--no-verify"))
        throw EUsage("--verify and --no-verify exclude each other");
    return args.Flag("--verify");
}

} // namespace

int SendCommand(const CliArguments& args, CliContext& context) {
    const bool verify = verifyWanted(args);
    ExpectPorts(args, verify, true);
    auto source = ParsePatchSource(args.positional[0]);
    auto to = args.Value("--to");
    std::optional<int> target;
    if (to) {
        target = PatchNumberOfLabel(*to);
        if (!target) throw EUsage("--to takes a label (A11 .. D84) or temp: " + *to);
    }

    if (source.kind == FileKind::Collection && !source.slot) {
        if (to) throw EUsage("--to sends one patch; name it as FILE.G33:LABEL");
        auto slots = std::make_unique<std::array<TPatch, 128>>();
        LoadCollection(source.file, *slots);
        if (std::all_of(slots->begin(), slots->end(),
                        [](const TPatch& p) { return p.IsEmpty(); })) {
            context.err << "No patches in collection!\n";
            return ExitDataError;
        }
        DeviceSession session(args);
        const int out = session.OutputDevice();
        // A patch is counted once it was handed to the MIDI system.
        std::vector<std::pair<int, const TPatch*>> sent;
        for (int n = 1; n <= PatchCount; ++n) {
            if ((*slots)[n - 1].IsEmpty()) continue;
            ThrowIfInterrupted();
            (*slots)[n - 1].SendToDevice(out, n);
            progress(context, n);
            sent.emplace_back(n, &(*slots)[n - 1]);
        }
        return verify ? VerifySent(sent, session, context) : ExitOk;
    }

    TPatch patch;
    int number = LoadPatch(source, patch);
    patch.CheckNotEmpty(number);
    DeviceSession session(args);
    if (!patch.SendToDevice(session.OutputDevice(), target.value_or(number)))
        throw EKelvoError("Unable to send patch");
    return verify ? VerifySent({{target.value_or(number), &patch}}, session, context) : ExitOk;
}
