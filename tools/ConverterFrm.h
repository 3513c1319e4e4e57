#pragma once
// TFormConverter: turns the librarian's temporary patch into the plain-text exchange form and
// back, moving the text through the system clipboard.

#include <QWidget>

class LibrarianHost;

class TFormConverter : public QWidget {
    Q_OBJECT
public:
    explicit TFormConverter(LibrarianHost& host, QWidget* parent = nullptr);

private:
    LibrarianHost& host_;
};
