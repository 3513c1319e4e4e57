// The patch record: emptiness, names and their characters, labels, the value codings, the
// data messages byte for byte with their validation, and the MIDI log: what its entries say
// about the messages, the text of an entry, and the bound of the ring.
#include "gr33/MessageLog.h"
#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"
#include "tests/midi/FakeMidiBackend.h"
#include "tests/support/FailureOf.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace {

std::string nameText(const std::array<std::uint8_t, NameSize>& name) {
    return std::string(name.begin(), name.end());
}

std::string failureOf(const TPatch& patch, int number) {
    return FailureOf([&] { patch.CheckNotEmpty(number); });
}

TEST(PatchRecord, EmptyMeansEveryByteZero) {
    TPatch patch;
    EXPECT_EQ(patch.GetName(), "Empty");
    EXPECT_EQ(failureOf(patch, PatchCount), "Patch (D84) is empty!");
    EXPECT_EQ(failureOf(patch, 0), "Patch (Temporary Patch) is empty!");
    for (std::size_t i : {0, 65, 127}) {
        patch.Data()[i] = 1;
        EXPECT_FALSE(patch.IsEmpty()) << "byte " << i;
        EXPECT_EQ(failureOf(patch, 1), "");
        patch.Clear();
        EXPECT_TRUE(patch.IsEmpty());
    }
    // The name is the bytes as they are, trailing blanks and device glyphs unmapped.
    std::memcpy(patch.Data(), "A\\~\x7f        ", NameSize);
    EXPECT_EQ(patch.GetName(), std::string("A\\~\x7f        "));
}

TEST(PatchRecord, NameCharactersMapBothWays) {
    const std::uint8_t glyphs[NameSize] = {0x41, 0x5C, 0x7E, 0x7F, ' ', ' ',
                                           ' ',  ' ',  ' ',  ' ',  ' ', ' '};
    EXPECT_EQ(NameToText(glyphs), "A\u00A5\u00BB\u00AB        ");
    EXPECT_EQ(nameText(TextToName("A\u00A5\u00BB\u00AB")), "A\\~\x7f        ");
    const std::uint8_t withControl[NameSize] = {'A', 0x09, 'B', 0x80, 0xFF, 'C',
                                                ' ', ' ',  ' ', ' ',  ' ',  ' '};
    EXPECT_EQ(NameToText(withControl), "ABC      ");

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ab\tcd", "abcd        "},
        {"Twenty characters!!!", "Twenty chara"},
        // Characters outside the device's set are skipped, not counted against the 12.
        {"\u00E9t\u00E9 \u20AC\u00A5\u00AB", "t \\\x7f        "},
        // A code point of four bytes is one character, even written too long.
        {"\xF0\x80\x81\x81x\U0001F600y", "Axy         "},
        {"\xC0\xA0x", " x          "}, // two bytes from a lead of 0xC0
        // A malformed UTF-8 tail is skipped rather than read past the end.
        {"ok\xC3", "ok          "},
        {"o\xC3k", "ok          "},
    };
    for (const auto& [text, name] : cases)
        EXPECT_EQ(nameText(TextToName(text)), name) << text;
}

TEST(PatchNumbers, LabelsAndGridPositionsAgree) {
    EXPECT_EQ((std::vector{PatchLabel(0), PatchLabel(32), PatchLabel(33), RowHeading(9)}),
              (std::vector<std::string>{"Temporary Patch", "A84", "B11", "B1"}));
    EXPECT_EQ((std::vector{PatchToGrid(0), PatchToGrid(6)}), (std::vector{GridPos{0, 0}, {2, 2}}));
    EXPECT_EQ(GridToPatch(0, 7), 0);
    for (int n = 1; n <= PatchCount; ++n) {
        const GridPos pos = PatchToGrid(n);
        ASSERT_EQ(pos.column, (n - 1) % 4 + 1);
        ASSERT_EQ(GridToPatch(pos.column, pos.row), n);
        const std::string label = PatchLabel(n);
        ASSERT_EQ(GridRowOf(label[0], label[1]), pos.row) << label;
        ASSERT_EQ(PatchNumberOfLabel(label), n);
    }
    EXPECT_EQ((std::vector{PatchNumberOfLabel("temp"), PatchNumberOfLabel("d84")}),
              (std::vector<std::optional<int>>{0, 128}));
    for (const char* bad : {"E11", "A15", "A10", "A91", "A01", "@11", "A1", "A111", ""})
        EXPECT_FALSE(PatchNumberOfLabel(bad)) << bad;
}

TEST(ValueCodings, SignedAndPairs) {
    EXPECT_EQ(std::pair(ByteToSigned(0), ByteToSigned(127)), std::pair(-64, 63));
    for (int v = -64; v <= 63; ++v)
        ASSERT_EQ(ByteToSigned(SignedToByte(v)), v);
    std::uint8_t out[2];
    for (int v : {0, 127, 128, 250, 383, 16383}) {
        ValueToPair(v, out);
        EXPECT_TRUE(out[0] < 128 && out[1] < 128);
        EXPECT_EQ(PairToValue(out), v);
    }
}

class RecordingEditor : public PatchEditorLink {
public:
    std::vector<EditorReload> reloads;
    int effectPages = 0;
    void LoadControls(EditorReload how) override { reloads.push_back(how); }
    void SetupEffectPage() override { ++effectPages; }
};

