#include "midi/MidiDevices.h"

#include "base/Errors.h"
#include "tests/midi/FakeMidiBackend.h"

#include <gtest/gtest.h>

namespace {

std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

} // namespace

// The virtual device's ports come after the system's; number 0 of the outputs is the mapper,
// which is not counted and cannot be opened; opening number d reaches the right backend at the
// right index.
TEST(MidiDevices, NumbersRunThroughBothBackends) {
    using K = TMidiTechnology;
    auto virt = std::make_shared<FakeMidiState>();
    virt->inputs = virt->outputs = {{"Virtual GR-33", K::mtMidiPort}};
    InstalledFake fake({{"In A", K::mtMidiPort}, {"In B", K::mtMidiPort}}, {{"Out A", K::mtSynth}},
                       virt);
    EXPECT_EQ(MidiInDeviceCount(), 3);
    EXPECT_EQ(MidiOutDeviceCount(), 2);
    std::vector<std::pair<std::string, K>> outs, listed;
    for (int d = 0; d <= 2; ++d) {
        TMidiOutSpecs specs;
        GetMidiOutSpecs(d, specs);
        outs.emplace_back(specs.Name, specs.Technology);
    }
    for (const auto& specs : MidiOutDeviceList())
        listed.emplace_back(specs.Name, specs.Technology);
    EXPECT_EQ(outs, (std::vector<std::pair<std::string, K>>{{"MIDI Mapper", K::mtMapper},
                                                            {"Out A", K::mtSynth},
                                                            {"Virtual GR-33", K::mtMidiPort}}));
    EXPECT_EQ(listed, outs);
    std::vector<std::string> ins, inList;
    for (int d = 1; d <= 3; ++d) {
        TMidiInSpecs specs;
        GetMidiInSpecs(d, specs);
        ins.push_back(specs.Name);
    }
    for (const auto& specs : MidiInDeviceList())
        inList.push_back(specs.Name);
    EXPECT_EQ(ins, (std::vector<std::string>{"In A", "In B", "Virtual GR-33"}));
    EXPECT_EQ(inList, ins);

    OpenMidiInDevice(2, [](auto) {});
    OpenMidiInDevice(3, [](auto) {});
    OpenMidiOutDevice(2);
    EXPECT_EQ(fake.system->log, (std::vector<std::string>{"open in 1", "close in"}));
    EXPECT_EQ(virt->log,
              (std::vector<std::string>{"open in 0", "close in", "open out 0", "close out"}));
}

// Numbers outside the list, the mapper, a refusing backend and no backends at all fail with
// the device texts.
TEST(MidiDevices, FailuresCarryTheDeviceTexts) {
    for (bool refuse : {false, true}) {
        SCOPED_TRACE(refuse);
        InstalledFake fake({{"In A", TMidiTechnology::mtMidiPort}},
                           {{"Out A", TMidiTechnology::mtMidiPort}});
        fake.system->failOpenIn = fake.system->failOpenOut = refuse;
        TMidiInSpecs in;
        TMidiOutSpecs out;
        for (int device : {0, 2, -1}) {
            SCOPED_TRACE(device);
            EXPECT_EQ(failureOf([&] { GetMidiInSpecs(device, in); }),
                      "Unable to retrieve midi-in device capabilities");
            EXPECT_EQ(failureOf([&] { OpenMidiInDevice(device, [](auto) {}); }),
                      "Unable to open midi-in device");
            EXPECT_EQ(failureOf([&] { GetMidiOutSpecs(device, out); }),
                      device ? "Unable to retrieve midi-out device capabilities" : "");
            EXPECT_EQ(failureOf([&] { OpenMidiOutDevice(device); }),
                      "Unable to open midi-out device");
        }
        EXPECT_EQ(failureOf([&] { OpenMidiInDevice(1, [](auto) {}); }),
                  refuse ? "Unable to open midi-in device" : "");
        EXPECT_EQ(failureOf([&] { OpenMidiOutDevice(1); }),
                  refuse ? "Unable to open midi-out device" : "");
        EXPECT_EQ(fake.system->OpenPorts(), 0);
    }
    InstallMidiBackends(nullptr, nullptr);
    EXPECT_EQ(MidiInDeviceCount() + MidiOutDeviceCount(), 0);
    EXPECT_EQ(MidiOutDeviceList().size(), 1u);
    EXPECT_THROW(OpenMidiOutDevice(1), EMidiOut);
}
