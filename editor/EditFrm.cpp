// The editor window's frame, its tool bar, opening and closing.

#include "editor/EditFrm.h"

#include "controls/IBar.h"
#include "editor/WaitGuard.h"
#include "gr33/LiveSender.h"
#include "gr33/PatchNumber.h"
#include "qtcommon/RunHandler.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

#include <memory>

namespace {
constexpr int ToolBarHeight = 25;
constexpr int ButtonWidth = 117;
constexpr int ButtonHeight = 21;
constexpr int SeparatorWidth = 23;
} // namespace

void OpenEditor(TPatch& record, int number, LibrarianHost& host, QWidget* parent) {
    record.CheckNotEmpty(number);
    if (record.Editor) {
        if (auto* open = dynamic_cast<QWidget*>(record.Editor)) {
            open->show();
            open->raise();
            open->activateWindow();
        }
        return;
    }
    WaitGuard wait(host);
    // Until it is shown, the window is ours: an error while loading takes it away again and
    // unbinds the record.
    auto editor = std::make_unique<TFormEdit>(record, number, host, parent);
    editor->LoadControls(EditorReload::Now);
    editor->SetupEffectPage();
    editor->WatchChanges();
    TFormEdit* shown = editor.release();
    shown->show();
    shown->raise();
    shown->activateWindow();
}

void CloseEditor(TPatch& record) {
    if (auto* editor = dynamic_cast<TFormEdit*>(record.Editor)) delete editor;
}

TFormEdit::TFormEdit(TPatch& record, int number, LibrarianHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      patch_(record), number_(number), column_(PatchToGrid(number).column),
      row_(PatchToGrid(number).row), librarian_(host) {
    setObjectName("FormEdit");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(ClientWidth, ClientHeight);
    // A small sans-serif face, 11 pixels high; a semi-condensed cut where the system has one
    // keeps the captions within the places the pages give them.
    QFont font = QApplication::font();
    font.setPixelSize(11);
    font.setStretch(QFont::SemiCondensed);
    setFont(font);
    setWindowTitle(QString::fromStdString("Patch Editor (" + PatchLabel(number) + ")"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(0, 0, ClientWidth, ClientHeight - ToolBarHeight);
    const std::array<std::pair<const char*, const char*>, 4> pages = {{
        {"TabSheet1", "Common"},
        {"TabSheet2", "Tone"},
        {"TabSheet3", "Effects"},
        {"TabSheet4", "Multi-FX Parameters"},
    }};
    std::array<QWidget*, 4> sheets{};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        sheets[i] = new QWidget;
        sheets[i]->setObjectName(pages[i].first);
        PageControl1->addTab(sheets[i], pages[i].second);
    }
    BuildCommonPage(sheets[0]);
    BuildTonePage(sheets[1]);
    BuildEffectsPage(sheets[2]);
    BuildFxPage(sheets[3]);
    PageControl1->setCurrentIndex(0);
    BuildToolBar();
    CreateHistory();

    patch_.Editor = this;
    // A window still open when the application ends goes with it, before the records do.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &QObject::deleteLater);
}

TFormEdit::~TFormEdit() {
    // Hiding the window while it goes moves the focus out of a field, which confirms the
    // field's value; by then this window is only a QWidget, so no control may call back in.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
    for (TIBar* bar : bars_)
        if (bar) bar->OnChange = nullptr;
    Unbind();
}

void TFormEdit::Unbind() {
    // After the close the record is left alone: the window may outlive its close for a moment.
    if (bound_ && patch_.Editor == this) patch_.Editor = nullptr;
    bound_ = false;
}

void TFormEdit::BuildToolBar() {
    // The buttons stand at fixed places, edge to edge from the left border: a style's tool bar
    // margins would push the row right and clip the last button.
    ToolBar1 = new QWidget(this);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setGeometry(0, ClientHeight - ToolBarHeight, ClientWidth, ToolBarHeight);
    int left = 0;
    constexpr int top = (ToolBarHeight - ButtonHeight) / 2;
    auto button = [this, &left](const char* name, const char* caption,
                                void (TFormEdit::*handler)()) {
        auto* b = new QPushButton(ToolBar1);
        b->setObjectName(name);
        b->setText(caption);
        b->setGeometry(left, top, ButtonWidth, ButtonHeight);
        b->setFocusPolicy(Qt::TabFocus);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this,
                [this, handler] { RunHandler([this, handler] { (this->*handler)(); }); });
        left += ButtonWidth;
        return b;
    };
    QPushButton* reload = button("ButtonReload", "Reset", &TFormEdit::ButtonReloadClick);
    QPushButton* send = button("ButtonSend", "Send To GR:TMP", &TFormEdit::ButtonSendClick);
    auto* separator = new QWidget(ToolBar1);
    separator->setObjectName("ToolButton3");
    separator->setGeometry(left, top, SeparatorWidth, ButtonHeight);
    left += SeparatorWidth;
    QPushButton* cancel = button("ButtonCancel", "Cancel", &TFormEdit::ButtonCancelClick);
    QPushButton* okStay = button("ButtonOkStay", "Ok && Continue", &TFormEdit::ButtonOkStayClick);
    QPushButton* okClose = button("ButtonOkClose", "Ok && Close", &TFormEdit::ButtonOkCloseClick);
    setTabOrder(reload, cancel);
    setTabOrder(cancel, okClose);
    setTabOrder(okClose, okStay);
    setTabOrder(okStay, send);
}

void TFormEdit::closeEvent(QCloseEvent* event) {
    Unbind();
    event->accept();
}

void TFormEdit::ButtonReloadClick() {
    LoadControls(EditorReload::Now);
    SetupEffectPage();
}

void TFormEdit::ButtonCancelClick() {
    close();
}

void TFormEdit::ButtonOkStayClick() {
    StoreAndNotify();
}

void TFormEdit::ButtonOkCloseClick() {
    StoreAndNotify();
    close();
}
