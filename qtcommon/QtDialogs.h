#pragma once
// The application's Dialogs: Qt message boxes, file dialogs, input box and font dialog, all
// titled with the application title.

#include "base/Dialogs.h"

#include <QString>

class QWidget;

class QtDialogs : public Dialogs {
public:
    // parent: the window the boxes are centred on (may be null).
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool Confirm(const std::string& question) override;
    std::optional<std::string> OpenFileName(const std::string& title, const std::string& filter,
                                            const std::string& defaultSuffix) override;
    std::optional<std::string> SaveFileName(const std::string& title, const std::string& filter,
                                            const std::string& defaultSuffix) override;
    std::optional<std::string> InputText(const std::string& caption, const std::string& prompt,
                                         const std::string& initial) override;
    std::optional<FontSpec> ChooseFont(const FontSpec& initial) override;

    // From now on every box and dialog counts as unanswered (a quit signal came); the boxes
    // open then or later are ended by the quit itself.
    void EndAnswers() { ending_ = true; }
    bool Ending() const override { return ending_; }

    // Preset file name for the next file dialog (the librarian's "Default.G33" and last name).
    void SetNextFileName(const std::string& name) { nextFileName_ = QString::fromStdString(name); }

private:
    std::optional<std::string> fileName(const std::string& title, const std::string& filter,
                                        const std::string& defaultSuffix, bool save);

    QWidget* parent_;
    QString nextFileName_;
    bool ending_ = false;
};

// The title of every message box: "KELVO Light: Quorlen".
QString ApplicationTitle();
