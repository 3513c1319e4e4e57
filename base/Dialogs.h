#pragma once
// Every message box, question, file dialog, input box and font dialog of KelvoLight goes
// through this interface. The application installs a Qt implementation; tests install
// RecordingDialogs, which records what was shown and answers from a queue.

#include <optional>
#include <string>

// A font as the settings and the grid keep it: point size, style bits (1 bold, 2 italic,
// 4 underline, 8 strike-out) and family name.
struct FontSpec {
    int size = 8;
    int style = 0;
    std::string name;
    bool operator==(const FontSpec&) const = default;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Plain information box with an OK button; the text is shown as given.
    virtual void ShowMessage(const std::string& text) = 0;
    // Error box for an exception's text (the full-stop rule is applied by the caller).
    virtual void ShowError(const std::string& text) = 0;
    // Yes/No box; the question is shown followed by " ?". True exactly when Yes was chosen.
    virtual bool Confirm(const std::string& question) = 0;
    // File dialogs: the chosen path, or nothing when cancelled. filter is a list of
    // description|pattern pairs, all separated by vertical bars ("Texts (*.txt)|*.txt|All
    // Files|*.*"); the description is what the dialog shows. defaultSuffix, without dot, is
    // added to a typed name that has none.
    virtual std::optional<std::string> OpenFileName(const std::string& title,
                                                    const std::string& filter,
                                                    const std::string& defaultSuffix) = 0;
    virtual std::optional<std::string> SaveFileName(const std::string& title,
                                                    const std::string& filter,
                                                    const std::string& defaultSuffix) = 0;
    // One-line input box: the entered text, or nothing when cancelled.
    virtual std::optional<std::string> InputText(const std::string& caption,
                                                 const std::string& prompt,
                                                 const std::string& initial) = 0;
    // Font dialog starting at the given font: the chosen font, or nothing when cancelled.
    virtual std::optional<FontSpec> ChooseFont(const FontSpec& initial) = 0;
    // True once KelvoLight is ending on a signal (logout, shutdown, Ctrl+C): nobody is left to
    // answer, so a question or dialog that returned since then returned unanswered.
    virtual bool Ending() const { return false; }
};

// The process-wide prompt implementation, installed by the application or by a test.
Dialogs& Prompts();
void SetPrompts(Dialogs* dialogs);

// The confirmation helper every window uses: appends " ?" and asks Yes/No.
inline bool Confirmation(const std::string& question) {
    return Prompts().Confirm(question);
}
