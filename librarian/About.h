#pragma once
// TAboutForm: the borderless about window with the application's short name, its version and
// a document of notes about the program. It is created hidden with the librarian window and
// only shown and hidden afterwards.

#include <QDialog>

class QLabel;
class QTextBrowser;

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

    // The version the next showing puts into "Version ...".
    void SetVersion(const QString& version) { version_ = version; }
    // The notes document (rich text); empty shows "No description available!".
    void SetNotes(const QString& notes) { notes_ = notes; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QString version_;
    QString notes_;
    QLabel* label3_ = nullptr;
    QTextBrowser* aboutNotes_ = nullptr;
};

// The notes document the about window shows.
QString AboutNotes();
