// The MIDI log: what its entries say about the GR-33's messages and others, the text of an
// entry, and the bound of the ring.
#include "gr33/MessageLog.h"

#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace {

Bytes DataMessage(int number, const char* name) {
    PatchBytes bytes{};
    std::memset(bytes.data(), ' ', NameSize);
    std::memcpy(bytes.data(), name, std::strlen(name));
    TPatch patch;
    patch.SetBytes(bytes, number);
    Bytes message;
    patch.WriteSysEx(number, message);
    return message;
}

} // namespace

TEST(MessageLog, DescribesTheMessages) {
    Bytes misaddressed = RequestMessage(23);
    misaddressed[6] = 0x05; // no patch's address
    Bytes shortData = DataMessage(23, "Lead");
    shortData.erase(shortData.begin() + 20);
    const struct {
        Bytes bytes;
        std::string description;
    } cases[] = {
        {RequestMessage(*PatchNumberOfLabel("A23")), "Request A23"},
        {RequestMessage(PatchCount), "Request D84"},
        {RequestMessage(TempPatchNumber), "Request Temporary Patch"},
        {DataMessage(*PatchNumberOfLabel("A23"), "Lead"), "Data A23 'Lead'"},
        {DataMessage(TempPatchNumber, "Warm Strings"), "Data Temporary Patch 'Warm Strings'"},
        {IdentityRequest(), "Identity request"},
        {ExpectedIdentityReply(), "Identity reply"},
        {misaddressed, "SysEx"},
        {shortData, "SysEx"},
        {{0x90, 60, 100}, "Note on 60"},
        {{0x81, 60, 0}, "Note off 60"},
        {{0xC3, 5}, "Program change 5"},
        {{0xE0, 0x00, 0x40}, "Pitch bend 8192"},
        {{0xF8}, "System message"},
        {{0x90, 60}, "Unknown"},
        {{0x3C, 0x40}, "Unknown"},
        {{}, "Unknown"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        EXPECT_EQ(DescribeGr33Message(c.bytes), c.description);
    }
}

TEST(MessageLog, EntryTextFoldsTheBytes) {
    const Bytes data = DataMessage(1, "Lead");
    const MidiLogEntry entry{1, std::chrono::system_clock::now(), MidiDirection::In,
                             "Virtual GR-33", data};
    const auto lines = Gr33LogLines(entry);
    ASSERT_EQ(lines.size(), 1 + (DataMessageSize + MidiLogBytesPerLine - 1) / MidiLogBytesPerLine);
    EXPECT_TRUE(lines[0].ends_with(" in  Virtual GR-33 140 bytes: Data A11 'Lead'")) << lines[0];
    EXPECT_EQ(lines[0][2], ':');
    // Read back, the hex lines hold the message's bytes in order, a full line of each but
    // the last.
    Bytes read;
    for (std::size_t k = 1; k < lines.size(); ++k) {
        ASSERT_TRUE(lines[k].starts_with("    ")) << lines[k];
        std::istringstream hex(lines[k]);
        std::size_t count = 0;
        for (unsigned value; hex >> std::hex >> value; ++count)
            read.push_back(static_cast<std::uint8_t>(value));
        if (k + 1 < lines.size()) {
            EXPECT_EQ(count, MidiLogBytesPerLine);
        }
    }
    EXPECT_EQ(read, data);
}

TEST(MessageLog, KeepsTheLastEntriesWhileWatched) {
    TMidiLog log;
    const std::uint8_t note[] = {0x90, 60, 100};
    log.Note(MidiDirection::Out, "Port", note); // nobody watches: not recorded
    std::size_t heard = 0;
    {
        auto watch = log.Attach([&](const MidiLogEntry&) { ++heard; });
        EXPECT_TRUE(log.Watched());
        for (std::size_t k = 0; k < MidiLogCapacity + 5; ++k)
            log.Note(MidiDirection::Out, "Port", note);
    }
    EXPECT_FALSE(log.Watched());
    log.Note(MidiDirection::Out, "Port", note);
    EXPECT_EQ(heard, MidiLogCapacity + 5);
    const auto entries = log.Entries();
    ASSERT_EQ(entries.size(), MidiLogCapacity);
    EXPECT_EQ(entries.front().sequence, 6u);
    EXPECT_EQ(entries.back().sequence, MidiLogCapacity + 5);

    // A later watch is handed what is there, then hears only what comes after.
    std::vector<MidiLogEntry> earlier;
    std::vector<std::uint64_t> later;
    auto watch =
        log.Attach([&](const MidiLogEntry& entry) { later.push_back(entry.sequence); }, &earlier);
    log.Note(MidiDirection::In, "Port", note);
    EXPECT_EQ(earlier.size(), MidiLogCapacity);
    EXPECT_EQ(later, std::vector<std::uint64_t>{MidiLogCapacity + 6});
}
