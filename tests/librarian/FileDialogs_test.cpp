// The librarian's file dialogs, typed into as a user does.
#include "model/Collection.h"
#include "qtcommon/QtDialogs.h"
#include "tests/support/ScratchFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

namespace {

// Answers the next file dialog: records the filter descriptions it shows, types the name and
// presses Return; a dialog still open a moment later (it refused the name) is cancelled.
struct DialogUser {
    explicit DialogUser(QString typed) {
        QTimer::singleShot(0, [this, typed] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            for (int i = 0; types && i < types->count(); ++i)
                shown << types->itemText(i);
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->selectAll();
            QTest::keyClicks(name, typed);
            QTest::keyClick(name, Qt::Key_Return);
            QTimer::singleShot(300, dialog, [dialog] {
                if (dialog->isVisible()) dialog->reject();
            });
        });
    }
    QStringList shown;
};

TEST(FileDialogs, ShowTheirDescriptionsAndAddTheDefaultExtension) {
    ScratchFolder folder;
    std::ofstream(folder.File("Bank5.G33")) << "x";
    std::ofstream(folder.File("Lead.P33")) << "x";
    QtDialogs dialogs;
    struct Case {
        bool save;
        const char* filter;
        const char* typed;
        QStringList shown;
    };
    const QStringList collection = {"GR-33 Patch Collection (*.G33)", "All Files (*.*)"};
    const QStringList patch = {"GR-33 Patch File (*.P33)", "All Files (*.*)"};
    const Case cases[] = {
        {false, CollectionOpenFilter, "Bank5", {"GR-33 Patch Collection (*.G33)", "All Files"}},
        {true, CollectionSaveFilter, "Bank6", collection},
        {false, PatchFilter, "Lead", patch},
        {true, PatchFilter, "Pad", patch}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        std::string suffix = c.filter == PatchFilter ? "P33" : "G33";
        dialogs.SetNextFileName(folder.File("Default." + suffix));
        DialogUser user(c.typed);
        auto chosen = c.save ? dialogs.SaveFileName("Save", c.filter, suffix)
                             : dialogs.OpenFileName("Load", c.filter, suffix);
        EXPECT_EQ(user.shown, c.shown);
        EXPECT_EQ(chosen.value_or("(refused)"), folder.File(c.typed + ("." + suffix)));
    }
}

} // namespace
