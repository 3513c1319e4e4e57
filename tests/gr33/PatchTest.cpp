// The patch record: emptiness, names and their characters, labels, the value codings, the data
// messages byte for byte with their validation; the MIDI log's entries, their text and the bound
// of the ring; single-patch and collection files on disk, and the text exchange form: checksum
// vectors, export layout and the tolerant import.
#include "gr33/Patch.h"
#include "base/AtomicFile.h"
#include "base/FileRead.h"
#include "gr33/CollectionFile.h"
#include "gr33/MessageLog.h"
#include "gr33/PatchNumber.h"
#include "gr33/SafeTransfer.h"
#include "gr33/SysEx.h"
#include "gr33/TextForm.h"
#include "tests/midi/FakeMidiBackend.h"
#include "tests/support/FailureOf.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <regex>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

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

void fill(TPatch& patch, int seed) {
    for (std::size_t i = 0; i < PatchSize; ++i)
        patch.Data()[i] = static_cast<std::uint8_t>((i + seed * 3) % 128);
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
    EXPECT_EQ(std::pair(readA.Bytes(), readB.Bytes()), std::pair(a.Bytes(), b.Bytes()));
    EXPECT_EQ(editor.reloads, std::vector{EditorReload::AfterAsking});

    readA.Assign(b); // through the temporary patch
    EXPECT_EQ(readA.Bytes(), b.Bytes());
    EXPECT_EQ(std::pair(editor.reloads.size(), editor.effectPages), std::pair(2ul, 2));
    readA.Clear(); // does not disturb the editor
    EXPECT_EQ(editor.reloads.size(), 2u);
}

