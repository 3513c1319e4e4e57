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

std::vector<QMenu*> WindowTest::OpenMenus(QMenu* menu) {
    std::vector<QMenu*> menus;
    for (; menu; menu = qobject_cast<QMenu*>(menu->parent()))
        menus.insert(menus.begin(), menu);
    QMenuBar* bar = window_->menuBar();
    const QPoint title = bar->actionGeometry(menus[0]->menuAction()).center();
    // A menu takes the pointer's moves only away from where it was when the menu opened: the
    // pointer goes to the bar first, or a second opening would find it on the submenu's entry
    // already and the submenu would not open.
    if (menus.size() > 1) QTest::mouseMove(bar, title);
    QTest::mouseClick(bar, Qt::LeftButton, {}, title);
    for (std::size_t k = 1; k < menus.size(); ++k) { // point at the submenu, open it
        QMenu* outer = menus[k - 1];
        QTest::mouseMove(outer, outer->actionGeometry(menus[k]->menuAction()).center());
        QTest::keyClick(outer, Qt::Key_Right);
    }
    return menus;
}

void WindowTest::CloseMenus(const std::vector<QMenu*>& menus) {
    for (auto menu = menus.rbegin(); menu != menus.rend(); ++menu)
        if ((*menu)->isVisible()) QTest::keyClick(*menu, Qt::Key_Escape);
}

void WindowTest::Choose(const char* item) {
    QAction* action = Find(item);
    auto* menu = qobject_cast<QMenu*>(action->parent());
    if (!menu) { // an item of the bar itself
        QMenuBar* bar = window_->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(action).center());
        return;
    }
    const std::vector<QMenu*> menus = OpenMenus(menu);
    ASSERT_TRUE(menu->isVisible()) << item;
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    CloseMenus(menus); // a click on a disabled item leaves its menus open
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
