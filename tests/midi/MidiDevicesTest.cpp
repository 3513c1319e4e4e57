#include "midi/MidiDevices.h"

#include "base/Errors.h"
#include "tests/midi/FakeMidiBackend.h"

#include <gtest/gtest.h>

namespace {

MidiPortInfo port(const std::string& name, TMidiTechnology kind = TMidiTechnology::mtMidiPort) {
    return {name, kind};
}

TEST(MidiDevices, VirtualDevicePortsAreNumberedAfterTheSystemPorts) {
    auto virt = std::make_shared<FakeMidiState>();
    virt->inputs = {port("Virtual GR-33")};
    virt->outputs = {port("Virtual GR-33")};
    InstalledFake fake({port("In A"), port("In B")}, {port("Out A")}, virt);

    EXPECT_EQ(MidiInDeviceCount(), 3);
    EXPECT_EQ(MidiOutDeviceCount(), 2);
    TMidiInSpecs in;
    GetMidiInSpecs(3, in);
    EXPECT_EQ(in.Name, "Virtual GR-33");
    TMidiOutSpecs out;
    GetMidiOutSpecs(1, out);
    EXPECT_EQ(out.Name, "Out A");

    const auto outs = MidiOutDeviceList();
    ASSERT_EQ(outs.size(), 3u);
    EXPECT_EQ(outs[0].Technology, TMidiTechnology::mtMapper);
    EXPECT_EQ(outs[2].Name, "Virtual GR-33");
    const auto ins = MidiInDeviceList();
    ASSERT_EQ(ins.size(), 3u);
    EXPECT_EQ(ins[1].Name, "In B");

    // Opening number d reaches the right backend at the right index.
    OpenMidiInDevice(2, [](auto) {});
    OpenMidiInDevice(3, [](auto) {});
    OpenMidiOutDevice(2);
    EXPECT_EQ(fake.system->log, (std::vector<std::string>{"open in 1", "close in"}));
    EXPECT_EQ(virt->log,
              (std::vector<std::string>{"open in 0", "close in", "open out 0", "close out"}));
}

TEST(MidiDevices, MapperIsDeviceZeroButCannotBeOpened) {
    InstalledFake fake({}, {port("Out A")});
    TMidiOutSpecs specs;
    GetMidiOutSpecs(0, specs);
    EXPECT_EQ(specs.Technology, TMidiTechnology::mtMapper);
    EXPECT_EQ(MidiOutDeviceCount(), 1); // not counted among the ports
    try {
        OpenMidiOutDevice(0);
        FAIL() << "the mapper opened";
    } catch (const EMidiOut& e) {
        EXPECT_STREQ(e.what(), "Unable to open midi-out device");
    }
    EXPECT_TRUE(fake.system->log.empty());
}

TEST(MidiDevices, NumbersOutsideTheListFailWithTheirTexts) {
    InstalledFake fake({port("In A")}, {port("Out A")});
    TMidiInSpecs in;
    TMidiOutSpecs out;
    for (int device : {0, 2, -1}) {
        EXPECT_THROW(
            {
                try {
                    GetMidiInSpecs(device, in);
                } catch (const EMidiIn& e) {
                    EXPECT_STREQ(e.what(), "Unable to retrieve midi-in device capabilities");
                    throw;
                }
            },
            EMidiIn);
        EXPECT_THROW(OpenMidiInDevice(device, [](auto) {}), EMidiIn);
    }
    for (int device : {2, -1}) {
        try {
            GetMidiOutSpecs(device, out);
            FAIL() << device;
        } catch (const EMidiOut& e) {
            EXPECT_STREQ(e.what(), "Unable to retrieve midi-out device capabilities");
        }
        EXPECT_THROW(OpenMidiOutDevice(device), EMidiOut);
    }
}

TEST(MidiDevices, BackendOpenFailuresCarryTheDeviceTexts) {
    InstalledFake fake({port("In A")}, {port("Out A")});
    fake.system->failOpenIn = true;
    fake.system->failOpenOut = true;
    try {
        OpenMidiInDevice(1, [](auto) {});
        FAIL();
    } catch (const EMidiIn& e) {
        EXPECT_STREQ(e.what(), "Unable to open midi-in device");
    }
    try {
        OpenMidiOutDevice(1);
        FAIL();
    } catch (const EMidiOut& e) {
        EXPECT_STREQ(e.what(), "Unable to open midi-out device");
    }
}

TEST(MidiDevices, NoBackendsMeansNoPorts) {
    InstallMidiBackends(nullptr, nullptr);
    EXPECT_EQ(MidiInDeviceCount(), 0);
    EXPECT_EQ(MidiOutDeviceCount(), 0);
    EXPECT_THROW(OpenMidiOutDevice(1), EMidiOut);
}

} // namespace
