#include "tools/ConverterFrm.h"

#include "base/Dialogs.h"
#include "gr33/PatchNumber.h"
#include "gr33/TextForm.h"
#include "model/LibrarianHost.h"
#include "qtcommon/RunHandler.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFrame>
#include <QLayout>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QToolBar>
#include <QToolButton>

#include <string>
#include <vector>

namespace {

constexpr int ClientWidth = 440;
constexpr int ClientHeight = 250;
constexpr int ToolBarHeight = 23;

// The form's lines carry the patch name's bytes as they are, one character a byte.
QString linesToText(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines)
        text << QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    return text.join('\n');
}

// Text from the clipboard may end its lines in CR LF or CR: each line is taken without its end,
// so that the checksum line compares as written.
std::vector<std::string> textToLines(const QString& text) {
    std::vector<std::string> lines;
    static const QRegularExpression lineEnd("\r\n|\n|\r");
    for (const QString& line : text.split(lineEnd))
        lines.push_back(line.toLatin1().toStdString());
    return lines;
}

} // namespace

TFormConverter::TFormConverter(LibrarianHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      host_(host) {
    setObjectName("FormConverter");
    setWindowTitle(QString(AppName) + " Patch Converter");
    setFixedSize(ClientWidth, ClientHeight);
    // The tool bar's captions in the 11-pixel sans-serif design font.
    QFont font = QApplication::font();
    font.setPixelSize(11);
    setFont(font);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setGeometry(0, 0, ClientWidth, ClientHeight - ToolBarHeight);
    // The fixed-pitch system face stands in for Courier New, at 8 points in navy.
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSize(8);
    Memo1->setFont(mono);
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Text, QColor(0x00, 0x00, 0x80));
    // The selection stays as visible when the box loses focus.
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    Memo1->setPalette(palette);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setGeometry(0, ClientHeight - ToolBarHeight, ClientWidth, ToolBarHeight);
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setStyleSheet("QToolBar { border: 0px; padding: 0px; spacing: 0px; }");
    ToolBar1->layout()->setContentsMargins(0, 0, 0, 0);
    ButtonExport = AddButton("ButtonExport", "Export Temporary Patch", 165);
    ButtonCopy = AddButton("ButtonCopy", "Copy", 50);
    auto* separator = new QFrame(ToolBar1);
    separator->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    separator->setFixedSize(10, ToolBarHeight);
    ToolBar1->addWidget(separator);
    ButtonPaste = AddButton("ButtonPaste", "Paste", 50);
    ButtonImport = AddButton("ButtonImport", "Import To Temporary Patch", 165);

    connect(ButtonExport, &QToolButton::clicked, this,
            [this] { RunHandler([this] { ButtonExportClick(); }); });
    connect(ButtonCopy, &QToolButton::clicked, this,
            [this] { RunHandler([this] { ButtonCopyClick(); }); });
    connect(ButtonPaste, &QToolButton::clicked, this,
            [this] { RunHandler([this] { ButtonPasteClick(); }); });
    connect(ButtonImport, &QToolButton::clicked, this,
            [this] { RunHandler([this] { ButtonImportClick(); }); });
}

QToolButton* TFormConverter::AddButton(const char* name, const char* caption, int width) {
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFixedSize(width, ToolBarHeight);
    ToolBar1->addWidget(button);
    return button;
}

void TFormConverter::ButtonExportClick() {
    TPatch& patch = host_.TempPatch();
    patch.CheckNotEmpty(TempPatchNumber);
    std::vector<std::string> lines;
    patch.ExportText(lines);
    Memo1->setPlainText(linesToText(lines));
}

void TFormConverter::ButtonCopyClick() {
    Memo1->selectAll();
    Memo1->copy();
}

void TFormConverter::ButtonPasteClick() {
    Memo1->clear();
    Memo1->paste();
}

void TFormConverter::ButtonImportClick() {
    // The temporary-patch menu follows the patch after every import, also a failed one; an
    // imported patch goes to the library once its message was shown.
    TextImport result = TextImport::NoData;
    try {
        TPatch& patch = host_.TempPatch();
        result = patch.ImportText(textToLines(Memo1->toPlainText()));
        Prompts().ShowMessage(TextImportMessage(result));
    } catch (...) {
        host_.UpdateTempPatchMenu();
        throw;
    }
    host_.UpdateTempPatchMenu();
    if (result == TextImport::Imported)
        host_.RecordPatch({TempPatchNumber, host_.TempPatch().Bytes()},
                          {SightingKind::Text, "text import"});
}
