#include "tests/support/RecordingDialogs.h"

namespace {
template <typename T> std::optional<T> pop(std::deque<std::optional<T>>& queue) {
    if (queue.empty()) return std::nullopt;
    auto answer = queue.front();
    queue.pop_front();
    return answer;
}
} // namespace

void RecordingDialogs::ShowMessage(const std::string& text) {
    shown.push_back({"message", text});
}
void RecordingDialogs::ShowError(const std::string& text) {
    shown.push_back({"error", text});
}

bool RecordingDialogs::Confirm(const std::string& question) {
    shown.push_back({"confirm", question + " ?"});
    if (Ending()) return false;
    if (confirmAnswers.empty()) return defaultYes;
    bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

std::optional<std::string> RecordingDialogs::OpenFileName(const std::string& title,
                                                          const std::string&, const std::string&) {
    shown.push_back({"open", title});
    return Ending() ? std::nullopt : pop(fileAnswers);
}

std::optional<std::string> RecordingDialogs::SaveFileName(const std::string& title,
                                                          const std::string&, const std::string&) {
    shown.push_back({"save", title});
    return Ending() ? std::nullopt : pop(fileAnswers);
}

std::optional<std::string> RecordingDialogs::InputText(const std::string& caption,
                                                       const std::string& prompt,
                                                       const std::string&) {
    shown.push_back({"input", caption + ": " + prompt});
    return pop(inputAnswers);
}

std::optional<FontSpec> RecordingDialogs::ChooseFont(const FontSpec&) {
    shown.push_back({"font", ""});
    return pop(fontAnswers);
}

std::vector<std::string> RecordingDialogs::Texts(const std::string& kind) const {
    std::vector<std::string> texts;
    for (const auto& s : shown)
        if (s.kind == kind) texts.push_back(s.text);
    return texts;
}

ScopedPrompts::ScopedPrompts(Dialogs& dialogs) : previous_(&Prompts()) {
    SetPrompts(&dialogs);
}
ScopedPrompts::~ScopedPrompts() {
    SetPrompts(previous_);
}
