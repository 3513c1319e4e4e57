#pragma once
// Calls into the MIDI library that talk to a server: a server that no longer answers (stopped,
// or stuck waiting for a frozen client) would hold the caller for as long as it likes. Such a
// call runs on a thread of its own and is waited for a bounded time; one that has not returned
// by then is abandoned: its thread goes on alone, owning what the call needs, and the caller
// carries on as if the call had failed.

#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

// The longest a call into the MIDI library may hold the program.
inline constexpr std::chrono::milliseconds MidiCallLimit{1000};

// Runs `call` (which owns everything it uses) and waits at most `limit` for it. True when it
// returned in time; what it raised is raised here then.
template <class Call> bool CallBounded(Call call, std::chrono::milliseconds limit = MidiCallLimit) {
    struct State {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::exception_ptr raised;
    };
    auto state = std::make_shared<State>();
    std::thread worker([state, call = std::move(call)]() mutable {
        std::exception_ptr raised;
        try {
            call();
        } catch (...) {
            raised = std::current_exception();
        }
        std::lock_guard lock(state->mutex);
        state->raised = raised;
        state->finished = true;
        state->done.notify_all();
    });
    std::unique_lock lock(state->mutex);
    if (state->done.wait_for(lock, limit, [&] { return state->finished; })) {
        lock.unlock();
        worker.join();
        if (state->raised) std::rethrow_exception(state->raised);
        return true;
    }
    worker.detach();
    return false;
}
