#pragma once
// A JackWatch whose cycle count, xruns and connections a test sets. WaitFor records what was
// waited for and succeeds when the count reached it, or moves the count there when the server
// is set to run on.

#include "midi/JackWatch.h"

#include <algorithm>
#include <map>
#include <memory>

struct FakeJackWatch : JackWatch {
    struct State {
        std::uint64_t count = 0;
        std::vector<std::uint64_t> xruns;
        bool gone = false;
        std::map<std::string, std::vector<std::string>> connections;
        std::vector<std::uint64_t> waits;
        std::string followed;
        bool running = false;
    };
    explicit FakeJackWatch(std::shared_ptr<State> s) : state(std::move(s)) {}

    std::uint64_t Count() const override { return state->count; }
    bool XrunBetween(std::uint64_t first, std::uint64_t last) const override {
        return std::any_of(state->xruns.begin(), state->xruns.end(),
                           [&](std::uint64_t x) { return first <= x && x <= last; });
    }
    bool Gone() const override { return state->gone; }
    void FollowDevice(const std::string& port) override { state->followed = port; }
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
