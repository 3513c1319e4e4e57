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
        memo = form->findChild<QPlainTextEdit*>("Memo1");
        ASSERT_NE(memo, nullptr);
        QGuiApplication::clipboard()->clear();
    }
    void Click(const char* name) {
        auto* button = form->findChild<QToolButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void FillTemp() {
        PatchBytes bytes{};
        std::memcpy(bytes.data(), "  Lead Synth", NameSize);
        for (std::size_t i = NameSize; i < PatchSize; ++i)
            bytes[i] = static_cast<std::uint8_t>((i * 37) & 0x7F);
        host.temp.SetBytes(bytes, 0);
    }
    QStringList Lines() const { return memo->toPlainText().split('\n'); }

    std::unique_ptr<TFormConverter> form;
    QPlainTextEdit* memo = nullptr;
};

TEST_F(ConverterTest, ExportOfAnEmptyTemporaryPatchIsRefused) {
    memo->setPlainText("kept");
    Click("ButtonExport");
    EXPECT_EQ(prompts.Texts("error"),
              std::vector<std::string>{"Patch (Temporary Patch) is empty!"});
    EXPECT_EQ(memo->toPlainText(), "kept");
}

TEST_F(ConverterTest, ExportShowsTheFormAndCopyPutsItOnTheClipboard) {
    FillTemp();
    Click("ButtonExport");
    const QStringList lines = Lines();
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[2], "<Name>Lead Synth</Name>");
    EXPECT_TRUE(lines[11].startsWith("<HexBlock>20204C65616420"));
    Click("ButtonCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), memo->toPlainText());
}

TEST_F(ConverterTest, PasteReplacesTheTextWithTheClipboards) {
    memo->setPlainText("old text");
    Click("ButtonPaste");
    EXPECT_EQ(memo->toPlainText(), "");
    QGuiApplication::clipboard()->setText("line one\nline two");
    Click("ButtonPaste");
    EXPECT_EQ(memo->toPlainText(), "line one\nline two");
}

TEST_F(ConverterTest, ImportThenExportReproducesTheData) {
    FillTemp();
    Click("ButtonExport");
    const QStringList exported = Lines();
    const PatchBytes original = host.temp.Bytes();
    host.temp.Clear();

    // The text comes back through the clipboard with other programs' line ends and extra lines.
    QGuiApplication::clipboard()->setText("From a forum post:\r\n" + exported.join("\r\n"));
    Click("ButtonPaste");
    Click("ButtonImport");
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>{"Data imported"});
    EXPECT_EQ(host.temp.Bytes(), original);
    EXPECT_EQ(host.tempMenuNames, std::vector<std::string>{host.temp.GetName()});
    EXPECT_FALSE(host.tempMenuNames.front().empty());

    Click("ButtonExport");
    const QStringList again = Lines();
    ASSERT_EQ(again.size(), 22);
    for (int line = 10; line < 22; ++line) // <Data>, the hex lines, <Check>, the ends
        EXPECT_EQ(again[line], exported[line]) << line;
}

TEST_F(ConverterTest, FailedImportLeavesThePatchAndStillUpdatesTheMenu) {
    FillTemp();
    Click("ButtonExport");
    QStringList lines = Lines();
    const PatchBytes original = host.temp.Bytes();

    lines[19] += " "; // the checksum line compares exactly
    memo->setPlainText(lines.join('\n'));
    Click("ButtonImport");
    EXPECT_EQ(prompts.Texts("message"), std::vector<std::string>{"Unable to import data"});

    lines[19].chop(1);
    lines[12].replace(10, 2, "ZZ"); // not hexadecimal: the conversion error
    memo->setPlainText(lines.join('\n'));
    Click("ButtonImport");
    EXPECT_EQ(prompts.Texts("error"),
              std::vector<std::string>{"'$ZZ' is not a valid integer value."});

    EXPECT_EQ(host.temp.Bytes(), original);
    EXPECT_EQ(host.tempMenuNames.size(), 2u);
}

} // namespace
