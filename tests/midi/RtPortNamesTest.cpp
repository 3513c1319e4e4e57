#include "midi/RtPortNames.h"

#include <gtest/gtest.h>

using namespace rtbackend;

// Our own clients' ports are left out of the list and the others keep RtMidi's indices.
TEST(RtPortNames, ForeignPortsSkipOurOwnAndUnnamedPorts) {
    const auto ports =
        ForeignPorts({"KelvoLight:KelvoLight Out", "GR-33:in", "", "KelvoLight-01:KelvoLight In",
                      "KelvoLightning:out", "Synth:KelvoLight", "KelvoLight-x:y"});
    std::vector<std::pair<unsigned, std::string>> found;
    for (const auto& port : ports)
        found.emplace_back(port.rtIndex, port.name);
    EXPECT_EQ(found, (std::vector<std::pair<unsigned, std::string>>{{1, "GR-33:in"},
                                                                    {4, "KelvoLightning:out"},
                                                                    {5, "Synth:KelvoLight"},
                                                                    {6, "KelvoLight-x:y"}}));
    EXPECT_TRUE(Listed(ports, "Synth:KelvoLight"));
    EXPECT_FALSE(Listed(ports, "KelvoLight:KelvoLight Out"));
}

TEST(RtPortNames, ConnectionIsHeldOnlyByOurPortOfThatName) {
    using Names = std::optional<std::vector<std::string>>;
    struct Case {
        Names connected;
        bool held;
    } cases[] = {
        {std::nullopt, false},
        {std::vector<std::string>{}, false},
        {Names{{"KelvoLight:KelvoLight Out"}}, true},
        {Names{{"Other:x", "KelvoLight-02:KelvoLight Out"}}, true},
        {Names{{"Other:KelvoLight Out"}}, false},
        {Names{{"KelvoLight:KelvoLight In"}}, false},
        {Names{{"KelvoLight:Not KelvoLight Out2"}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.connected && !c.connected->empty() ? c.connected->back() : "none");
        EXPECT_EQ(HoldsConnection(c.connected, "KelvoLight Out"), c.held);
    }
}

TEST(RtPortNames, AlsaKindsAreFoundByTheAddressAtTheEnd) {
    const std::map<std::pair<int, int>, TMidiTechnology> kinds{
        {{128, 0}, TMidiTechnology::mtSynth}, {{20, 1}, TMidiTechnology::mtFmSynth}};
    struct Case {
        const char* name;
        TMidiTechnology kind;
    } cases[] = {
        {"TiMidity:TiMidity port 0 128:0", TMidiTechnology::mtSynth},
        {"FM:out 20:1", TMidiTechnology::mtFmSynth},
        {"FM:out 20:10", TMidiTechnology::mtMidiPort},
        {"Through:port 128:1", TMidiTechnology::mtMidiPort},
        {"Synth 128:0 port", TMidiTechnology::mtMidiPort},
        {"TiMidity128:0", TMidiTechnology::mtMidiPort},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AlsaKindOf(c.name, kinds), c.kind);
        EXPECT_EQ(AlsaKindOf(c.name, {}), TMidiTechnology::mtMidiPort);
    }
}
