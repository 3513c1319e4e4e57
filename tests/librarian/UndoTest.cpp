// Undo and redo through the "Edit" menu and its keys: each step puts the grid back as it was,
// the modified mark follows the saved state, a load starts afresh.

#include "WindowFixture.h"

#include <functional>

namespace {

using Undo = WindowTest;

TEST_F(Undo, StepsGoBackAndForthToTheSavedState) {
    Open();
    const auto cells = [&] {
        QStringList texts;
        for (int n = 1; n <= 128; ++n)
            texts << Cell(n);
        return texts.join('\n').toStdString();
    };
    const auto keys = [this](int number, Qt::Key key) {
        return [=, this] { OnCell(number, key); };
    };
    const std::vector<std::pair<std::string, std::function<void()>>> steps = {
        {"Load Patch", [this] { Choose("LoadPatch1", PatchFile()); }}, // into A11, selected
        {"Cut", keys(1, Qt::Key_X)},
        {"Insert", keys(3, Qt::Key_Insert)},
        {"Paste", keys(2, Qt::Key_V)}};
    std::vector<std::string> states{cells()};
    for (const auto& [text, run] : steps) {
        run();
        EXPECT_NE(cells(), states.back()) << text;
        states.push_back(cells());
        EXPECT_EQ(Find("Undo1")->text().toStdString(), "Undo " + text);
    }
    for (int k = 4; k > 0; --k) {
        EXPECT_EQ(Title().toStdString(), "KelvoLight 1.01 (* Untitled)");
        Key(Qt::Key_Z);
        EXPECT_EQ(cells(), states[k - 1]) << k;
        EXPECT_EQ(Find("Redo1")->text().toStdString(), "Redo " + steps[k - 1].first);
    }
    EXPECT_EQ(Title().toStdString(), "KelvoLight 1.01 (Untitled)");
    EXPECT_FALSE(Find("Undo1")->isEnabled());
    for (int k = 1; k <= 4; ++k)
        Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(cells(), states.back());

    // Saved after one undo: forward again and back past the save both mark it modified.
    Choose("Undo1");
    prompts.fileAnswers = {File("bank.G33"), File("bank.G33")}; // saved, then loaded
    Choose("SaveCollection");
    for (const char* item : {"Redo1", "Undo1", "Undo1"}) {
        const bool starred = Title().contains('*');
        Choose(item);
        EXPECT_NE(Title().contains('*'), starred) << item;
    }
    prompts.confirmAnswers = {false}; // not saved first
    Choose("LoadCollection");
    EXPECT_EQ(cells(), states[3]);
    EXPECT_EQ(Title().toStdString(), "KelvoLight 1.01 (bank.G33)");
    EXPECT_FALSE(Find("Undo1")->isEnabled() || Find("Redo1")->isEnabled());
    OnCell(3, Qt::Key_X); // A13 holds the patch
    EXPECT_TRUE(Title().contains('*'));
    Key(Qt::Key_Z); // back to the loaded file's state, the saved one
    EXPECT_EQ(Title().toStdString(), "KelvoLight 1.01 (bank.G33)");
}

} // namespace
