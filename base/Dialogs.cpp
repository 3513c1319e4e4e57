#include "base/Dialogs.h"

namespace {
// Until the application installs its own, prompts show nothing and are answered "No"/cancel,
// which is what a program without windows (the command-line tool) wants.
class NoPrompts : public Dialogs {
public:
    void ShowMessage(const std::string&) override {}
    void ShowError(const std::string&) override {}
    bool Confirm(const std::string&) override { return false; }
    std::optional<std::string> OpenFileName(const std::string&, const std::string&,
                                            const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileName(const std::string&, const std::string&,
                                            const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> InputText(const std::string&, const std::string&,
                                         const std::string&) override {
        return std::nullopt;
    }
    std::optional<FontSpec> ChooseFont(const FontSpec&) override { return std::nullopt; }
};

Dialogs& fallback() {
    static NoPrompts dialogs;
    return dialogs;
}
Dialogs* current = nullptr;
} // namespace

Dialogs& Prompts() {
    return current ? *current : fallback();
}
void SetPrompts(Dialogs* dialogs) {
    current = dialogs;
}
