// The RtMidi backend piece by piece, over a scripted client and a watched server.

#include "base/Errors.h"
#include "midi/JackDevicePorts.h"
#include "midi/JackSendState.h"
#include "midi/RtApiChoice.h"
#include "midi/RtMidiBackend.h"
#include "midi/RtOutputPort.h"
#include "midi/XrunLog.h"
#include "tests/midi/FakeMidiBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <optional>
#include <thread>

using namespace rtbackend;
using namespace std::chrono_literals;
using Cycles = std::vector<std::uint64_t>;

namespace {

// A JackWatch set by the test; WaitFor records its target and, if running, moves the count there.
struct FakeJackWatch : JackWatch {
    struct State {
        std::uint64_t count = 0;
        std::vector<std::uint64_t> xruns, waits;
        bool gone = false, running = false;
        std::map<std::string, std::vector<std::string>> connections;
    };
    explicit FakeJackWatch(std::shared_ptr<State> s) : state(std::move(s)) {}

    std::uint64_t Count() const override { return state->count; }
    bool XrunBetween(std::uint64_t first, std::uint64_t last) const override {
        return std::any_of(state->xruns.begin(), state->xruns.end(),
                           [&](std::uint64_t x) { return first <= x && x <= last; });
    }
    bool Gone() const override { return state->gone; }
    void FollowDevice(const std::string&) override {}
    bool WaitFor(std::uint64_t target, std::chrono::milliseconds) const override {
        state->waits.push_back(target);
        if (state->running) state->count = std::max(state->count, target);
        return state->count >= target;
    }
    std::optional<std::vector<std::string>> Connections(const std::string& name) const override {
        auto found = state->connections.find(name);
        if (found == state->connections.end()) return std::nullopt;
        return found->second;
    }

    std::shared_ptr<State> state;
};

// An RtMidi client whose ports are a list of names; it logs what it is asked to do.
struct FakeRtMidi : RtMidi {
    std::vector<std::string> names{"KelvoLight:KelvoLight In", "A:out", "B:out"};
    std::vector<std::string> log;
    ErrorSink* errors = nullptr;
    bool refuse = false, fail = false, open = false;
    std::chrono::milliseconds hang{0};

    void openPort(unsigned index, const std::string& name) override {
        std::this_thread::sleep_for(hang);
        log.push_back("open " + std::to_string(index) + " " + name);
        if (fail) ErrorSink::Collect(RtMidiError::DRIVER_ERROR, "", errors);
        open = !refuse;
    }
    void openVirtualPort(const std::string&) override {}
    unsigned getPortCount() override { return static_cast<unsigned>(names.size()); }
    std::string getPortName(unsigned index) override { return names.at(index); }
    void closePort() override {
        log.push_back("close");
        open = false;
    }
    bool isPortOpen() const override { return open; }
    void setErrorCallback(RtMidiErrorCallback, void*) override {}
};

struct FakeClient {
    ErrorSink errors;
    FakeRtMidi midi;
};

// The link of a fresh client; on JACK its gate watches `watch`.
struct FakeLink : SendingLink {
    explicit FakeLink(bool jack) : SendingLink(std::make_shared<ServerHealth>()) {
        client->midi.errors = &client->errors;
        if (jack)
            gate = std::make_shared<CycleGate>(std::make_unique<FakeJackWatch>(watch), health);
    }
    ~FakeLink() override { End(); }
    RtMidi& Midi() override { return client->midi; }
    std::shared_ptr<void> Client() override { return client; }
    std::shared_ptr<void> TakeClient() override { return std::move(client); }
    ErrorSink& Errors() override { return client->errors; }
    void SendMessage(std::span<const std::uint8_t> message) override {
        client->midi.log.push_back("send " + std::to_string(message.size()));
        if (report) ErrorSink::Collect(*report, "", &client->errors);
    }
    // Connects to "A:out" as "Own" with the count at `count`.
    bool ConnectA(std::uint64_t count = 0) {
        std::lock_guard lock(midiMutex);
        watch->count = count;
        return Connect("A:out", "Own");
    }

    std::shared_ptr<FakeJackWatch::State> watch = std::make_shared<FakeJackWatch::State>();
    std::shared_ptr<FakeClient> client = std::make_shared<FakeClient>();
    std::optional<RtMidiError::Type> report; // what RtMidi reports on a send
};

} // namespace

