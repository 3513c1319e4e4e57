// Live editing: a bar of an open editor dragged back and forth for two seconds, one drag step
// every 4 ms from the event loop, with "Send Edits Live" on. Reports the time from a change to
// its message and to the message's last byte on a 31,250-baud wire, the messages per second
// during the drag, and the longest stall of the event loop (the largest gap between two drag
// steps beyond their interval).
//   bench_live_edit               against the in-process GR-33 (wire modelled): the time to
//                                 the hand-over to the device's port
//   bench_live_edit --jack LOG    through RtMidi's JACK backend to gr33-sim, whose --verbose
//                                 error output goes to LOG: the time until the simulator took
//                                 the message, read from its log (bench/live_edit_jack.sh)

#include "base/Errors.h"
#include "cli/DevicePorts.h"
#include "controls/IBar.h"
#include "editor/EditFrm.h"
#include "midi/MidiDevices.h"
#include "midi/MidiOutSysEx.h"
#include "midi/RtMidiBackend.h"
#include "model/DetachedHost.h"
#include "sim/DemoBank.h"
#include "sim/VirtualGr33.h"
#include "tests/support/RecordingDialogs.h"

#include <QApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <regex>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Hand-over times of the messages sent to the device.
struct HandOvers {
    std::mutex mutex;
    std::vector<Clock::time_point> times;
};

class TimedOutput : public MidiOutputPort {
public:
    TimedOutput(std::unique_ptr<MidiOutputPort> port, HandOvers& log)
        : port_(std::move(port)), log_(log) {}
    void Send(std::span<const std::uint8_t> message) override {
        {
            std::lock_guard lock(log_.mutex);
            log_.times.push_back(Clock::now());
        }
        port_->Send(message);
    }
    SendState Progress(bool mindDrops) override { return port_->Progress(mindDrops); }
    void Close() override { port_->Close(); }

private:
    std::unique_ptr<MidiOutputPort> port_;
    HandOvers& log_;
};

class TimedDevice : public MidiBackend {
public:
    TimedDevice(std::unique_ptr<MidiBackend> device, HandOvers& log)
        : device_(std::move(device)), log_(log) {}
    std::vector<MidiPortInfo> InputPorts() override { return device_->InputPorts(); }
    std::vector<MidiPortInfo> OutputPorts() override { return device_->OutputPorts(); }
    std::unique_ptr<MidiOutputPort> OpenOutput(int index) override {
        return std::make_unique<TimedOutput>(device_->OpenOutput(index), log_);
    }
    std::unique_ptr<MidiInputPort> OpenInput(int index, MidiMessageHandler handler) override {
        return device_->OpenInput(index, std::move(handler));
    }

private:
    std::unique_ptr<MidiBackend> device_;
    HandOvers& log_;
};

class LiveHost : public DetachedHost {
public:
    int out = 1;
    int SelectedMidiOut() override { return out; }
    bool LiveEdit() const override { return true; }
};

