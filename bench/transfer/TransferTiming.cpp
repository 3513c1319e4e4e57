// Times collection transfers the way the librarian makes them: the MIDI backend opened once and
// kept, then TCollection's receive-all and send-all, each exchange through the device list. Run
// by bench/jack_transfer.sh against gr33-sim on a private JACK server, or on its own with
// --virtual against the in-process device.
//
//   transfer_timing wire     --api jack --in NAME --out NAME   (gr33-sim --wire)
//   transfer_timing exchange --api jack --in NAME --out NAME   (gr33-sim without --wire)
//   transfer_timing exchange --virtual --bank FILE
//
// "wire" prints receive-all and send-all as ratios to the wire time of their bytes; "exchange"
// prints the time of one receive exchange beyond its fixed pacing.

#include "base/Errors.h"
#include "cli/CliArguments.h"
#include "cli/DevicePorts.h"
#include "gr33/SysEx.h"
#include "midi/MidiDevices.h"
#include "midi/MidiOutSysEx.h"
#include "model/Collection.h"
#include "model/CollectionObserver.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>

namespace {

using Clock = std::chrono::steady_clock;

// What the window does during a transfer, minus the window: no busy cursor, no progress notice.
class BenchView : public CollectionObserver {
public:
    void CellChanged(int) override {}
    void TitleChanged() override {}
    void TempPatchMenuChanged() override {}
    void SetBusy(bool) override {}
    void PresetFileName(const std::string&) override {}
    void BeginTransfer(int) override {}
    bool TransferStep(const std::string&, int) override { return true; }
    void EndTransfer() override {}
};

double secondsOf(const std::function<void()>& run) {
    const auto start = Clock::now();
    run();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

constexpr double ByteSeconds = std::chrono::duration<double>(MidiByteTime).count();
constexpr double PollSeconds = std::chrono::duration<double>(SysExPollInterval).count();
constexpr int Patches = 128;

// MODE and gr33's port options (--api, --in, --out, --virtual, --bank).
CliArguments parseArguments(int argc, char** argv) {
    CliArguments args;
    CLI::App app("Times collection transfers", "transfer_timing");
    app.add_option("mode", args.positional, "wire or exchange")->expected(1)->required();
    for (const char* name : {"--api", "--in", "--out", "--bank"})
        app.add_option_function<std::string>(
            name, [&args, name](const std::string& value) { args.values[name] = value; });
    app.add_flag_callback("--virtual", [&args] { args.flags.insert("--virtual"); });
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        std::exit(app.exit(e));
    }
    return args;
}

int run(const CliArguments& args) {
    const std::string mode = args.positional[0];
    DeviceSession session(args);
    BenchView view;
    TCollection collection(view);
    collection.Ports().ChooseOut(session.OutputDevice());
    collection.Ports().ChooseIn(session.InputDevice());

    // The librarian lists the ports when it starts; the backend's clients are open by the time
    // a transfer begins.
    MidiOutDeviceCount();
    MidiInDeviceCount();

    const double request = RequestMessageSize * ByteSeconds;
    const double data = DataMessageSize * ByteSeconds;
    if (mode == "wire") {
        const double receive = secondsOf([&] { collection.ReceiveCollection(); });
        const double send = secondsOf([&] { collection.SendCollection(); });
        const double receiveLimit = Patches * (request + data), sendLimit = Patches * data;
        std::printf("receive-all: %.3f s, limit %.3f s, ratio %.3f (target <= 1.10)\n", receive,
                    receiveLimit, receive / receiveLimit);
        std::printf("send-all:    %.3f s, limit %.3f s, ratio %.3f (target <= 1.15; the 5 ms "
                    "poll alone makes %.3f)\n",
                    send, sendLimit, send / sendLimit, (data + PollSeconds) / data);
    } else if (mode == "exchange") {
        const double receive = secondsOf([&] { collection.ReceiveCollection(); });
        const double each = receive / Patches * 1000, paced = (request + PollSeconds) * 1000;
        std::printf("receive exchange: %.2f ms, overhead %.2f ms beyond the request's %.2f ms "
                    "wire time and 5 ms poll (target <= 2 ms)\n",
                    each, each - paced, request * 1000);
    } else {
        throw EUsage("say wire or exchange");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(parseArguments(argc, argv));
    } catch (const EUsage& e) {
        std::cerr << "transfer_timing: " << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "transfer_timing: " << MessageText(e.what()) << "\n";
        return 1;
    }
}
