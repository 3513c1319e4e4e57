#pragma once
// TFormConsole: the "Simple MIDI Console" tool window. Plays a note or a major triad on the
// device for as long as a play button is held, sends a program change for the patch selected
// in the librarian's grid and silences every channel ("Panic"). The key is chosen on a bar, as
// a note name or as a frequency; the three stay in step. Every message goes to the librarian's
// selected MIDI-OUT port through a sender opened for the action.
//
// The window is created once at start-up and only hidden when the user closes it; it stores
// its channel and the Poly switch when it is destroyed at the end of the run.

#include "tools/NotePlayer.h"

#include <QWidget>

#include <cstdint>
#include <span>

class LibrarianHost;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TIBar;
class TUpDown;
enum class TUDBtnType;

class TFormConsole : public QWidget {
    Q_OBJECT
public:
    explicit TFormConsole(LibrarianHost& host, QWidget* parent = nullptr);
    ~TFormConsole() override;

    // Derived values: the key and velocity bars rounded to whole MIDI values, the channel 1..16.
    std::uint8_t Key() const;
    std::uint8_t Velocity() const;
    int Channel() const;
    // True between a play button's press and its release.
    bool NoteSenderPresent() const { return player_.Holding(); }

    // Handlers, named after their components.
    void IBarKeyChange();
    void UpDownKeyClick(TUDBtnType button);
    void EditKeyExit();
    void EditFreqExit();
    void ButtonPlayNoteMouseDown();
    void ButtonPlayNoteMouseUp();
    void ButtonPlayChordMouseDown();
    void ButtonPlayChordMouseUp();
    void ButtonPanicClick();
    void ButtonPCClick();
    void CheckBoxStayOnTopClick();
    void CheckBoxPolyClick();

protected:
    // The user closed the window: it is hidden, and the librarian unchecks its menu item.
    void closeEvent(QCloseEvent* event) override;
    // A hidden window receives no button release: notes still held are released here.
    void hideEvent(QHideEvent* event) override;
    // Enter and focus loss of the two entry fields; left-button press and release of the play
    // buttons.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildComponents();
    void SetTabOrder();
    void FormCreate();
    void FormDestroy();
    void ShowKey();
    void RestoreFrequency();
    void PlayDown(std::span<const int> offsets);
    void PlayUp();

    LibrarianHost& host_;
    TNotePlayer player_;

    QLabel* Label2 = nullptr;
    TIBar* IBarKey = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* EditKey = nullptr;
    TUpDown* UpDownKey = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* EditFreq = nullptr;
    QLabel* Label5 = nullptr;
    TIBar* IBarVelosity = nullptr;
    QLabel* Label33 = nullptr;
    QLineEdit* EditChannel = nullptr;
    TUpDown* UpDownChannel = nullptr;
    QCheckBox* CheckBoxPoly = nullptr;
    QCheckBox* CheckBoxStayOnTop = nullptr;
    QPushButton* ButtonPC = nullptr;
    QPushButton* ButtonPlayNote = nullptr;
    QPushButton* ButtonPlayChord = nullptr;
    QPushButton* ButtonPanic = nullptr;
    QLabel* Label4 = nullptr;
};