// Every corruption of a valid message is refused and leaves the record as it was.
TEST(DataMessages, MalformedMessagesAreRefusedUnchanged) {
    TPatch source;
    fill(source, 5);
    Bytes good;
    source.WriteSysEx(6, good);
    const std::tuple<const char*, std::function<void(Bytes&)>, int> cases[] = {
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
    for (const auto& [what, damage, readAs] : cases) {
        SCOPED_TRACE(what);
        Bytes message = good;
        damage(message);
        TPatch target;
        fill(target, 9);
        const auto before = target.Bytes();
        ByteReader reader(message);
        EXPECT_EQ(FailureOf([&, number = readAs] { target.ReadSysEx(number, reader); }),
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

// A scratch folder, and 128 slots filled each by its own seed.
class PatchFiles : public ::testing::Test {
protected:
    PatchFiles() {
        for (int i = 0; i < 128; ++i) {
            fill(slots[i], i);
            refs[i] = &slots[i];
        }
    }
    std::string path(const std::string& name) const { return folder.File(name); }
    void write(const std::string& name, const Bytes& bytes) const {
        WriteFileAtomically(path(name), bytes);
    }
    ScratchFolder folder;
    std::array<TPatch, 128> slots;
    std::array<const TPatch*, 128> refs;
};

TEST_F(PatchFiles, SinglePatchIsSavedForTheTemporaryPatch) {
    slots[1].SaveToFile(path("b23.P33"), 39);
    const Bytes bytes = ReadWholeFile(path("b23.P33"));
    ASSERT_EQ(bytes.size(), 140u);
    EXPECT_EQ((Bytes(bytes.begin() + 6, bytes.begin() + 10)), (Bytes{0x02, 0x00, 0x00, 0x00}));
    TPatch target;
    target.LoadFromFile(path("b23.P33"));
    EXPECT_EQ(target.Bytes(), slots[1].Bytes());
    EXPECT_EQ(FailureOf([&] { target.LoadFromFile(path("missing.P33")); }), "Patch file not found");
    EXPECT_EQ(FailureOf([&] { TPatch().SaveToFile(path("e.P33"), 2); }), "Patch (A12) is empty!");
    EXPECT_FALSE(fs::exists(path("e.P33")));
}

TEST_F(PatchFiles, CollectionRoundTripsAndIsValidatedAsAWhole) {
    const TPatch empty;
    std::array<const TPatch*, 128> emptyRefs;
    emptyRefs.fill(&empty);
    WriteCollectionFile(path("empty.G33"), emptyRefs);
    const Bytes file = ReadWholeFile(path("empty.G33"));
    ASSERT_EQ(file.size(), CollectionFileSize);
    for (int k = 1; k <= 128; ++k) {
        const std::uint8_t* m = file.data() + (k - 1) * 140;
        ASSERT_EQ(m[6], 1);
        ASSERT_EQ(m[7], k - 1);
        ASSERT_EQ(m[138], (128 - (1 + (k - 1)) % 128) % 128) << "slot " << k;
    }
    EXPECT_EQ(ReadCollectionFile(path("empty.G33"))[5], PatchBytes{});

    Bytes image = CollectionImage(refs);
    auto parsed = ParseCollection(image);
    for (int i = 0; i < 128; ++i)
        ASSERT_EQ(parsed[i], slots[i].Bytes());
    // A short file and a single-patch file (a misaddressed message: the .syx case below).
    Bytes single;
    slots[0].WriteSysEx(0, single);
    for (const Bytes& bad : {Bytes(image.begin(), image.end() - 1), single})
        EXPECT_EQ(FailureOf([&] { ParseCollection(bad); }), "Illegal patch data format");
    image.push_back(0x55); // trailing bytes are ignored
    EXPECT_EQ(ParseCollection(image), parsed);
    EXPECT_EQ(FailureOf([&] { ReadCollectionFile(path("none.G33")); }),
              "File " + path("none.G33") + " not found");
}

// A patch file holds one message for the temporary patch and what follows it is ignored. A .syx
// file is a patch or a collection by what it holds, read by the same readers, and holds nothing
// else: one message for the temporary patch, or the 128 messages of a collection. A refused
// load leaves the patch empty.
TEST_F(PatchFiles, FilesAreTheKindTheirMessagesAre) {
    const Bytes bank = CollectionImage(refs);
    Bytes temp, user, broken = bank;
    slots[3].WriteSysEx(0, temp);
    slots[3].WriteSysEx(4, user);
    broken[4 * 140 + 7] = 5; // the 5th message for slot 6
    const auto plus = [](Bytes bytes, std::uint8_t more) {
        bytes.insert(bytes.end(), {more, more, more});
        return bytes;
    };
    const std::string illegal = "Illegal patch data format";
    const std::tuple<std::string, Bytes, std::string> cases[] = {
        {"x.P33", plus(temp, 1), "patch"},
        {"x.P33", user, illegal},
        {"x.SyX", temp, "patch"},
        {"x.SyX", bank, "collection"},
        {"x.SyX", user, illegal},
        {"x.SyX", broken, illegal},
        {"x.SyX", plus(bank, 0xF7), illegal},
        {"x.SyX", plus(temp, 0xF7), illegal},
        {"x.SyX", Bytes(), illegal},
        {"x.SyX", Bytes(bank.begin(), bank.begin() + 280), illegal}};
    for (const auto& [name, image, expected] : cases) {
        SCOPED_TRACE(expected + " in " + name + " of " + std::to_string(image.size()) + " bytes");
        write(name, image);
        const std::string file = path(name);
        TPatch loaded;
        std::string kind = "patch";
        std::string got = FailureOf([&] {
            if (!IsSysExFileName(file) || SysExFileKind(file) != FileKind::Collection)
                return loaded.LoadFromFile(file);
            kind = "collection";
            loaded.SetBytes(ReadCollectionFile(file)[3], 4);
        });
        EXPECT_TRUE(got.empty() || loaded.IsEmpty());
        if (got.empty()) got = loaded.Bytes() == slots[3].Bytes() ? kind : "other bytes";
        EXPECT_EQ(got, expected);
    }
}

// Only the messages are read: a huge file refused at its first byte costs no more than a valid
// one, and a folder or pipe is named for what it is, for patches and collections alike.
TEST_F(PatchFiles, LoadsReadOnlyTheirMessagesAndNameWhatIsNotAFile) {
    write("huge", Bytes{0x55});
    fs::resize_file(path("huge"), 2ull << 30);
    fs::create_directory(path("dir"));
    ::mkfifo(path("pipe").c_str(), 0600);
    rusage before{}, after{};
    ::getrusage(RUSAGE_SELF, &before);
    for (auto [name, text] : {std::pair{"huge", std::string("Illegal patch data format")},
                              std::pair{"dir", path("dir") + " is a folder, not a file"},
                              std::pair{"pipe", path("pipe") + " is a pipe, not a file"}}) {
        SCOPED_TRACE(name);
        const std::string file = path(name); // a lambda may not capture a structured binding
        EXPECT_EQ(FailureOf([&] { TPatch().LoadFromFile(file); }), text);
        EXPECT_EQ(FailureOf([&] { ReadCollectionFile(file); }), text);
    }
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024); // kilobytes
}

// A receive that stopped keeps the slots that came, in order, and a resume reads exactly those.
TEST_F(PatchFiles, PartialFilesHoldTheSlotsReceivedSoFar) {
    EXPECT_EQ(PartialFileName("/m/Bank.G33"), "/m/Bank.partial.G33");
    // What was received starts a longer vector whose next slot is a valid patch: the file
    // holds the three slots received and nothing after them.
    const std::vector<PatchBytes> all{slots[0].Bytes(), slots[1].Bytes(), slots[2].Bytes(),
                                      slots[3].Bytes()};
    WritePartialFile(path("Bank.partial.G33"), std::span(all).first(3));
    EXPECT_EQ(fs::file_size(path("Bank.partial.G33")), 3 * DataMessageSize);
    EXPECT_EQ(ReadPartialFile(path("Bank.partial.G33")), std::vector(all.begin(), all.end() - 1));
    // A list longer than the device's memory is written as its first 128 slots only.
    WritePartialFile(path("Long.partial.G33"), std::vector(PatchCount + 1, all[0]));
    EXPECT_EQ(fs::file_size(path("Long.partial.G33")), CollectionFileSize);
    EXPECT_EQ(FailureOf([&] { ReadPartialFile(path("none.G33")); }),
              "File " + path("none.G33") + " not found");
    WriteCollectionFile(path("whole.G33"), refs); // 128 slots: a collection, not a partial file
    EXPECT_EQ(FailureOf([&] { ReadPartialFile(path("whole.G33")); }), "Illegal patch data format");
}

TEST(TextChecksum, ShiftsByPositionModSeven) {
    for (auto [index, sum] : {std::pair{0, 0x0002}, {5, 0x0040}, {6, 0x0001}}) {
        PatchBytes b{};
        b[index] = 1;
        EXPECT_EQ(TextChecksum(b), sum) << index;
    }
    EXPECT_EQ(TextChecksum(PatchBytes{}), 0x0000);
    PatchBytes all;
    all.fill(0xFF);
    EXPECT_EQ(TextChecksum(all), 60180); // the sum 584460 folded modulo 65535, not 65536
    EXPECT_EQ(TextChecksum(std::vector<std::uint8_t>(200, 0)), (72ull << 24) % 65535);
}

TEST(TextChecksum, DateUsesNoLeadingZeros) {
    std::tm t{};
    t.tm_year = 126, t.tm_mon = 2, t.tm_mday = 7, t.tm_hour = 9, t.tm_min = 5;
    EXPECT_EQ(TextFormDate(t), "3/7/2026 9:05");
    t.tm_mon = 11, t.tm_mday = 31, t.tm_hour = 23, t.tm_min = 59;
    EXPECT_EQ(TextFormDate(t), "12/31/2026 23:59");
}

class TextForm : public ::testing::Test {
protected:
    void SetUp() override {
        std::memcpy(patch.Data(), "  Warm Pad  ", NameSize);
        for (std::size_t i = NameSize; i < PatchSize; ++i)
            patch.Data()[i] = static_cast<std::uint8_t>(i * 3 % 128);
        patch.ExportText(lines);
    }
    TPatch patch;
    std::vector<std::string> lines;
};

TEST_F(TextForm, ExportHasTheFixedLayout) {
    ASSERT_EQ(lines.size(), 22u);
    std::string head;
    for (int k : {0, 1, 2, 3, 4, 5, 9, 10, 21})
        head += lines[k];
    EXPECT_EQ(head, "<Patch><Converter>KelvoLight 1.01</Converter><Name>Warm Pad</Name><Author>"
                    "Unknown</Author><Description></Description><Number>0</Number><Data></Patch>");
    EXPECT_TRUE(std::regex_match(lines[6], std::regex("<Date>\\d{1,2}/\\d{1,2}/\\d{4} "
                                                      "\\d{1,2}:\\d{2}</Date>")))
        << lines[6];
    EXPECT_EQ(lines[11], "<HexBlock>20205761726D20506164202024272A2D</HexBlock>");
    EXPECT_EQ(lines[18], "<HexBlock>505356595C5F6265686B6E7174777A7D</HexBlock>");
    EXPECT_EQ(lines[19], "<Check>68E5</Check>");
}

// Extra lines around the block, blanks around its lines and hex digits in either case.
TEST_F(TextForm, ImportRoundTripsTolerantly) {
    std::vector<std::string> pasted{"Some mail text", "", "  <Data>\t"};
    for (int k = 0; k < 8; ++k) {
        std::string line = lines[11 + k];
        for (std::size_t i = 10; i < 42; ++i)
            line[i] = static_cast<char>(std::tolower(line[i]));
        pasted.push_back("   " + line + " \r");
    }
    pasted.insert(pasted.end(), {lines[19], "trailing words"});
    for (const auto& text : {lines, pasted}) {
        TPatch copy;
        EXPECT_EQ(copy.ImportText(text), TextImport::Imported);
        EXPECT_EQ(copy.Bytes(), patch.Bytes());
    }
    EXPECT_STREQ(TextImportMessage(TextImport::Imported), "Data imported");
}

TEST_F(TextForm, BrokenTextsSayWhyAndChangeNothing) {
    auto changed = [&](std::size_t at, std::string line) {
        auto l = lines;
        l[at] = line;
        return l;
    };
    const std::vector<std::pair<std::vector<std::string>, TextImport>> cases = {
        {changed(10, "<data>"), TextImport::NoData},
        {{lines.begin() + 10, lines.begin() + 18}, TextImport::NoData}, // seven blocks
        {changed(14, "<HexBlock>00</HexBlock>"), TextImport::BadBlock},
        {changed(14, lines[14].substr(10)), TextImport::BadBlock},
        {changed(14, lines[14].substr(0, 42)), TextImport::BadBlock},
        {changed(19, lines[19] + " "), TextImport::BadCheck},
        {changed(19, "<Check>0000</Check>"), TextImport::BadCheck},
        {changed(19, "<Check>68e5</Check>"), TextImport::BadCheck},
        {{lines.begin() + 10, lines.begin() + 19}, TextImport::BadCheck}, // no check line
    };
    for (const auto& [text, why] : cases) {
        TPatch target;
        target.Data()[3] = 9;
        EXPECT_EQ(target.ImportText(text), why);
        EXPECT_EQ(target.Data()[3], 9);
        EXPECT_EQ(target.Data()[0], 0);
    }
    EXPECT_STREQ(TextImportMessage(TextImport::BadCheck), "Unable to import data");
}

TEST_F(TextForm, NonHexPairRaisesTheConversionError) {
    for (const std::string pair : {"G1", "g1", "1:"}) {
        auto text = lines;
        text[12] = "<HexBlock>00" + pair + "0000000000000000000000000000</HexBlock>";
        TPatch target;
        EXPECT_EQ(FailureOf([&] { (void)target.ImportText(text); }),
                  "'$" + pair + "' is not a valid integer value");
        EXPECT_TRUE(target.IsEmpty());
    }
}

} // namespace
