#include "midi/JackDevicePorts.h"

#include <gtest/gtest.h>

// A device is its client and the numbered clients named after it, whichever of them owns the
// port followed.
TEST(JackDevicePorts, TheClientAndItsNumberedSiblings) {
    const std::vector<std::string> ports{"Sim:out", "Sim-01:out", "Sim-x:out",     "Sim-:out",
                                         "Si:out",  "Sim-02:b:c", "Other-Sim:out", "Sim0:out"};
    const std::vector<std::string> device{"Sim:out", "Sim-01:out", "Sim-02:b:c"};
    for (const char* port : {"Sim:in", "Sim-01:in", "Sim-7:x", "Sim"}) {
        SCOPED_TRACE(port);
        EXPECT_EQ(JackDevicePorts(port, ports), device);
    }
    EXPECT_EQ(JackDevicePorts("Sim-x:in", ports), std::vector<std::string>{"Sim-x:out"});
    EXPECT_EQ(JackDevicePorts("Si:in", ports), std::vector<std::string>{"Si:out"});
}
