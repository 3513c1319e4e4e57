// Live editing against the in-process GR-33: a bar of an open editor dragged back and forth
// for two seconds, one drag step every 4 ms from the event loop, with "Send Edits Live" on.
// Reports the time from a change to the first byte handed to the device's port and to its
// last byte on a 31,250-baud wire, the messages per second during the drag, and the longest
// stall of the event loop (the largest gap between two drag steps beyond their interval).

#include "controls/IBar.h"
#include "editor/EditFrm.h"
#include "midi/MidiDevices.h"
#include "midi/MidiOutSysEx.h"
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
#include <mutex>
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
    TimedDevice(std::unique_ptr<VirtualGr33> device, HandOvers& log)
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
    std::unique_ptr<VirtualGr33> device_;
    HandOvers& log_;
};

class LiveHost : public DetachedHost {
public:
    int SelectedMidiOut() override { return 1; }
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

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    RecordingDialogs prompts;
    ScopedPrompts guard(prompts);
    HandOvers handOvers;
    DeviceOptions options;
    options.wire = true;
    InstallMidiBackends(nullptr, std::make_unique<TimedDevice>(
                                     std::make_unique<VirtualGr33>(std::make_unique<Gr33Device>(
                                         std::make_unique<SimBank>(), options)),
                                     handOvers));
    LiveHost host;
    TPatch record;
    PatchBytes bytes = DemoPatch(3);
    bytes[107] = 1; // overdrive: bar 1 in use
    std::copy(bytes.begin(), bytes.end(), record.Data());
    OpenEditor(record, 3, host);
    auto* editor = dynamic_cast<TFormEdit*>(record.Editor);
    TIBar& bar = *editor->findChild<TIBar*>("IBar1");

    // Single changes with the sender idle: change to the first byte, and to the last.
    const Clock::duration wire = MidiByteTime * 140;
    std::vector<double> first;
    for (int i = 0; i < 20; ++i) {
        const std::size_t before = handOvers.times.size();
        const auto changed = Clock::now();
        Mouse(bar, QEvent::MouseButtonPress, 40 + 15 * (i % 2), Qt::LeftButton);
        Mouse(bar, QEvent::MouseButtonRelease, 40 + 15 * (i % 2), Qt::NoButton);
        for (;;) {
            QApplication::processEvents();
            std::lock_guard lock(handOvers.mutex);
            if (handOvers.times.size() > before) {
                first.push_back(Ms(handOvers.times[before] - changed));
                break;
            }
        }
        QThread::msleep(80); // the message in flight is done
    }
    std::sort(first.begin(), first.end());
    const double median = first[first.size() / 2];

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
    const double dragMs = Ms(Clock::now() - start);
    std::size_t sentDuring = 0;
    {
        std::lock_guard lock(handOvers.mutex);
        sentDuring = handOvers.times.size() - sentBefore;
    }
    editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    InstallMidiBackends(nullptr, nullptr);

    std::printf("change to first byte (median of %zu): %.2f ms\n", first.size(), median);
    std::printf("change to last byte on the wire: %.2f ms\n", median + Ms(wire));
    std::printf("drag: %d steps in %.0f ms, %zu messages, %.1f messages/s\n", step, dragMs,
                sentDuring, 1000.0 * static_cast<double>(sentDuring) / dragMs);
    std::printf("longest event-loop stall during the drag: %.2f ms (beyond the %d ms step)\n",
                std::max(0.0, Ms(longestGap) - StepMs), StepMs);
    return 0;
}
