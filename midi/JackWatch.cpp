#include "midi/JackWatch.h"

#ifdef KELVO_HAVE_JACK

#include <jack/jack.h>

#include <atomic>
#include <thread>

namespace {

class Watcher : public JackWatch {
public:
    explicit Watcher(jack_client_t* client) : client_(client) {}
    ~Watcher() override { jack_client_close(client_); } // deactivates first

    bool Start() {
        return jack_set_process_callback(client_, &Watcher::process, this) == 0 &&
               jack_activate(client_) == 0;
    }

    std::uint64_t Count() const override { return count_.load(std::memory_order_acquire); }

    bool WaitFor(std::uint64_t target, std::chrono::milliseconds timeout) const override {
        // A short poll: the process thread must not block on a lock, and a cycle lasts a
        // millisecond or more, so this costs a fraction of one.
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (Count() < target) {
            if (std::chrono::steady_clock::now() >= until) return false;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }

    std::optional<std::vector<std::string>> Connections(const std::string& name) const override {
        jack_port_t* port = jack_port_by_name(client_, name.c_str());
        if (!port) return std::nullopt;
        std::vector<std::string> names;
        if (const char** connected = jack_port_get_all_connections(client_, port)) {
            for (const char** each = connected; *each; ++each)
                names.emplace_back(*each);
            jack_free(connected);
        }
        return names;
    }

private:
    static int process(jack_nframes_t, void* self) {
        static_cast<Watcher*>(self)->count_.fetch_add(1, std::memory_order_release);
        return 0;
    }

    jack_client_t* client_;
    std::atomic<std::uint64_t> count_{0};
};

} // namespace

std::unique_ptr<JackWatch> WatchJackServer(const char* clientName) {
    jack_status_t status{};
    jack_client_t* client = jack_client_open(clientName, JackNoStartServer, &status);
    if (!client) return nullptr;
    auto watcher = std::make_unique<Watcher>(client);
    if (!watcher->Start()) return nullptr;
    return watcher;
}

#else

std::unique_ptr<JackWatch> WatchJackServer(const char*) {
    return nullptr;
}

#endif
