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
    Choose("About1");
    TAboutForm* about = window_->AboutForm();
    ASSERT_TRUE(about->isVisible());
    auto* notes = about->findChild<QTextBrowser*>("aboutNotes");
    EXPECT_EQ(about->findChild<QLabel*>("Label3")->text() + "|" +
                  about->findChild<QLabel*>("Label1")->text(),
              "Version 1.01|Kelvo");
    const QString first = notes->toPlainText();
    EXPECT_TRUE(first.contains("SYSTEM:BULK LOAD Waiting..."));
    QTest::mouseClick(about->findChild<QPushButton*>("ButtonOk"), Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
    Choose("About1");
    EXPECT_EQ(notes->toPlainText(), first); // replaced, not appended

    TAboutForm bare;
    bare.SetNotes("");
    bare.show(), bare.hide(), bare.show();
    EXPECT_EQ(bare.findChild<QTextBrowser*>("aboutNotes")->toPlainText(),
              "No description available!");
}

TEST_F(SmallWindows, WaitNoticeIsCentredOnTheLibrarian) {
    Open();
    TFormWait wait;
    window_->SetWaitWindow(&wait);
    window_->ShowWait(true);
    EXPECT_TRUE(wait.isVisible());
    const auto* label = wait.findChild<QLabel*>("Label1");
    EXPECT_EQ(label->text(), "Please wait ...");
    EXPECT_EQ(wait.size(), QSize(122, 35)); // the text fits, whatever face stands in
    EXPECT_TRUE(wait.rect().contains(label->geometry()));
    EXPECT_LE((wait.geometry().center() - window_->frameGeometry().center()).manhattanLength(), 2);
    window_->ShowWait(false);
    EXPECT_FALSE(wait.isVisible());
}

} // namespace
