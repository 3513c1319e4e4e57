// "Options" -> "Send Edits Live": off until chosen, kept as LiveEdit=Yes/No, and what the
// editors ask the librarian.

#include "WindowFixture.h"

#include "model/Settings.h"

namespace {

using LiveEditMenu = WindowTest;

TEST_F(LiveEditMenu, TheSwitchIsKeptInTheSettingsAndAnsweredToTheEditors) {
    Open();
    QAction* item = Find("LiveEdit1");
    ASSERT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked());
    for (const char* stored : {"Yes", "No", "Yes"}) {
        SCOPED_TRACE(stored);
        Choose("LiveEdit1");
        EXPECT_EQ(ReadSetting("LiveEdit"), stored);
        EXPECT_EQ(window_->LiveEdit(), std::string(stored) == "Yes");
    }
    window_.reset();
    Open();
    EXPECT_TRUE(Find("LiveEdit1")->isChecked());
    EXPECT_TRUE(window_->LiveEdit());
}

} // namespace
