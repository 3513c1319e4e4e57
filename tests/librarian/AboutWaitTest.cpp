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
    EXPECT_EQ(about->findChild<QLabel*>("Label3")->text(), "Version 1.01");
    EXPECT_EQ(about->findChild<QLabel*>("Label1")->text(), "Kelvo");
    QString first = notes->toPlainText();
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
    auto* label = wait.findChild<QLabel*>("Label1");
    EXPECT_EQ(label->text(), "Please wait ...");
    // The window keeps its size; the text fits inside it, whatever face stands in.
    EXPECT_EQ(wait.size(), QSize(122, 35));
    EXPECT_TRUE(wait.rect().contains(label->geometry()));
    QPoint offset = wait.geometry().center() - window_->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
    window_->ShowWait(false);
    EXPECT_FALSE(wait.isVisible());
}

} // namespace
