#pragma once
// TFormConverter: turns the librarian's temporary patch into the plain-text exchange form and
// back. The text lives in an editable box; two buttons move it through the system clipboard.
// The window works only on the temporary patch, never on a grid slot.

#include <QWidget>

class LibrarianHost;
class QPlainTextEdit;
class QToolBar;
class QToolButton;

class TFormConverter : public QWidget {
    Q_OBJECT
public:
    explicit TFormConverter(LibrarianHost& host, QWidget* parent = nullptr);

    // Handlers, named after their buttons.
    void ButtonExportClick();
    void ButtonCopyClick();
    void ButtonPasteClick();
    void ButtonImportClick();

private:
    QToolButton* AddButton(const char* name, const char* caption, int width);

    LibrarianHost& host_;
    QPlainTextEdit* Memo1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolButton* ButtonExport = nullptr;
    QToolButton* ButtonCopy = nullptr;
    QToolButton* ButtonPaste = nullptr;
    QToolButton* ButtonImport = nullptr;
};
