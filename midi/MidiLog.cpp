#include "midi/MidiLog.h"

#include "midi/MidiOutSysEx.h"

#include <algorithm>
#include <ctime>
#include <iomanip>
#include <sstream>
#include <utility>

TMidiLog::Watch::Watch(Watch&& other) noexcept
    : log_(std::exchange(other.log_, nullptr)), id_(other.id_) {}

TMidiLog::Watch& TMidiLog::Watch::operator=(Watch&& other) noexcept {
    if (this != &other) {
        if (log_) log_->detach(id_);
        log_ = std::exchange(other.log_, nullptr);
        id_ = other.id_;
    }
    return *this;
}

TMidiLog::Watch::~Watch() {
    if (log_) log_->detach(id_);
}

TMidiLog::Watch TMidiLog::Attach(Listener listener, std::vector<MidiLogEntry>* entries) {
    std::lock_guard lock(mutex_);
    const int id = nextId_++;
    listeners_.emplace(id, std::move(listener));
    if (entries) entries->assign(entries_.begin(), entries_.end());
    watchers_.fetch_add(1, std::memory_order_relaxed);
    return Watch(this, id);
}

void TMidiLog::detach(int id) {
    std::lock_guard lock(mutex_);
    if (listeners_.erase(id) > 0) watchers_.fetch_sub(1, std::memory_order_relaxed);
}

void TMidiLog::Add(MidiLogEntry entry) {
    std::lock_guard lock(mutex_);
    entry.sequence = ++sequence_;
    if (entries_.size() == MidiLogCapacity) entries_.pop_front();
    entries_.push_back(std::move(entry));
    for (const auto& [id, listener] : listeners_)
        if (listener) listener(entries_.back());
}

std::vector<MidiLogEntry> TMidiLog::Entries() const {
    std::lock_guard lock(mutex_);
    return {entries_.begin(), entries_.end()};
}

TMidiLog& MidiLog() {
    static TMidiLog log;
    return log;
}

std::string DescribeMidiMessage(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes[0] < 0x80) return "Unknown";
    const std::uint8_t status = bytes[0];
    if (status == 0xF0) {
        // Universal non-real-time identity messages: F0 7E device 06 01|02 ...
        if (bytes.size() >= 6 && bytes[1] == 0x7E && bytes[3] == 0x06) {
            if (bytes[4] == 0x01) return "Identity request";
            if (bytes[4] == 0x02) return "Identity reply";
        }
        return "SysEx";
    }
    if (bytes.size() < ShortMessageLength(status)) return "Unknown";
    const std::string first = bytes.size() > 1 ? std::to_string(bytes[1]) : std::string();
    switch (status & 0xF0) {
    case 0x80:
        return "Note off " + first;
    case 0x90:
        return "Note on " + first;
    case 0xA0:
        return "Key pressure " + first;
    case 0xB0:
        return "Control change " + first;
    case 0xC0:
        return "Program change " + first;
    case 0xD0:
        return "Channel pressure " + first;
    case 0xE0:
        return "Pitch bend " + std::to_string(bytes[1] + bytes[2] * 128);
    default:
        return "System message";
    }
}

std::vector<std::string> MidiLogLines(const MidiLogEntry& entry, const std::string& description) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(entry.time);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(entry.time.time_since_epoch())
            .count() %
        1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    std::ostringstream head;
    head << std::put_time(&local, "%H:%M:%S") << '.' << std::setw(3) << std::setfill('0') << millis
         << (entry.direction == MidiDirection::In ? " in  " : " out ") << entry.port << ' '
         << entry.bytes.size() << (entry.bytes.size() == 1 ? " byte: " : " bytes: ") << description;
    std::vector<std::string> lines{head.str()};
    static constexpr char digits[] = "0123456789ABCDEF";
    for (std::size_t start = 0; start < entry.bytes.size(); start += MidiLogBytesPerLine) {
        std::string line = "   ";
        for (std::size_t i = start; i < std::min(start + MidiLogBytesPerLine, entry.bytes.size());
             ++i) {
            line += ' ';
            line += digits[entry.bytes[i] >> 4];
            line += digits[entry.bytes[i] & 0x0F];
        }
        lines.push_back(std::move(line));
    }
    return lines;
}
