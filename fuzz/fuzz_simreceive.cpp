// The simulated device's assembly of incoming bytes into messages: every message an F0 starts
// ends exactly once (answered, stored or rejected), every reply is one whole System Exclusive
// message, and on the emulated cable the replies leave one after the other.
#include "sim/Gr33Device.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    DeviceOptions options;
    options.wire = data[0] & 1;
    Gr33Device device(std::make_unique<SimBank>(), options);
    auto replies = device.Receive(std::span(data + 1, size - 1));
    std::chrono::microseconds previous{0};
    for (const auto& reply : replies) {
        if (reply.bytes.size() < 2 || reply.bytes.front() != 0xF0 || reply.bytes.back() != 0xF7)
            std::abort();
        if (options.wire && reply.due < previous) std::abort();
        previous = reply.due;
    }
    auto starts = std::count(data + 1, data + size, 0xF0);
    if (static_cast<long>(replies.size()) + device.Stored() + device.Rejected() != starts)
        std::abort();
    return 0;
}
