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
#include "gr33/SafeTransfer.h"
#include "midi/MidiDevices.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
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

// Tells where the bank a send overwrote is kept, when it was recorded (snapshot > 0).
void snapshotHint(CliContext& context, std::int64_t snapshot) {
    if (snapshot > 0)
        context.err << "The patches the device held before are snapshot " << snapshot
                    << " of the library: gr33 library export " << snapshot
                    << " -o FILE.G33, then gr33 send FILE.G33 --no-snapshot\n";
}

// Reads the sent user slots back (gr33/SafeTransfer): every slot that differs is named, and the
// send then fails, pointing to the snapshot taken before it when there is one.
int verifySent(std::span<const SentPatch> sent, DeviceSession& session, CliContext& context,
               std::int64_t snapshot) {
    const VerifyResult result = VerifySent(sent, session.OutputDevice(), session.InputDevice(),
                                           [](int) { ThrowIfInterrupted(); });
    for (int number : result.differing)
        context.err << DiffersText(number) << "\n";
    if (!result.Good()) {
        snapshotHint(context, snapshot);
        return ExitDataError;
    }
    if (result.verified > 0) context.out << VerifiedText(result.verified) << "\n";
    return ExitOk;
}

bool verifyWanted(const CliArguments& args) {
    if (args.Flag("--verify") && args.Flag("--no-verify"))
        throw EUsage("--verify and --no-verify exclude each other");
    return args.Flag("--verify");
}

// The device's bank before a collection send overwrites it, recorded in the library; its
// snapshot number (0 when the library could not record it). Raises, nothing sent, when the
// receive fails. Its slots are not counted on the error output: the progress lines there are
// those of the send.
std::int64_t snapshotBeforeSend(const CliArguments& args, DeviceSession& session,
                                CliContext& context) {
    std::vector<PatchBytes> before;
    try {
        ReceiveRest(before, session.OutputDevice(), session.InputDevice(),
                    [](int) { ThrowIfInterrupted(); });
    } catch (const EKelvoError& e) {
        throw EKelvoError(SnapshotFailedText(e.what(), "pass --no-snapshot"));
    }
    auto library = OpenSnapshotLibrary(args, context);
    TMidiInSpecs port;
    GetMidiInSpecs(session.InputDevice(), port);
    return RecordSnapshot(library.get(), before, std::string("before send (") + port.Name + ")",
                          context);
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
    const auto resume = args.Value("--resume");
    const bool keepPartial = args.Flag("--keep-partial");
    if (!all && (resume || keepPartial))
        throw EUsage("--resume and --keep-partial go with receive all");
    ExpectOutputKind(*output, all ? FileKind::Collection : FileKind::SinglePatch);
    // The partial file is read before any exchange, so a wrong one costs no receive.
    std::vector<PatchBytes> received;
    if (resume) received = ReadPartialFile(*resume);
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
    // also when the receive stops part-way. A resumed receive is recorded once it is whole.
    auto library = OpenSnapshotLibrary(args, context);
    TMidiInSpecs port;
    GetMidiInSpecs(in, port);
    const std::size_t first = received.size();
    try {
        ReceiveRest(received, out, in, [&](int n) {
            ThrowIfInterrupted();
            progress(context, n);
        });
    } catch (...) {
        if (first == 0) RecordSnapshot(library.get(), received, port.Name, context);
        if (keepPartial && !received.empty()) {
            const std::string partial = PartialFileName(*output);
            try {
                WritePartialFile(partial, received);
                context.err << "Kept " << received.size() << " patches in " << partial
                            << "; gr33 receive all --resume " << partial << " -o " << *output
                            << " receives the rest\n";
            } catch (const EKelvoError& e) {
                context.err << "Warning: " << MessageText(e.what()) << "\n";
            }
        }
        throw;
    }
    RecordSnapshot(library.get(), received, port.Name, context);
    auto slots = std::make_unique<std::array<TPatch, 128>>();
    std::array<const TPatch*, 128> records;
    for (int n = 1; n <= PatchCount; ++n) {
        (*slots)[n - 1].SetBytes(received[n - 1], n);
        records[n - 1] = &(*slots)[n - 1];
    }
    WriteCollectionFile(*output, records);
    return ExitOk;
}

int SendCommand(const CliArguments& args, CliContext& context) {
    const bool verify = verifyWanted(args);
    auto source = ParsePatchSource(args.positional[0]);
    const bool bank = source.kind == FileKind::Collection && !source.slot;
    const bool snapshot = bank && !args.Flag("--no-snapshot");
    ExpectPorts(args, verify || snapshot, true);
    auto to = args.Value("--to");
    std::optional<int> target;
    if (to) {
        target = PatchNumberOfLabel(*to);
        if (!target) throw EUsage("--to takes a label (A11 .. D84) or temp: " + *to);
    }

    if (bank) {
        if (to) throw EUsage("--to sends one patch; name it as FILE.G33:LABEL");
        auto slots = std::make_unique<std::array<TPatch, 128>>();
        LoadCollection(source.file, *slots);
        if (std::all_of(slots->begin(), slots->end(),
                        [](const TPatch& p) { return p.IsEmpty(); })) {
            context.err << "No patches in collection!\n";
            return ExitDataError;
        }
        DeviceSession session(args);
        const std::int64_t before = snapshot ? snapshotBeforeSend(args, session, context) : 0;
        const int out = session.OutputDevice();
        // A patch is counted once it was handed to the MIDI system.
        std::vector<SentPatch> sent;
        try {
            for (int n = 1; n <= PatchCount; ++n) {
                if ((*slots)[n - 1].IsEmpty()) continue;
                ThrowIfInterrupted();
                (*slots)[n - 1].SendToDevice(out, n);
                progress(context, n);
                sent.push_back({n, (*slots)[n - 1].Bytes()});
            }
        } catch (...) {
            // Stopped part-way (Ctrl+C, a failed send): the device holds a mix of both banks,
            // and the earlier one is what the user will want back.
            if (!sent.empty()) snapshotHint(context, before);
            throw;
        }
        return verify ? verifySent(sent, session, context, before) : ExitOk;
    }

    TPatch patch;
    int number = LoadPatch(source, patch);
    patch.CheckNotEmpty(number);
    DeviceSession session(args);
    if (!patch.SendToDevice(session.OutputDevice(), target.value_or(number)))
        throw EKelvoError("Unable to send patch");
    const SentPatch sent{target.value_or(number), patch.Bytes()};
    return verify ? verifySent({&sent, 1}, session, context, 0) : ExitOk;
}