// A call in time is waited for, its exception passed on; a late one finishes alone, owning all.
TEST(BoundedCall, WaitsNoLongerThanTheLimit) {
    auto owned = std::make_shared<std::atomic<int>>(0);
    EXPECT_TRUE(CallBounded([owned] { *owned = 1; }, 1s));
    EXPECT_EQ(*owned, 1);
    EXPECT_THROW(CallBounded([] { throw EMidiOut("no"); }, 1s), EMidiOut);
    const auto start = Clock::now();
    EXPECT_FALSE(CallBounded([owned] { std::this_thread::sleep_for(300ms), *owned = 2; }, 50ms));
    EXPECT_LT(Clock::now() - start, 250ms);
    EXPECT_EQ(owned.use_count(), 2); // the abandoned call still holds it
    while (owned.use_count() > 1)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(*owned, 2);
}

// Sends wait for the settle cycles after the latest connection; a timed-out wait marks the
// server unanswering, ends waiting, and keeps the watcher alive.
TEST(CycleGate, WaitsForTheGraphUntilTheServerStalls) {
    for (bool stall : {false, true}) {
        SCOPED_TRACE(stall);
        std::weak_ptr<FakeJackWatch::State> watched;
        {
            auto state = std::make_shared<FakeJackWatch::State>();
            auto health = std::make_shared<ServerHealth>();
            CycleGate gate(std::make_unique<FakeJackWatch>(state), health);
            watched = state;
            EXPECT_TRUE(gate.WaitUntilOpen());
            for (std::uint64_t count : {10, 5})
                state->count = count, gate.Connected();
            state->count = stall ? 13 : 14;
            EXPECT_EQ(gate.WaitUntilOpen(), !stall);
            EXPECT_EQ(health->unanswering, stall);
            EXPECT_EQ(gate.WaitFor(0), !stall);
            EXPECT_EQ(state->waits, stall ? Cycles({0, 14}) : Cycles({0, 14, 0}));
        }
        EXPECT_EQ(watched.expired(), !stall);
    }
}

// A device is its client and the numbered clients named after it.
TEST(JackDevicePorts, TheClientAndItsNumberedSiblings) {
    const std::vector<std::string> ports{"Sim:out", "Sim-01:out", "Sim-x:out",     "Sim-:out",
                                         "Si:out",  "Sim-02:b:c", "Other-Sim:out", "Sim0:out"};
    const std::vector<std::string> device{"Sim:out", "Sim-01:out", "Sim-02:b:c"};
    for (const char* port : {"Sim:in", "Sim-01:in", "Sim-7:x", "Sim"})
        EXPECT_EQ(JackDevicePorts(port, ports), device) << port;
    EXPECT_EQ(JackDevicePorts("Sim-x:in", ports), std::vector<std::string>{"Sim-x:out"});
    EXPECT_EQ(JackDevicePorts("Si:in", ports), std::vector<std::string>{"Si:out"});
}

// A message sent in cycle 100 has left at 108 without an xrun from 100 to 108.
TEST(JackSendState, FollowsTheCyclesXrunsAndConnection) {
    using enum SendState;
    // gone, drops minded, count, xrun (0: none), connected: state, connection asked
    const std::tuple<bool, bool, std::uint64_t, std::uint64_t, bool, SendState, bool> cases[] = {
        {true, true, 200, 0, true, Failed, false},    {true, false, 200, 0, true, Failed, false},
        {false, false, 100, 100, true, Done, true},   {false, false, 100, 0, false, Failed, true},
        {false, true, 107, 0, true, Pending, false},  {false, true, 108, 0, true, Done, true},
        {false, true, 108, 0, false, Failed, true},   {false, true, 108, 100, true, Dropped, true},
        {false, true, 300, 108, true, Dropped, true}, {false, true, 300, 99, true, Done, true},
        {false, true, 300, 109, true, Done, true}};
    for (auto [gone, mind, count, xrun, connected, expected, asks] : cases) {
        SCOPED_TRACE(testing::Message() << gone << mind << count << " " << xrun << connected);
        auto state = std::make_shared<FakeJackWatch::State>();
        *state = {count, {xrun}, {}, gone, false, {}};
        bool asked = false;
        const bool answer = connected;
        EXPECT_EQ(
            JackSendState(FakeJackWatch(state), 100, mind, [&] { return asked = true, answer; }),
            expected);
        EXPECT_EQ(asked, asks);
    }
}

