#pragma once
// Runs a Gr33Device on a thread of its own: incoming blocks are handed over from any thread and
// taken in order; each reply is passed to the sink when it is due. The ports of the virtual
// device and of gr33-sim sit on both ends.

#include "sim/Gr33Device.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

class DeviceRunner {
public:
    using Sink = std::function<void(std::span<const std::uint8_t> message)>;
    using Clock = std::chrono::steady_clock;

    // The sink is called on the runner's thread, one message at a time.
    DeviceRunner(std::unique_ptr<Gr33Device> device, Sink sink);
    // Stops the thread once the messages already posted are handled; replies not yet sent are
    // dropped.
    ~DeviceRunner();
    DeviceRunner(const DeviceRunner&) = delete;
    DeviceRunner& operator=(const DeviceRunner&) = delete;

    // Hands over a block of incoming bytes that arrived now.
    void Post(std::span<const std::uint8_t> bytes);

    // Calls f with the device while no message is being handled.
    void Inspect(const std::function<void(const Gr33Device&)>& f) const;

private:
    struct Incoming {
        Clock::time_point arrival;
        Bytes bytes;
    };
    struct Outgoing {
        Clock::time_point due;
        std::uint64_t order; // keeps replies due at the same time in sending order
        Bytes bytes;
    };

    void run();
    void handle(const Incoming& incoming);

    std::unique_ptr<Gr33Device> device_;
    mutable std::mutex deviceMutex_;
    Sink sink_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Incoming> incoming_;
    std::vector<Outgoing> outgoing_; // a heap ordered by (due, order), earliest on top
    std::uint64_t nextOrder_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};
