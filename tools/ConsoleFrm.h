#pragma once
// TFormConsole: the "Simple MIDI Console" tool window. Plays a note or a major triad on the
// device for as long as a play button is held, sends a program change for the patch selected
// in the librarian's grid and silences every channel ("Panic"). The key is chosen on a bar, as
// a note name or as a frequency; the three stay in step.

#include <QWidget>

class LibrarianHost;

class TFormConsole : public QWidget {
    Q_OBJECT
public:
    explicit TFormConsole(LibrarianHost& host, QWidget* parent = nullptr);
    // Stores the channel and the Poly switch.
    ~TFormConsole() override;

private:
    LibrarianHost& host_;
};
