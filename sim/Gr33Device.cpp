#include "sim/Gr33Device.h"

#include "base/Errors.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

constexpr std::uint8_t SysExStart = 0xF0;
constexpr std::uint8_t SysExEnd = 0xF7;
constexpr std::uint8_t FirstRealTime = 0xF8;
constexpr std::uint8_t DataSetCommand = 0x12;
constexpr std::uint8_t RequestCommand = 0x11;
constexpr std::size_t TruncatedLength = 100;

constexpr std::uint8_t NoteOn[] = {0x90, 0x3C, 0x64};
constexpr std::uint8_t ActiveSensing[] = {0xFE};

// F0 41 10 00 30 followed by the command byte.
bool hasRolandHeader(std::span<const std::uint8_t> m, std::uint8_t command) {
    static constexpr std::uint8_t header[] = {0xF0, 0x41, 0x10, 0x00, 0x30};
    return m.size() > 6 && std::equal(std::begin(header), std::end(header), m.begin()) &&
           m[5] == command;
}

// The patch number of the four address bytes at offset 6, or nothing for any other address.
std::optional<int> patchOfAddress(std::span<const std::uint8_t> m) {
    if (m.size() < 10 || m[8] != 0 || m[9] != 0) return std::nullopt;
    if (m[6] == 0x01 && m[7] < 0x80) return m[7] + 1;
    if (m[6] == 0x02 && m[7] == 0) return TempPatchNumber;
    return std::nullopt;
}

bool checksumValid(std::span<const std::uint8_t> m) {
    // The checksum byte is the one before F7 and covers everything from the address on.
    return RolandChecksum(m.subspan(6, m.size() - 8)) == m[m.size() - 2];
}

// Identity request to our device identifier or to every device.
bool isIdentityRequest(std::span<const std::uint8_t> m) {
    return m.size() == 6 && m[0] == 0xF0 && m[1] == 0x7E && (m[2] == 0x10 || m[2] == 0x7F) &&
           m[3] == 0x06 && m[4] == 0x01 && m[5] == 0xF7;
}

std::string patchText(std::optional<int> patch) {
    return patch ? PatchLabel(*patch) : std::string("identity");
}

} // namespace

Gr33Device::Gr33Device(std::unique_ptr<SimBank> bank, DeviceOptions options)
    : bank_(std::move(bank)), options_(std::move(options)) {}

std::vector<TimedMessage> Gr33Device::Receive(std::span<const std::uint8_t> bytes) {
    std::vector<TimedMessage> replies;
    Bytes current; // the System Exclusive message being collected, empty between messages
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::uint8_t b = bytes[i];
        if (b >= FirstRealTime) continue;
        if (!current.empty() && b >= 0x80 && b != SysExEnd) {
            // Any other status byte ends a System Exclusive message without F7.
            reject(current, "unterminated message");
            current.clear();
        }
        if (b == SysExStart) {
            current.push_back(b);
        } else if (!current.empty()) {
            current.push_back(b);
            if (b == SysExEnd) {
                auto arrival = options_.wire ? WireTime(i + 1) : std::chrono::microseconds(0);
                handleMessage(current, arrival, replies);
                current.clear();
            }
        }
    }
    if (!current.empty()) reject(current, "unterminated message");
    // A reply cannot start before the previous one has left the cable.
    std::chrono::microseconds lineFree{0};
    for (auto& r : replies) {
        if (options_.wire) {
            auto begin = std::max(r.due, lineFree);
            r.due = begin + WireTime(r.bytes.size());
            lineFree = r.due;
        }
    }
    return replies;
}

void Gr33Device::handleMessage(std::span<const std::uint8_t> m, std::chrono::microseconds arrival,
                               std::vector<TimedMessage>& replies) {
    if (isIdentityRequest(m)) {
        log("identity request");
        Bytes identity = ExpectedIdentityReply();
        if (HasFault(options_.faults, FaultKind::IdentityExtra, std::nullopt))
            identity.insert(identity.end() - 1, 0x00);
        reply(std::nullopt, arrival, std::move(identity), replies);
        return;
    }
    if (hasRolandHeader(m, RequestCommand)) {
        auto patch = patchOfAddress(m);
        static constexpr std::uint8_t size[] = {0x00, 0x01, 0x00, 0x00};
        if (m.size() != RequestMessageSize || !patch ||
            !std::equal(std::begin(size), std::end(size), m.begin() + 10) || !checksumValid(m))
            return reject(m, "request");
        log("request " + PatchLabel(*patch));
        auto& faults = options_.faults;
        int replyAddress = *patch;
        if (HasFault(faults, FaultKind::WrongAddress, patch)) replyAddress = *patch % 128 + 1;
        TPatch scratch;
        scratch.SetBytes(bank_->Patch(*patch), replyAddress);
        Bytes data;
        scratch.WriteSysEx(replyAddress, data);
        if (HasFault(faults, FaultKind::BadChecksum, patch))
            data[DataMessageSize - 2] = (data[DataMessageSize - 2] + 1) & 0x7F;
        if (HasFault(faults, FaultKind::Truncated, patch)) {
            data.resize(TruncatedLength);
            data.push_back(SysExEnd);
        }
        reply(patch, arrival, std::move(data), replies);
        return;
    }
    if (hasRolandHeader(m, DataSetCommand)) {
        auto patch = patchOfAddress(m);
        bool sevenBit = std::all_of(m.begin() + 1, m.end() - 1, [](auto b) { return b < 0x80; });
        if (m.size() != DataMessageSize || !patch || !sevenBit || !checksumValid(m))
            return reject(m, "data message");
        store(*patch, m);
        return;
    }
    reject(m, "unknown message");
}

void Gr33Device::reply(std::optional<int> patch, std::chrono::microseconds arrival, Bytes message,
                       std::vector<TimedMessage>& replies) {
    const auto& faults = options_.faults;
    if (HasFault(faults, FaultKind::Silent, patch)) {
        log("silent on " + patchText(patch));
        return;
    }
    auto due = arrival + std::chrono::microseconds(options_.delay);
    if (HasFault(faults, FaultKind::Late, patch)) due += LateReplyTime;
    if (HasFault(faults, FaultKind::Noise, patch)) {
        replies.push_back({due, Bytes(std::begin(NoteOn), std::end(NoteOn))});
        replies.push_back({due, Bytes(std::begin(ActiveSensing), std::end(ActiveSensing))});
    }
    replies.push_back({due, std::move(message)});
}

void Gr33Device::store(int number, std::span<const std::uint8_t> message) {
    PatchBytes bytes;
    std::copy_n(message.begin() + 10, PatchSize, bytes.begin());
    ++stored_;
    if (HasFault(options_.faults, FaultKind::IgnoreWrite, number)) {
        log("ignored write to " + PatchLabel(number));
        return;
    }
    // A changed first data byte stays a valid name character: the write looks plausible.
    if (HasFault(options_.faults, FaultKind::CorruptWrite, number))
        bytes[0] = bytes[0] == 'X' ? 'Y' : 'X';
    try {
        bank_->Store(number, bytes);
        log("stored " + PatchLabel(number));
    } catch (const EKelvoError& e) {
        // The device keeps the patch in memory; only its backing file is behind.
        log("stored " + PatchLabel(number) + ", bank file not written: " + e.what());
    }
}

void Gr33Device::reject(std::span<const std::uint8_t> message, const char* why) {
    ++rejected_;
    log(std::string("rejected ") + why + " (" + std::to_string(message.size()) + " bytes)");
}

void Gr33Device::log(const std::string& line) const {
    if (Log) Log(line);
}