// APIs by our or RtMidi's names, any case; automatic: ALSA if it opens, JACK if it answers, else
// another, else JACK, ALSA, dummy.
TEST(RtApiChoice, NamedAndAutomaticChoice) {
    using A = RtMidi::Api;
    const std::vector<A> all{A::MACOSX_CORE, A::LINUX_ALSA, A::UNIX_JACK, A::WINDOWS_MM,
                             A::RTMIDI_DUMMY};
    const std::pair<const char*, std::optional<A>> names[] = {
        {"alsa", A::LINUX_ALSA},  {"windows multimedia", A::WINDOWS_MM},
        {"JACK", A::UNIX_JACK},   {"coremidi", A::MACOSX_CORE},
        {"core", A::MACOSX_CORE}, {"WINMM", A::WINDOWS_MM},
        {"jac", std::nullopt},    {"jackd", std::nullopt},
        {"", std::nullopt}};
    for (auto [name, api] : names)
        EXPECT_EQ(NamedApi(name, all), api) << name;
    EXPECT_EQ(NamedApi("jack", {A::LINUX_ALSA}), std::nullopt);
    for (A api : all)
        EXPECT_EQ(NamedApi(ApiDisplayName(api), all), api) << ApiDisplayName(api);
    // compiled, ALSA sequencer opens, JACK answers: the API, whether JACK was asked
    const std::tuple<std::vector<A>, bool, bool, A, bool> cases[] = {
        {{A::LINUX_ALSA, A::UNIX_JACK}, true, true, A::LINUX_ALSA, false},
        {{A::UNIX_JACK, A::LINUX_ALSA}, false, true, A::UNIX_JACK, true},
        {{A::UNIX_JACK, A::LINUX_ALSA}, false, false, A::UNIX_JACK, true},
        {{A::UNIX_JACK}, true, false, A::UNIX_JACK, true},
        {{A::LINUX_ALSA, A::RTMIDI_DUMMY}, false, true, A::LINUX_ALSA, false},
        {{A::RTMIDI_DUMMY, A::LINUX_ALSA, A::UNIX_JACK, A::MACOSX_CORE}, 0, 0, A::MACOSX_CORE, 1},
        {{A::RTMIDI_DUMMY}, true, true, A::RTMIDI_DUMMY, false},
        {{}, false, false, A::RTMIDI_DUMMY, false}};
    for (const auto& [compiled, alsa, jack, api, asks] : cases) {
        SCOPED_TRACE(testing::Message() << compiled.size() << alsa << jack);
        bool asked = false;
        const bool answer = jack;
        EXPECT_EQ(AutomaticApi(compiled, alsa, [&] { return asked = true, answer; }), api);
        EXPECT_EQ(asked, asks);
    }
}

// Every compiled API can be named; opening a port beyond the list fails.
TEST(RtApiChoice, BackendsOfTheCompiledApis) {
    EXPECT_EQ(RtMidiApiNames().size(), CompiledApis().size());
    for (const auto& name : RtMidiApiNames()) {
        SCOPED_TRACE(name);
        auto backend = CreateRtMidiBackend(name);
        EXPECT_THROW(backend->OpenOutput(static_cast<int>(backend->OutputPorts().size())),
                     EMidiOut);
        EXPECT_THROW(backend->OpenInput(-1, [](auto) {}), EMidiIn);
    }
    EXPECT_EQ(FailureOf([] { CreateRtMidiBackend("midi"); }), "Unknown MIDI API: midi");
}

// Connect finds the port by name; a refusal leaves it closed; a connection holds sends back.
TEST(RtLink, ConnectsByNameOrNotAtAll) {
    // name, refused, reported: connected, what the client was asked
    const std::tuple<const char*, bool, bool, bool, const char*> cases[] = {
        {"B:out", false, false, true, "open 2 Own"},
        {"C:out", false, false, false, ""},
        {"KelvoLight:KelvoLight In", false, false, false, ""},
        {"A:out", true, false, false, "open 1 Own, close"},
        {"A:out", false, true, false, "open 1 Own, close"}};
    for (auto [name, refuse, fail, connected, log] : cases) {
        SCOPED_TRACE(name);
        FakeLink link(true);
        link.client->midi.refuse = refuse;
        link.client->midi.fail = fail;
        link.watch->count = 10;
        std::lock_guard lock(link.midiMutex);
        EXPECT_EQ(link.Connect(name, "Own"), connected);
        EXPECT_EQ(Joined(link.client->midi.log), log);
        EXPECT_EQ(link.target, connected ? name : "");
        link.watch->count = 20;
        EXPECT_TRUE(link.gate->WaitUntilOpen());
        EXPECT_EQ(link.watch->waits.back(), connected ? 14u : 0u);
    }
}

