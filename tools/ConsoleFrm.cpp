// The console window's components, its creation and its end of run.
#include "tools/ConsoleFrm.h"

#include "controls/IBar.h"
#include "midi/NoteConversion.h"
#include "model/LibrarianHost.h"
#include "model/Settings.h"
#include "qtcommon/RunHandler.h"
#include "tools/ConsoleText.h"
#include "tools/UpDown.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int ClientWidth = 227;
constexpr int ClientHeight = 171;
constexpr QColor Navy(0x00, 0x00, 0x80);

template <class W>
W* place(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* widget = new W(parent);
    widget->setObjectName(name);
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const char* caption, int left, int top) {
    auto* widget = new QLabel(caption, parent);
    widget->setObjectName(name);
    widget->move(left, top);
    widget->resize(widget->sizeHint());
    return widget;
}

TIBar* bar(QWidget* parent, const char* name, int top, float value) {
    auto* widget = place<TIBar>(parent, name, 48, top, 177, 17);
    widget->SetMax(127);
    widget->SetDiscretization(1);
    widget->SetValue(value);
    widget->SetBorder(5); // accepted only below half the height, so after sizing
    widget->SetImmediate(true);
    return widget;
}

} // namespace

TFormConsole::TFormConsole(LibrarianHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      host_(host) {
    setObjectName("FormConsole");
    setWindowTitle("Simple MIDI Console");
    setFixedSize(ClientWidth, ClientHeight);
    // A narrow sans-serif face with 11-pixel characters, so that the captions fit the small
    // buttons and check boxes (the longest, the program-change caption, fills its button).
    QFont font = QApplication::font();
    font.setPixelSize(11);
    font.setStretch(QFont::SemiCondensed);
    setFont(font);
    BuildComponents();
    SetTabOrder();
    FormCreate();
}

TFormConsole::~TFormConsole() {
    // The fields' focus-out and the buttons' release must not reach a half-destroyed window.
    for (QObject* watched :
         {static_cast<QObject*>(EditKey), static_cast<QObject*>(EditFreq),
          static_cast<QObject*>(ButtonPlayNote), static_cast<QObject*>(ButtonPlayChord)})
        watched->removeEventFilter(this);
    FormDestroy();
}

void TFormConsole::BuildComponents() {
    Label2 = label(this, "Label2", "Key", 2, 6);
    IBarKey = bar(this, "IBarKey", 4, 69);
    IBarKey->OnChange = [this](TIBar&) { RunHandler([this] { IBarKeyChange(); }); };

    Label1 = label(this, "Label1", "Note", 2, 32);
    EditKey = place<QLineEdit>(this, "EditKey", 48, 28, 41, 21);
    EditKey->setText("A 5");
    EditKey->installEventFilter(this);
    UpDownKey = place<TUpDown>(this, "UpDownKey", 89, 28, 16, 21);
    UpDownKey->SetRange(0, 127);
    UpDownKey->SetPosition(69);
    connect(UpDownKey, &TUpDown::Click, this,
            [this](TUDBtnType button) { RunHandler([&] { UpDownKeyClick(button); }); });
    Label3 = label(this, "Label3", "Frequency", 112, 32);
    EditFreq = place<QLineEdit>(this, "EditFreq", 168, 28, 57, 21);
    EditFreq->setText("440.00");
    EditFreq->installEventFilter(this);

    Label5 = label(this, "Label5", "Velosity", 2, 58);
    IBarVelosity = bar(this, "IBarVelosity", 56, 127);

    Label33 = label(this, "Label33", "Channel", 2, 84);
    EditChannel = place<QLineEdit>(this, "EditChannel", 48, 80, 25, 21);
    EditChannel->setReadOnly(true);
    EditChannel->setText("1");
    UpDownChannel = place<TUpDown>(this, "UpDownChannel", 73, 80, 15, 21);
    UpDownChannel->SetRange(1, 16);
    UpDownChannel->SetAssociate(EditChannel);
    CheckBoxPoly = place<QCheckBox>(this, "CheckBoxPoly", 96, 82, 41, 17);
    CheckBoxPoly->setText("Poly");
    CheckBoxPoly->setChecked(true);
    connect(CheckBoxPoly, &QCheckBox::toggled, this,
            [this] { RunHandler([this] { CheckBoxPolyClick(); }); });
    CheckBoxStayOnTop = place<QCheckBox>(this, "CheckBoxStayOnTop", 144, 82, 81, 17);
    CheckBoxStayOnTop->setText("Stay On Top");
    CheckBoxStayOnTop->setChecked(true);
    connect(CheckBoxStayOnTop, &QCheckBox::toggled, this,
            [this] { RunHandler([this] { CheckBoxStayOnTopClick(); }); });

    ButtonPC = place<QPushButton>(this, "ButtonPC", 2, 109, 223, 21);
    ButtonPC->setText("MIDI Program Change ==> Selected Patch");
    connect(ButtonPC, &QPushButton::clicked, this,
            [this] { RunHandler([this] { ButtonPCClick(); }); });
    ButtonPlayNote = place<QPushButton>(this, "ButtonPlayNote", 2, 133, 71, 21);
    ButtonPlayNote->setText("Play Note");
    ButtonPlayNote->installEventFilter(this);
    ButtonPlayChord = place<QPushButton>(this, "ButtonPlayChord", 78, 133, 71, 21);
    ButtonPlayChord->setText("Play Chord");
    ButtonPlayChord->installEventFilter(this);
    ButtonPanic = place<QPushButton>(this, "ButtonPanic", 154, 133, 71, 21);
    ButtonPanic->setText("Panic");
    connect(ButtonPanic, &QPushButton::clicked, this,
            [this] { RunHandler([this] { ButtonPanicClick(); }); });

    Label4 = place<QLabel>(this, "Label4", 0, ClientHeight - 11, ClientWidth, 11);
    Label4->setText("Keep Play Buttons Pressed To Control Duration");
    Label4->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    QFont small("Times");
    small.setStyleHint(QFont::Serif);
    small.setPixelSize(9);
    Label4->setFont(small);
    QPalette palette = Label4->palette();
    palette.setColor(QPalette::WindowText, Navy);
    Label4->setPalette(palette);
}

void TFormConsole::SetTabOrder() {
    QWidget* order[] = {ButtonPlayNote,    EditFreq,        EditKey,       UpDownKey,
                        ButtonPanic,       EditChannel,     UpDownChannel, ButtonPC,
                        CheckBoxStayOnTop, ButtonPlayChord, CheckBoxPoly};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TFormConsole::FormCreate() {
    UpDownChannel->SetPosition(3);
    if (auto channel = SettingInteger(ReadSetting("Channel"))) UpDownChannel->SetPosition(*channel);
    bool poly = true;
    if (!ReadSetting("Poly").empty()) poly = Settings().IsYes("Poly");
    CheckBoxPoly->setChecked(poly);
    ButtonPlayChord->setEnabled(poly);
    // The librarian's "Show MIDI Console..." starts checked exactly when Console is YES.
    setVisible(Settings().IsYes("Console"));
}

void TFormConsole::FormDestroy() {
    WriteSetting("Channel", std::to_string(Channel()));
    WriteSetting("Poly", CheckBoxPoly->isChecked() ? "Yes" : "No");
}

void TFormConsole::hideEvent(QHideEvent* event) {
    if (player_.Holding()) RunHandler([this] { player_.Release(Velocity()); });
    QWidget::hideEvent(event);
}

void TFormConsole::closeEvent(QCloseEvent* event) {
    // Hidden, not destroyed: the window lives until the end of the run. Only the user's close
    // (it comes from the window system) turns the console off; the close every window gets
    // when the program ends keeps it on for the next run.
    if (event->spontaneous()) {
        host_.ConsoleClosed();
        WriteSetting("Console", "No");
    }
    event->accept();
}
