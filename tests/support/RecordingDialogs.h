#pragma once
// A scripted Dialogs for the tests, the screenshots and the benchmarks: records every prompt
// and answers from queues (Confirm answers `defaultYes` when its queue is empty; the dialogs
// cancel).

#include "base/Dialogs.h"

#include <deque>
#include <string>
#include <vector>

class RecordingDialogs : public Dialogs {
public:
    struct Shown {
        std::string kind; // "message", "error", "confirm", "open", "save", "input", "font"
        std::string text;
    };

    std::vector<Shown> shown;
    std::deque<bool> confirmAnswers;
    bool defaultYes = false;
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::optional<std::string>> inputAnswers;
    std::deque<std::optional<FontSpec>> fontAnswers;
    // A quit signal comes once this many prompts were shown (-1: never); a question or file
    // dialog shown from then on goes unanswered.
    int endAfter = -1;

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
    bool Ending() const override {
        return endAfter >= 0 && shown.size() >= static_cast<std::size_t>(endAfter);
    }

    // Texts of the prompts of one kind, in order.
    std::vector<std::string> Texts(const std::string& kind) const;
    // The last text shown of any kind, or "" when nothing was shown.
    std::string Last() const { return shown.empty() ? std::string() : shown.back().text; }
    void Clear() { shown.clear(); }
};

// Installs a RecordingDialogs for the lifetime of the guard and restores the previous one.
class ScopedPrompts {
public:
    explicit ScopedPrompts(Dialogs& dialogs);
    ~ScopedPrompts();
    ScopedPrompts(const ScopedPrompts&) = delete;
    ScopedPrompts& operator=(const ScopedPrompts&) = delete;

private:
    Dialogs* previous_;
};