// A connection closes after its last message left (JACK cycles, else the drain allowance); the
// end of the link waits the cycles after the close and lets the client go.
TEST(RtLink, ClosesAfterTheLastMessageLeft) {
    for (bool jack : {true, false})
        for (bool sent : {true, false}) {
            SCOPED_TRACE(testing::Message() << "jack " << jack << " sent " << sent);
            std::weak_ptr<FakeClient> client;
            std::shared_ptr<FakeJackWatch::State> watch;
            const auto start = Clock::now();
            {
                FakeLink link(jack);
                client = link.client;
                watch = link.watch;
                ASSERT_TRUE(link.ConnectA());
                link.sent = sent;
                link.lastSend = Clock::now();
                link.lastSendCycle = 20;
                watch->count = 40;
                watch->running = true;
            }
            EXPECT_TRUE(client.expired());
            const auto took = Clock::now() - start;
            EXPECT_EQ(took >= DrainAllowance + SettleBeforeDestroy, !jack && sent);
            EXPECT_EQ(took >= SettleBeforeDestroy, !jack);
            EXPECT_EQ(watch->waits, !jack ? Cycles() : sent ? Cycles({24, 44}) : Cycles({44}));
        }
}

// A call past the limit abandons the client, kept alive, and marks the server unanswering.
TEST(RtLink, ClientThatHangsIsAbandoned) {
    std::weak_ptr<FakeClient> client;
    {
        FakeLink link(true);
        client = link.client;
        link.client->midi.hang = MidiCallLimit + 200ms;
        EXPECT_FALSE(link.ConnectA());
        EXPECT_TRUE(link.abandoned);
        EXPECT_TRUE(link.health->unanswering);
        std::lock_guard lock(link.midiMutex);
        EXPECT_FALSE(link.CallBounded([](RtMidi&) {}));
    }
    EXPECT_FALSE(client.expired());
}

// An unborrowed connection is stale when its port left, the server lost our end at the far port,
// or (unwatched) it idled past the refresh.
TEST(RtLink, StaleConnections) {
    // watched, connected, users, port listed, our end at the far port, idle: stale
    const std::tuple<bool, bool, int, const char*, const char*, int, bool> cases[] = {
        {false, false, 0, "B:out", "KelvoLight:Own", 5000, false},
        {false, true, 0, "A:out", "", 10, false},
        {false, true, 0, "B:out", "KelvoLight:Own", 10, true},
        {false, true, 1, "B:out", "KelvoLight:Own", 5000, false},
        {false, true, 0, "A:out", "KelvoLight:Own", 1500, true},
        {true, false, 0, "B:out", "", 10, false},
        {true, true, 0, "A:out", "KelvoLight-01:Own", 5000, false},
        {true, true, 0, "A:out", "", 10, true},
        {true, true, 0, "A:out", "Other:Own", 10, true},
        {true, true, 0, "B:out", "KelvoLight:Own", 10, true},
        {true, true, 2, "A:out", "", 10, false}};
    for (auto [jack, connected, users, listed, heldBy, idle, stale] : cases) {
        SCOPED_TRACE(testing::Message() << jack << connected << users << listed << heldBy);
        FakeLink link(jack);
        if (*heldBy) link.watch->connections["A:out"] = {heldBy};
        if (connected) {
            ASSERT_TRUE(link.ConnectA());
        }
        std::lock_guard lock(link.midiMutex);
        EXPECT_EQ(link.StillConnected(), !jack || !connected || heldBy[0] == 'K');
        link.users = users;
        const auto now = Clock::now();
        link.lastUse = now - std::chrono::milliseconds(idle);
        EXPECT_EQ(link.Stale({{0, listed}}, now), stale);
        link.users = 0;
    }
}