void fill(TPatch& patch, std::uint8_t seed) {
    for (std::size_t i = 0; i < PatchSize; ++i)
        patch.Data()[i] = static_cast<std::uint8_t>((i * 7 + seed) % 128);
}

TEST(DataMessages, RequestsMatchTheDeviceVectors) {
    EXPECT_EQ(Joined({RequestMessage(1), RequestMessage(0), IdentityRequest()}),
              "F0 41 10 00 30 11 01 00 00 00 00 01 00 00 7E F7, "
              "F0 41 10 00 30 11 02 00 00 00 00 01 00 00 7D F7, F0 7E 10 06 01 F7");
    EXPECT_EQ(RequestMessage(128)[7], 0x7F);
}

TEST(DataMessages, ConsecutiveMessagesReadBackAndAskTheEditorToReload) {
    TPatch a, b, readA, readB;
    fill(a, 1);
    fill(b, 2);
    Bytes stream;
    a.WriteSysEx(37, stream);
    b.WriteSysEx(0, stream);
    RecordingEditor editor;
    readA.Editor = &editor;
    ByteReader reader(stream);
    readA.ReadSysEx(37, reader);
    EXPECT_EQ(reader.Position(), DataMessageSize);
    readB.ReadSysEx(0, reader);
    EXPECT_EQ(readA.Bytes(), a.Bytes());
    EXPECT_EQ(readB.Bytes(), b.Bytes());
    EXPECT_EQ(editor.reloads, std::vector{EditorReload::AfterAsking});

    readA.Assign(b); // through the temporary patch
    EXPECT_EQ(readA.Bytes(), b.Bytes());
    EXPECT_EQ(editor.reloads.size(), 2u);
    EXPECT_EQ(editor.effectPages, 2);
    readA.Clear(); // does not disturb the editor
    EXPECT_EQ(editor.reloads.size(), 2u);
}

// Every corruption of a valid message is refused and leaves the record as it was.
TEST(DataMessages, MalformedMessagesAreRefusedUnchanged) {
    TPatch source;
    fill(source, 5);
    Bytes good;
    source.WriteSysEx(6, good);
    const struct {
        const char* what;
        std::function<void(Bytes&)> damage;
        int readAs;
    } cases[] = {
        {"slot 6 read as slot 5", [](Bytes&) {}, 5},
        {"slot 6 read as temporary patch", [](Bytes&) {}, 0},
        {"wrong maker", [](Bytes& m) { m[1] = 0x42; }, 6},
        {"data request command", [](Bytes& m) { m[5] = 0x11; }, 6},
        {"address tail", [](Bytes& m) { m[9] = 0x01; }, 6},
        {"checksum", [](Bytes& m) { m[138] ^= 0x01; }, 6},
        {"data byte changed", [](Bytes& m) { m[50] ^= 0x01; }, 6},
        {"end byte", [](Bytes& m) { m[139] = 0xF0; }, 6},
        {"cut after header", [](Bytes& m) { m.resize(9); }, 6},
        {"cut in data", [](Bytes& m) { m.resize(100); }, 6},
        {"no end byte", [](Bytes& m) { m.resize(139); }, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes message = good;
        c.damage(message);
        TPatch target;
        fill(target, 9);
        const auto before = target.Bytes();
        ByteReader reader(message);
        EXPECT_EQ(FailureOf([&] { target.ReadSysEx(c.readAs, reader); }),
                  "Illegal patch data format");
        EXPECT_EQ(target.Bytes(), before);
    }
}

Bytes DataMessage(int number, const char* name) {
    TPatch patch;
    std::ranges::copy(TextToName(name), patch.Data());
    Bytes message;
    patch.WriteSysEx(number, message);
    return message;
}

TEST(MessageLog, DescribesTheMessages) {
    Bytes misaddressed = RequestMessage(23);
    misaddressed[6] = 0x05; // no patch's address
    Bytes shortData = DataMessage(23, "Lead");
    shortData.erase(shortData.begin() + 20);
    std::vector<std::string> described;
    for (const Bytes& message :
         {RequestMessage(*PatchNumberOfLabel("A23")), RequestMessage(PatchCount),
          RequestMessage(TempPatchNumber), DataMessage(*PatchNumberOfLabel("A23"), "Lead"),
          DataMessage(TempPatchNumber, "Warm Strings"), IdentityRequest(), ExpectedIdentityReply(),
          misaddressed, shortData, Bytes{0x90, 60, 100}, Bytes{0x81, 60, 0}, Bytes{0xC3, 5},
          Bytes{0xE0, 0x00, 0x40}, Bytes{0xF8}, Bytes{0x90, 60}, Bytes{0x3C, 0x40}, Bytes{}})
        described.push_back(DescribeGr33Message(message));
    EXPECT_EQ(described,
              (std::vector<std::string>{
                  "Request A23", "Request D84", "Request Temporary Patch", "Data A23 'Lead'",
                  "Data Temporary Patch 'Warm Strings'", "Identity request", "Identity reply",
                  "SysEx", "SysEx", "Note on 60", "Note off 60", "Program change 5",
                  "Pitch bend 8192", "System message", "Unknown", "Unknown", "Unknown"}));
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
        EXPECT_TRUE(k + 1 == lines.size() || count == MidiLogBytesPerLine) << k;
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

} // namespace
