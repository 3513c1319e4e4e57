// gr33-sim: a simulated GR-33 on one virtual input and one virtual output port (ALSA or JACK),
// so the real port path can be exercised without the device. Runs until SIGINT or SIGTERM.

#include "base/Errors.h"
#include "base/Version.h"
#include "sim/DeviceRunner.h"
#include "sim/SimCommandLine.h"

#include <RtMidi.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <thread>

namespace {

std::mutex logMutex;

// Each line ends with the steady clock's reading in milliseconds, the clock every program on
// this machine reads alike, so that a sender can tell when its message reached the device.
void logLine(const std::string& line) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, " [%.3f ms]",
                  std::chrono::duration<double, std::milli>(now).count());
    std::lock_guard lock(logMutex);
    std::cerr << "gr33-sim: " << line << stamp << std::endl;
}

// RtMidi calls this on its own thread for every complete incoming message.
void onMidiIn(double, std::vector<unsigned char>* message, void* runner) {
    if (message && !message->empty()) static_cast<DeviceRunner*>(runner)->Post(*message);
}

// Errors RtMidi reports outside a call (a failed send, a lost connection): logged, not fatal.
void onMidiError(RtMidiError::Type, const std::string& text, void*) {
    logLine(text);
}

int run(const SimCommandLine& line, const sigset_t& stopSignals) {
    auto api = line.api == "jack" ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
    auto bank = std::make_unique<SimBank>(line.bankFile);
    auto device = std::make_unique<Gr33Device>(std::move(bank), line.options);
    if (line.verbose) device->Log = logLine;

    // Construction order gives the right shutdown order: input first (no more posts), then
    // the runner (no more sends), then the output.
    RtMidiOut out(api, line.name);
    out.setErrorCallback(onMidiError);
    const std::string outName = line.name + " Out";
    out.openVirtualPort(outName);
    DeviceRunner runner(std::move(device), [&out](std::span<const std::uint8_t> m) {
        try {
            out.sendMessage(m.data(), m.size());
        } catch (const RtMidiError& e) {
            logLine(e.getMessage());
        }
    });
    RtMidiIn in(api, line.name, 1024);
    in.setErrorCallback(onMidiError);
    in.ignoreTypes(false, true, true);
    in.setCallback(onMidiIn, &runner);
    const std::string inName = line.name + " In";
    in.openVirtualPort(inName);

    std::printf("ready: %s / %s\n", inName.c_str(), outName.c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    // RtMidi's JACK output frees its queue before it stops the client's process cycle, and a
    // cycle that still saw the port open may be reading the queue then (it crashed one stop in
    // ~20 on a busy server). Both ports are closed first; the clients are destroyed only when
    // every cycle that saw them open is long over.
    in.cancelCallback();
    in.closePort();
    out.closePort();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    SimCommandLine line;
    try {
        line = ParseSimCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const EKelvoError& e) {
        std::cerr << "gr33-sim: " << e.what() << "\n" << SimUsage;
        return 2;
    }
    if (line.help) {
        std::cout << SimUsage;
        return 0;
    }
    if (line.version) {
        std::cout << "gr33-sim " << KelvoVersion << "\n";
        return 0;
    }
    // The stop signals are taken by sigwait in the main thread; every thread started later
    // inherits the blocked mask, so none of them is interrupted by them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    try {
        return run(line, stopSignals);
    } catch (const EKelvoError& e) {
        std::cerr << "gr33-sim: " << MessageText(e.what()) << "\n";
    } catch (const RtMidiError& e) {
        std::cerr << "gr33-sim: " << e.getMessage() << "\n";
    }
    return 1;
}
