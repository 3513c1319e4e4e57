// The text converter on the shown window: export, copy, paste and import
// through its buttons and the clipboard.

#include "ToolsFixture.h"
#include "tools/ConverterFrm.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>

#include <cstring>

namespace {

class ConverterTest : public ToolsTest {
protected:
    void SetUp() override {
        ToolsTest::SetUp();
        form = Shown<TFormConverter>();
        memo = Find<QPlainTextEdit>(*form, "Memo1");
        QGuiApplication::clipboard()->clear();
        std::memcpy(filled.data(), "  Lead Synth", NameSize);
        for (std::size_t i = NameSize; i < PatchSize; ++i)
            filled[i] = static_cast<std::uint8_t>((i * 37) & 0x7F);
    }
    void Paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        Click(*form, "ButtonPaste");
    }
    // Exports the patch and returns the text's lines.
    QStringList Export(const PatchBytes& bytes) {
        host.temp.SetBytes(bytes, 0);
        Click(*form, "ButtonExport");
        return memo->toPlainText().split('\n');
    }

    std::unique_ptr<TFormConverter> form;
    QPlainTextEdit* memo = nullptr;
    PatchBytes filled{};
};

TEST_F(ConverterTest, ExportOfAnEmptyTemporaryPatchIsRefusedAndPasteReplacesTheText) {
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    QTest::keyClicks(memo, "kept");
    Click(*form, "ButtonExport");
    EXPECT_EQ(prompts.Texts("error"),
              std::vector<std::string>{"Patch (Temporary Patch) is empty!"});
    EXPECT_EQ(memo->toPlainText(), "kept");
    Click(*form, "ButtonPaste"); // an empty clipboard empties the text
    EXPECT_EQ(memo->toPlainText(), "");
    Paste("line one\nline two");
    EXPECT_EQ(memo->toPlainText(), "line one\nline two");
}

TEST_F(ConverterTest, ExportCopyPasteAndImportReproduceTheData) {
    const QStringList exported = Export(filled);
    ASSERT_EQ(exported.size(), 22);
    EXPECT_EQ(exported[2], "<Name>Lead Synth</Name>");
    EXPECT_TRUE(exported[11].startsWith("<HexBlock>20204C65616420"));
    Click(*form, "ButtonCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), memo->toPlainText());
    host.temp.Clear();
    Paste("From a forum post:\r\n" + exported.join("\r\n")); // other programs' line ends
    Click(*form, "ButtonImport");
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>{"Data imported"});
    EXPECT_EQ(host.temp.Bytes(), filled);
    EXPECT_EQ(host.tempMenuNames, std::vector<std::string>{host.temp.GetName()});
    EXPECT_FALSE(host.tempMenuNames.front().empty());
    const QStringList again = Export(host.temp.Bytes());
    EXPECT_EQ(again.mid(10),
              exported.mid(10)); // <Data>, the hex lines, <Check>, the ends
}

TEST_F(ConverterTest, FailedImportLeavesThePatchAndStillUpdatesTheMenu) {
    QStringList lines = Export(filled);
    lines[19] += " "; // the checksum line compares exactly
    Paste(lines.join('\n'));
    Click(*form, "ButtonImport");
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>{"Unable to import data"});
    lines[19].chop(1);
    lines[12].replace(10, 2, "ZZ"); // not hexadecimal: the conversion error
    Paste(lines.join('\n'));
    Click(*form, "ButtonImport");
    EXPECT_EQ(prompts.Texts("error"),
              std::vector<std::string>{"'$ZZ' is not a valid integer value."});
    EXPECT_EQ(host.temp.Bytes(), filled);
    EXPECT_EQ(host.tempMenuNames.size(), 2u);
}

} // namespace
