#pragma once
// The MIDI log: every message the device list's ports send and receive, with its time,
// direction, port name and bytes, kept as the last MidiLogCapacity entries. Nothing is
// recorded while nobody watches: then noting a message is one atomic test. A window or
// gr33 --log watches through a TMidiLog::Watch, whose listener hears each new entry as it is
// recorded. Receive handlers note messages on the backends' threads, so the ring and the
// listeners are guarded by one lock; a listener runs under it and must not call the log.
// What a message is (its description) is told by the layers that know the messages.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class MidiDirection : std::uint8_t { In, Out };

struct MidiLogEntry {
    std::uint64_t sequence = 0; // counts the entries recorded in the run, from 1
    std::chrono::system_clock::time_point time;
    MidiDirection direction = MidiDirection::Out;
    std::string port;
    std::vector<std::uint8_t> bytes;
};

inline constexpr std::size_t MidiLogCapacity = 10000;
// Bytes on one hex line of an entry's text.
inline constexpr std::size_t MidiLogBytesPerLine = 32;

class TMidiLog {
public:
    using Listener = std::function<void(const MidiLogEntry&)>;

    // Watching the log; recording stops when the last watch ends.
    class Watch {
    public:
        Watch() = default;
        Watch(Watch&& other) noexcept;
        Watch& operator=(Watch&& other) noexcept;
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

    private:
        friend class TMidiLog;
        Watch(TMidiLog* log, int id) : log_(log), id_(id) {}
        TMidiLog* log_ = nullptr;
        int id_ = 0;
    };

    // Starts watching. The listener (may be empty) hears every entry recorded from now on;
    // `entries`, when given, receives those recorded before, so that nothing is missed or
    // heard twice.
    [[nodiscard]] Watch Attach(Listener listener, std::vector<MidiLogEntry>* entries = nullptr);

    bool Watched() const noexcept { return watchers_.load(std::memory_order_relaxed) > 0; }

    // The send and receive paths: records the message now when someone watches.
    void Note(MidiDirection direction, const std::string& port,
              std::span<const std::uint8_t> bytes) {
        if (!Watched()) return;
        Add({0, std::chrono::system_clock::now(), direction, port, {bytes.begin(), bytes.end()}});
    }
    // Records the entry as given, numbering it; the oldest entry goes when the log is full.
    void Add(MidiLogEntry entry);

    std::vector<MidiLogEntry> Entries() const;

private:
    void detach(int id);

    std::atomic<int> watchers_{0};
    mutable std::mutex mutex_;
    std::deque<MidiLogEntry> entries_;
    std::map<int, Listener> listeners_;
    int nextId_ = 1;
    std::uint64_t sequence_ = 0;
};

// The log of the device list's ports.
TMidiLog& MidiLog();

// The generic name of a message: "Note on 60", "Program change 5", "Identity request",
// "SysEx", "Unknown" for bytes that are no message.
std::string DescribeMidiMessage(std::span<const std::uint8_t> bytes);

// The text of an entry: "12:34:56.789 out Virtual GR-33 16 bytes: Request A11", then the bytes
// in hex, MidiLogBytesPerLine to a line, each line indented by four blanks.
std::vector<std::string> MidiLogLines(const MidiLogEntry& entry, const std::string& description);
