#include "tools/ConsoleFrm.h"

#include "librarian/model/LibrarianHost.h"

TFormConsole::TFormConsole(LibrarianHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    setWindowTitle("Simple MIDI Console");
}

TFormConsole::~TFormConsole() = default;
