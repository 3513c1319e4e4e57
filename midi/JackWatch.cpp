#include "midi/JackWatch.h"

#ifdef KELVO_HAVE_JACK

#include "midi/JackDevicePorts.h"
#include "midi/XrunLog.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <atomic>
#include <thread>

namespace {

class Watcher : public JackWatch {
public:
    explicit Watcher(jack_client_t* client) : client_(client) {}
    ~Watcher() override { jack_client_close(client_); } // deactivates first

    bool Start() {
        jack_on_info_shutdown(client_, &Watcher::shutdown, this);
        return jack_set_process_callback(client_, &Watcher::process, this) == 0 &&
               jack_set_xrun_callback(client_, &Watcher::xrun, this) == 0 &&
               jack_activate(client_) == 0;
    }

    std::uint64_t Count() const override { return count_.load(std::memory_order_acquire); }
    bool XrunBetween(std::uint64_t first, std::uint64_t last) const override {
        return xruns_.Between(first, last);
    }
    bool Gone() const override { return gone_.load(std::memory_order_acquire); }

    bool WaitFor(std::uint64_t target, std::chrono::milliseconds timeout) const override {
        // A short poll: the process thread must not block on a lock, and a cycle lasts a
        // millisecond or more, so this costs a fraction of one.
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (Count() < target) {
            if (Gone() || std::chrono::steady_clock::now() >= until) return false;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }

    std::optional<std::vector<std::string>> Connections(const std::string& name) const override {
        if (Gone()) return std::nullopt;
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

    void FollowDevice(const std::string& port) override {
        if (Gone()) return;
        std::vector<std::string> outputs;
        if (const char** ports =
                jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput)) {
            for (const char** each = ports; *each; ++each)
                outputs.emplace_back(*each);
            jack_free(ports);
        }
        auto sources = JackDevicePorts(port, outputs);
        if (!input_)
            input_ =
                jack_port_register(client_, "follow", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        if (!input_ || sources == followed_) return;
        jack_port_disconnect(client_, input_);
        for (const auto& source : sources)
            jack_connect(client_, source.c_str(), jack_port_name(input_));
        followed_ = std::move(sources);
    }

private:
    static int process(jack_nframes_t, void* self) {
        static_cast<Watcher*>(self)->count_.fetch_add(1, std::memory_order_release);
        return 0;
    }
    // The report is tagged with the cycle count at its arrival.
    static int xrun(void* self) {
        auto* watcher = static_cast<Watcher*>(self);
        watcher->xruns_.Add(watcher->Count());
        return 0;
    }
    static void shutdown(jack_status_t, const char*, void* self) {
        static_cast<Watcher*>(self)->gone_.store(true, std::memory_order_release);
    }

    jack_client_t* client_;
    jack_port_t* input_ = nullptr;
    std::vector<std::string> followed_;
    std::atomic<std::uint64_t> count_{0};
    XrunLog xruns_;
    std::atomic<bool> gone_{false};
};

} // namespace

std::unique_ptr<JackWatch> WatchJackServer(const char* clientName) {
    // The JACK library prints its complaints ("Server is not running") to stderr, possibly
    // after the program's own message for the same trouble; the backend reports it itself.
    jack_set_error_function([](const char*) {});
    jack_set_info_function([](const char*) {});
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
