#include "gr33/MessageLog.h"

#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"

#include <algorithm>
#include <optional>

namespace {

// The patch number of the four address bytes at `at`; nothing for another address.
std::optional<int> patchAt(std::span<const std::uint8_t> bytes, std::size_t at) {
    const auto address = bytes.subspan(at, 4);
    for (int number = TempPatchNumber; number <= PatchCount; ++number) {
        const auto expected = PatchAddress(number);
        if (std::equal(expected.begin(), expected.end(), address.begin())) return number;
    }
    return std::nullopt;
}

} // namespace

std::string DescribeGr33Message(std::span<const std::uint8_t> bytes) {
    // F0 41 10 00 30, then 11 (request) or 12 (data set) and the address.
    static constexpr std::uint8_t roland[] = {0xF0, 0x41, 0x10, 0x00, 0x30};
    if (bytes.size() >= RequestMessageSize &&
        std::equal(std::begin(roland), std::end(roland), bytes.begin())) {
        const auto number = patchAt(bytes, 6);
        if (number && bytes[5] == 0x11 && bytes.size() == RequestMessageSize)
            return "Request " + PatchLabel(*number);
        if (number && bytes[5] == 0x12 && bytes.size() == DataMessageSize) {
            std::string name = NameToText(bytes.subspan(10, NameSize));
            name.erase(name.find_last_not_of(' ') + 1);
            return "Data " + PatchLabel(*number) + " '" + name + "'";
        }
    }
    return DescribeMidiMessage(bytes);
}

std::vector<std::string> Gr33LogLines(const MidiLogEntry& entry) {
    return MidiLogLines(entry, DescribeGr33Message(entry.bytes));
}
