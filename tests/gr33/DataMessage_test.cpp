// Data, request and identity messages byte for byte, and the validation of a data message.
#include "base/Errors.h"
#include "gr33/Patch.h"
#include "gr33/SysEx.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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
    EXPECT_EQ(RequestMessage(1), (Bytes{0xF0, 0x41, 0x10, 0x00, 0x30, 0x11, 0x01, 0x00, 0x00, 0x00,
                                        0x00, 0x01, 0x00, 0x00, 0x7E, 0xF7}));
    EXPECT_EQ(RequestMessage(0), (Bytes{0xF0, 0x41, 0x10, 0x00, 0x30, 0x11, 0x02, 0x00, 0x00, 0x00,
                                        0x00, 0x01, 0x00, 0x00, 0x7D, 0xF7}));
    EXPECT_EQ(RequestMessage(128), (Bytes{0xF0, 0x41, 0x10, 0x00, 0x30, 0x11, 0x01, 0x7F, 0x00,
                                          0x00, 0x00, 0x01, 0x00, 0x00, 0x7F, 0xF7}));
    EXPECT_EQ(IdentityRequest(), (Bytes{0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7}));
    EXPECT_EQ(ExpectedIdentityReply().size(), 15u);
}

TEST(DataMessages, EmptySlotsEndWithTheAddressChecksum) {
    TPatch empty;
    Bytes first, last, temp;
    empty.WriteSysEx(1, first);
    empty.WriteSysEx(128, last);
    empty.WriteSysEx(0, temp);
    ASSERT_EQ(first.size(), DataMessageSize);
    EXPECT_EQ(first[138], 0x7F);
    EXPECT_EQ(first[139], 0xF7);
    EXPECT_EQ(last[138], 0x00);
    EXPECT_EQ(temp[6], 0x02);
    EXPECT_EQ(temp[7], 0x00);
    EXPECT_EQ(temp[138], 0x7E);
}

TEST(DataMessages, ConsecutiveMessagesReadBack) {
    TPatch a, b, readA, readB;
    fill(a, 1);
    fill(b, 2);
    Bytes stream;
    a.WriteSysEx(1, stream);
    b.WriteSysEx(2, stream);
    ByteReader reader(stream);
    readA.ReadSysEx(1, reader);
    EXPECT_EQ(reader.Position(), DataMessageSize);
    readB.ReadSysEx(2, reader);
    EXPECT_EQ(readA.Bytes(), a.Bytes());
    EXPECT_EQ(readB.Bytes(), b.Bytes());
}

// Every corruption of a valid message is refused and leaves the record as it was.
TEST(DataMessages, MalformedMessagesAreRefusedUnchanged) {
    TPatch source;
    fill(source, 5);
    Bytes good;
    source.WriteSysEx(6, good);

    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
        int readAs;
    };
    const Case cases[] = {
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
        {"nothing", [](Bytes& m) { m.clear(); }, 6},
    };
    for (const auto& c : cases) {
        Bytes message = good;
        c.damage(message);
        TPatch target;
        fill(target, 9);
        auto before = target.Bytes();
        ByteReader reader(message);
        try {
            target.ReadSysEx(c.readAs, reader);
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const EKelvoError& e) {
            EXPECT_STREQ(e.what(), "Illegal patch data format") << c.what;
        }
        EXPECT_EQ(target.Bytes(), before) << c.what;
    }
}

TEST(DataMessages, AssignCopiesAndAsksTheOpenEditor) {
    TPatch source, target;
    fill(source, 3);
    RecordingEditor editor;
    target.Editor = &editor;
    target.Assign(source);
    EXPECT_EQ(target.Bytes(), source.Bytes());
    EXPECT_EQ(editor.reloads, std::vector{EditorReload::AfterAsking});
    EXPECT_EQ(editor.effectPages, 1);

    // Clear does not disturb the editor.
    target.Clear();
    EXPECT_EQ(editor.reloads.size(), 1u);
}

TEST(DataMessages, ReadAsksTheOpenEditorToReload) {
    TPatch source, target;
    fill(source, 4);
    Bytes stream;
    source.WriteSysEx(37, stream);
    RecordingEditor editor;
    target.Editor = &editor;
    ByteReader reader(stream);
    target.ReadSysEx(37, reader);
    EXPECT_EQ(editor.reloads, std::vector{EditorReload::AfterAsking});
    EXPECT_EQ(editor.effectPages, 1);
}

} // namespace