void Mouse(TIBar& bar, QEvent::Type type, int x, Qt::MouseButtons held) {
    const QPointF at(x, bar.height() / 2.0);
    QMouseEvent event(type, at, bar.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(&bar, &event);
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The times gr33-sim stored the temporary patch, from the steady clock stamp of each line.
std::vector<Clock::time_point> SimulatorStores(const char* logFile) {
    std::vector<Clock::time_point> times;
    std::ifstream log(logFile);
    const std::regex stored(R"(: stored Temporary Patch \[([0-9.]+) ms\]$)");
    std::smatch match;
    for (std::string line; std::getline(log, line);)
        if (std::regex_search(line, match, stored))
            times.emplace_back(std::chrono::duration_cast<Clock::duration>(
                std::chrono::duration<double, std::milli>(std::stod(match[1]))));
    return times;
}

// The first of the times at or after `from`, if any.
std::optional<Clock::time_point> FirstFrom(const std::vector<Clock::time_point>& times,
                                           Clock::time_point from) {
    auto at = std::lower_bound(times.begin(), times.end(), from);
    if (at == times.end()) return std::nullopt;
    return *at;
}

} // namespace

int main(int argc, char** argv) {
    const bool jack = argc == 3 && std::strcmp(argv[1], "--jack") == 0;
    if (argc != 1 && !jack) {
        std::fprintf(stderr, "usage: bench_live_edit [--jack SIMULATOR_LOG]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    RecordingDialogs prompts;
    ScopedPrompts guard(prompts);
    HandOvers handOvers;
    LiveHost host;
    if (jack) {
        InstallMidiBackends(std::make_unique<TimedDevice>(CreateRtMidiBackend("jack"), handOvers),
                            nullptr);
        try {
            host.out = FindPort("GR-33 Simulator In", false);
        } catch (const EKelvoError& e) {
            std::fprintf(stderr, "bench_live_edit: %s\n", e.what());
            return 1;
        }
    } else {
        DeviceOptions options;
        options.wire = true;
        InstallMidiBackends(nullptr, std::make_unique<TimedDevice>(
                                         std::make_unique<VirtualGr33>(std::make_unique<Gr33Device>(
                                             std::make_unique<SimBank>(), options)),
                                         handOvers));
    }
    TPatch record;
    PatchBytes bytes = DemoPatch(3);
    bytes[107] = 1; // overdrive: bar 1 in use
    std::copy(bytes.begin(), bytes.end(), record.Data());
    OpenEditor(record, 3, host);
    auto* editor = dynamic_cast<TFormEdit*>(record.Editor);
    TIBar& bar = *editor->findChild<TIBar*>("IBar1");

    // Single changes with the sender idle, each waited for until its message was handed over.
    const Clock::duration wire = MidiByteTime * 140;
    std::vector<Clock::time_point> changes;
    for (int i = 0; i < 20; ++i) {
        const std::size_t before = handOvers.times.size();
        changes.push_back(Clock::now());
        Mouse(bar, QEvent::MouseButtonPress, 40 + 15 * (i % 2), Qt::LeftButton);
        Mouse(bar, QEvent::MouseButtonRelease, 40 + 15 * (i % 2), Qt::NoButton);
        for (bool sent = false; !sent;) {
            QApplication::processEvents();
            std::lock_guard lock(handOvers.mutex);
            sent = handOvers.times.size() > before;
        }
        QThread::msleep(80); // the message in flight is done
    }

    // A continuous drag: one step every 4 ms from a timer for two seconds.
    constexpr int StepMs = 4;
    std::size_t sentBefore = handOvers.times.size();
    Clock::duration longestGap{};
    Clock::time_point last = Clock::now();
    const Clock::time_point start = last;
    int step = 0;
    Mouse(bar, QEvent::MouseButtonPress, 5, Qt::LeftButton);
    // A loop of its own: the application's would end the editor with aboutToQuit.
    QEventLoop loop;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        longestGap = std::max(longestGap, now - last);
        last = now;
        Mouse(bar, QEvent::MouseMove, 5 + (step++ * 3) % 400, Qt::LeftButton);
        if (now - start > std::chrono::seconds(2)) loop.quit();
    });
    timer.start(StepMs);
    loop.exec();
    Mouse(bar, QEvent::MouseButtonRelease, 5, Qt::NoButton);
    const Clock::time_point end = Clock::now();
    std::size_t sentDuring = 0;
    {
        std::lock_guard lock(handOvers.mutex);
        sentDuring = handOvers.times.size() - sentBefore;
    }
    editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    InstallMidiBackends(nullptr, nullptr);

    // Where each change's message arrived: handed over in process, or stored by the simulator
    // (whose last lines may still be on their way into its log).
    std::vector<Clock::time_point> arrivals = handOvers.times;
    if (jack) {
        QThread::msleep(300);
        arrivals = SimulatorStores(argv[2]);
        sentDuring = std::count_if(arrivals.begin(), arrivals.end(),
                                   [&](Clock::time_point t) { return t >= start && t <= end; });
    }
    std::vector<double> first;
    for (Clock::time_point changed : changes)
        if (auto at = FirstFrom(arrivals, changed)) first.push_back(Ms(*at - changed));
    if (first.empty()) {
        std::fprintf(stderr, "bench_live_edit: no message reached the device\n");
        return 1;
    }
    std::sort(first.begin(), first.end());
    const double median = first[first.size() / 2];
    const double dragMs = Ms(end - start);
    const double perSecond = 1000.0 * static_cast<double>(sentDuring) / dragMs;

    std::printf("%s\n", jack ? "through JACK to gr33-sim" : "in-process GR-33");
    std::printf("change to first byte (median of %zu of %zu changes): %.2f ms, longest %.2f ms "
                "(target <= 5)\n",
                first.size(), changes.size(), median, first.back());
    std::printf("change to last byte on the wire: %.2f ms (target <= %.1f, one message's wire "
                "time + 5)\n",
                median + Ms(wire), Ms(wire) + 5);
    std::printf("drag: %d steps in %.0f ms, %zu messages, %.1f messages/s (limit %.1f, one per "
                "wire time)\n",
                step, dragMs, sentDuring, perSecond, 1000.0 / Ms(wire));
    std::printf("longest event-loop stall during the drag: %.2f ms beyond the %d ms step "
                "(target <= 16)\n",
                std::max(0.0, Ms(longestGap) - StepMs), StepMs);
    return 0;
}
