// The text converter on the shown window: export, copy, paste and import through its buttons
// and the clipboard.

#include "ToolsFixture.h"

#include "tools/ConverterFrm.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTest>
#include <QToolButton>

#include <cstring>

namespace {

class ConverterTest : public ToolsTest {
protected:
    void SetUp() override {
        ToolsTest::SetUp();
        form = std::make_unique<TFormConverter>(host);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        memo = form->findChild<QPlainTextEdit*>("Memo1");
        ASSERT_NE(memo, nullptr);
        QGuiApplication::clipboard()->clear();
        PatchBytes bytes{};
        std::memcpy(bytes.data(), "  Lead Synth", NameSize);
        for (std::size_t i = NameSize; i < PatchSize; ++i)
            bytes[i] = static_cast<std::uint8_t>((i * 37) & 0x7F);
        filled = bytes;
    }
    void Click(const char* name) {
        auto* button = form->findChild<QToolButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void Paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        Click("ButtonPaste");
    }
    QStringList Lines() const { return memo->toPlainText().split('\n'); }

    std::unique_ptr<TFormConverter> form;
    QPlainTextEdit* memo = nullptr;
    PatchBytes filled{};
};

TEST_F(ConverterTest, ExportOfAnEmptyTemporaryPatchIsRefusedAndPasteReplacesTheText) {
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    QTest::keyClicks(memo, "kept");
    Click("ButtonExport");
    EXPECT_EQ(prompts.Texts("error"),
              std::vector<std::string>{"Patch (Temporary Patch) is empty!"});
    EXPECT_EQ(memo->toPlainText(), "kept");
    Click("ButtonPaste"); // an empty clipboard empties the text
    EXPECT_EQ(memo->toPlainText(), "");
    Paste("line one\nline two");
    EXPECT_EQ(memo->toPlainText(), "line one\nline two");
}

TEST_F(ConverterTest, ExportCopyPasteAndImportReproduceTheData) {
    host.temp.SetBytes(filled, 0);
    Click("ButtonExport");
    const QStringList exported = Lines();
    ASSERT_EQ(exported.size(), 22);
    EXPECT_EQ(exported[2], "<Name>Lead Synth</Name>");
    EXPECT_TRUE(exported[11].startsWith("<HexBlock>20204C65616420"));
    Click("ButtonCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), memo->toPlainText());
    host.temp.Clear();

    // The text comes back with other programs' line ends and extra lines.
    Paste("From a forum post:\r\n" + exported.join("\r\n"));
    Click("ButtonImport");
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>{"Data imported"});
    EXPECT_EQ(host.temp.Bytes(), filled);
    EXPECT_EQ(host.tempMenuNames, std::vector<std::string>{host.temp.GetName()});
    EXPECT_FALSE(host.tempMenuNames.front().empty());
    Click("ButtonExport");
    const QStringList again = Lines();
    ASSERT_EQ(again.size(), 22);
    for (int line = 10; line < 22; ++line) // <Data>, the hex lines, <Check>, the ends
        EXPECT_EQ(again[line], exported[line]) << line;
}

TEST_F(ConverterTest, FailedImportLeavesThePatchAndStillUpdatesTheMenu) {
    host.temp.SetBytes(filled, 0);
    Click("ButtonExport");
    QStringList lines = Lines();
    lines[19] += " "; // the checksum line compares exactly
    Paste(lines.join('\n'));
    Click("ButtonImport");
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>{"Unable to import data"});
    lines[19].chop(1);
    lines[12].replace(10, 2, "ZZ"); // not hexadecimal: the conversion error
    Paste(lines.join('\n'));
    Click("ButtonImport");
    EXPECT_EQ(prompts.Texts("error"),
              std::vector<std::string>{"'$ZZ' is not a valid integer value."});
    EXPECT_EQ(host.temp.Bytes(), filled);
    EXPECT_EQ(host.tempMenuNames.size(), 2u);
}

} // namespace