// A send fails when closed, the server is gone, not yet in the graph, or RtMidi reports
// anything; on JACK a message counts from its send's cycle, elsewhere it is done at once.
TEST(RtOutputPort, SendsOnlyIntoTheServersGraph) {
    using enum SendState;
    const struct {
        bool jack, gone, inGraph;
        std::optional<RtMidiError::Type> report;
        bool sends;
    } cases[] = {{false, false, true, std::nullopt, true},
                 {false, false, true, RtMidiError::WARNING, false},
                 {false, false, true, RtMidiError::DRIVER_ERROR, false},
                 {true, false, true, std::nullopt, true},
                 {true, false, true, RtMidiError::DEBUG_WARNING, false},
                 {true, false, false, std::nullopt, false},
                 {true, true, true, std::nullopt, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.jack << c.gone << c.inGraph << c.report.has_value());
        auto link = std::make_shared<FakeLink>(c.jack);
        link->watch->connections["A:out"] = {"KelvoLight:Own"};
        ASSERT_TRUE(link->ConnectA(c.inGraph ? 96 : 100));
        link->watch->count = 100;
        link->report = c.report;
        link->users = 1;
        RtOutputPort port(link);
        link->watch->gone = c.gone;
        const std::uint8_t message[] = {0xF0, 0x41, 0xF7};
        EXPECT_EQ(FailureOf([&] { port.Send(message); }),
                  c.sends ? "" : "Unable to send data to open midi-out device");
        EXPECT_EQ(link->client->midi.log.back() == "send 3", c.sends || c.report);
        EXPECT_EQ(link->sent, c.sends || c.report.has_value());
        const SendState other = c.gone ? Failed : Done; // where no cycles are counted
        const bool counted = c.jack && !c.gone && c.inGraph;
        auto at = [&](std::uint64_t count, Cycles xruns, bool mind) {
            link->watch->count = count;
            link->watch->xruns = std::move(xruns);
            return port.Progress(mind);
        };
        EXPECT_EQ(at(107, {}, true), counted ? Pending : other);
        EXPECT_EQ(at(108, {}, true), other);
        EXPECT_EQ(at(108, {108}, true), counted ? Dropped : other);
        EXPECT_EQ(at(108, {108}, false), other);
        link->watch->connections["A:out"].clear();
        EXPECT_EQ(port.Progress(false), c.jack ? Failed : Done);
        for (int twice = 0; twice < 2; ++twice) {
            port.Close();
            EXPECT_EQ(link->users, 0);
            EXPECT_EQ(port.Progress(false), Failed);
            EXPECT_THROW(port.Send(message), EMidiOut);
        }
    }
}

// Our own ports are left out, the others keep RtMidi's indices; only our port holds a connection.
TEST(RtPortNames, OurOwnPortsAndConnections) {
    const auto ports =
        ForeignPorts({"KelvoLight:KelvoLight Out", "GR-33:in", "", "KelvoLight-01:KelvoLight In",
                      "KelvoLightning:out", "Synth:KelvoLight", "KelvoLight-x:y"});
    std::string found;
    for (const auto& port : ports)
        found += std::to_string(port.rtIndex) + " " + port.name + ";";
    EXPECT_EQ(found, "1 GR-33:in;4 KelvoLightning:out;5 Synth:KelvoLight;6 KelvoLight-x:y;");
    EXPECT_TRUE(Listed(ports, "Synth:KelvoLight"));
    EXPECT_FALSE(Listed(ports, "KelvoLight:KelvoLight Out"));
    using Names = std::vector<std::string>;
    EXPECT_FALSE(HoldsConnection(std::nullopt, "KelvoLight Out"));
    const std::pair<Names, bool> held[] = {{{}, false},
                                           {{"KelvoLight:KelvoLight Out"}, true},
                                           {{"Other:x", "KelvoLight-02:KelvoLight Out"}, true},
                                           {{"Other:KelvoLight Out"}, false},
                                           {{"KelvoLight:KelvoLight In"}, false},
                                           {{"KelvoLight:Not KelvoLight Out2"}, false}};
    for (const auto& [names, holds] : held)
        EXPECT_EQ(HoldsConnection(names, "KelvoLight Out"), holds) << names.size();
}

TEST(RtPortNames, AlsaKindsAreFoundByTheAddressAtTheEnd) {
    using K = TMidiTechnology;
    const std::map<std::pair<int, int>, K> kinds{{{128, 0}, K::mtSynth}, {{20, 1}, K::mtFmSynth}};
    const std::pair<const char*, K> cases[] = {{"TiMidity:TiMidity port 0 128:0", K::mtSynth},
                                               {"FM:out 20:1", K::mtFmSynth},
                                               {"FM:out 20:10", K::mtMidiPort},
                                               {"Through:port 128:1", K::mtMidiPort},
                                               {"Synth 128:0 port", K::mtMidiPort},
                                               {"TiMidity128:0", K::mtMidiPort}};
    for (auto [name, kind] : cases) {
        EXPECT_EQ(AlsaKindOf(name, kinds), kind) << name;
        EXPECT_EQ(AlsaKindOf(name, {}), K::mtMidiPort) << name;
    }
}

TEST(XrunLog, ReportsWithinTheRangeBothEndsIncluded) {
    XrunLog log;
    EXPECT_FALSE(log.Between(0, 1000));
    log.Add(10);
    for (auto [first, last, found] : std::vector<std::tuple<int, int, bool>>{
             {10, 10, true}, {5, 10, true}, {10, 20, true}, {11, 20, false}, {0, 9, false}})
        EXPECT_EQ(log.Between(first, last), found) << first << ".." << last;
    for (std::uint64_t cycle = 100; cycle < 100 + XrunLog::Kept; ++cycle)
        log.Add(cycle);
    EXPECT_FALSE(log.Between(0, 99)); // only the latest reports are kept
    EXPECT_TRUE(log.Between(100, 100));
}
