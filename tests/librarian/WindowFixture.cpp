#include "WindowFixture.h"

#include "sim/DemoBank.h"

#include <QMenuBar>

WindowTest::WindowTest() {
    Settings().Start(File("KelvoLight.ini"));
    InstallMidiBackends(nullptr, nullptr);
}

WindowTest::~WindowTest() {
    window_.reset();
    InstallMidiBackends(nullptr, nullptr);
}

std::string WindowTest::PatchFile() const {
    TPatch patch;
    patch.SetBytes(DemoPatch(1), 0);
    patch.SaveToFile(File("demo.P33"), 0);
    return File("demo.P33");
}

TFormMain& WindowTest::Open() {
    window_ = std::make_unique<TFormMain>();
    window_->show();
    window_->activateWindow(); // shortcuts reach the active window only
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    window_->FormCreate();
    return *window_;
}

void WindowTest::Choose(const char* item) {
    QAction* action = Find(item);
    std::vector<QMenu*> menus;
    for (auto* menu = qobject_cast<QMenu*>(action->parent()); menu;
         menu = qobject_cast<QMenu*>(menu->parent()))
        menus.insert(menus.begin(), menu);
    QMenuBar* bar = window_->menuBar();
    QAction* top = menus.empty() ? action : menus.front()->menuAction();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
    if (menus.empty()) return;                       // an item of the bar itself
    for (std::size_t k = 1; k < menus.size(); ++k) { // point at the submenu, open it
        QMenu* outer = menus[k - 1];
        QTest::mouseMove(outer, outer->actionGeometry(menus[k]->menuAction()).center());
        QTest::keyClick(outer, Qt::Key_Right);
    }
    ASSERT_TRUE(menus.back()->isVisible()) << item;
    QTest::mouseClick(menus.back(), Qt::LeftButton, {},
                      menus.back()->actionGeometry(action).center());
    // A click on a disabled item leaves its menus open.
    for (auto menu = menus.rbegin(); menu != menus.rend(); ++menu)
        if ((*menu)->isVisible()) QTest::keyClick(*menu, Qt::Key_Escape);
}

void WindowTest::ClickCell(int number, Qt::MouseButton button, Qt::KeyboardModifiers keys) {
    TStringGrid* grid = Grid();
    QRect cell = grid->visualItemRect(grid->item((number - 1) / 4, (number - 1) % 4));
    QTest::mouseClick(grid->viewport(), button, keys, cell.center());
}

QStringList WindowTest::Captions(QMenu* menu) {
    QStringList captions;
    for (QAction* action : menu->actions()) {
        QString caption = action->isSeparator() ? "-" : action->text();
        if (!action->shortcut().isEmpty())
            caption += " [" + action->shortcut().toString(QKeySequence::PortableText) + "]";
        captions << caption;
    }
    return captions;
}
