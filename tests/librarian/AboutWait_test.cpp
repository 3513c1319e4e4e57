// The about and wait windows.

#include "WindowFixture.h"
#include "librarian/About.h"
#include "librarian/WaitFrm.h"

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

namespace {

using SmallWindows = WindowTest;

TEST_F(SmallWindows, AboutShowsVersionAndNotesOnce) {
    Open();
    Find("About1")->trigger();
    TAboutForm* about = window_->AboutForm();
    ASSERT_TRUE(about->isVisible());
    auto* notes = about->findChild<QTextBrowser*>("aboutNotes");
    EXPECT_EQ(about->findChild<QLabel*>("Label3")->text(), "Version 1.01");
    EXPECT_EQ(about->findChild<QLabel*>("Label1")->text(), "Kelvo");
    QString first = notes->toPlainText();
    EXPECT_TRUE(first.contains("SYSTEM:BULK LOAD Waiting..."));

    about->findChild<QPushButton*>("ButtonOk")->click();
    EXPECT_FALSE(about->isVisible());
    Find("About1")->trigger();
    EXPECT_EQ(notes->toPlainText(), first); // replaced, not appended
}

TEST_F(SmallWindows, AboutWithoutNotesSaysSoOnce) {
    TAboutForm about;
    about.SetNotes("");
    about.show();
    about.hide();
    about.show();
    EXPECT_EQ(about.findChild<QTextBrowser*>("aboutNotes")->toPlainText(),
              "No description available!");
}

TEST_F(SmallWindows, WaitNoticeIsCentredOnTheLibrarian) {
    Open();
    TFormWait wait;
    window_->SetWaitWindow(&wait);
    window_->ShowWait(true);
    EXPECT_TRUE(wait.isVisible());
    EXPECT_EQ(wait.findChild<QLabel*>("Label1")->text(), "Please wait ...");
    QPoint offset = wait.geometry().center() - window_->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
    window_->ShowWait(false);
    EXPECT_FALSE(wait.isVisible());
}

} // namespace
