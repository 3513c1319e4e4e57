#include "WindowFixture.h"

int main(int argc, char** argv) { // the window tests need a QApplication
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

WindowTest::WindowTest() {
    Settings().Start(File("KelvoLight.ini"));
    InstallMidiBackends(nullptr, nullptr);
}

WindowTest::~WindowTest() {
    window_.reset();
    InstallMidiBackends(nullptr, nullptr);
}

std::string WindowTest::PatchFile(const std::string& name, const PatchBytes& bytes) const {
    TPatch patch;
    patch.SetBytes(bytes, 0);
    patch.SaveToFile(File(name), 0);
    return File(name);
}

std::string WindowTest::BankFile(const std::string& name, const std::vector<int>& demos,
                                 const std::map<int, PatchBytes>& others) const {
    std::array<TPatch, PatchCount> patches;
    std::array<const TPatch*, PatchCount> records{};
    for (int n = 0; n < PatchCount; ++n)
        records[n] = &patches[n];
    for (int n : demos)
        patches[n - 1].SetBytes(DemoPatch(n), n);
    for (const auto& [n, bytes] : others)
        patches[n - 1].SetBytes(bytes, n);
    WriteCollectionFile(File(name), records);
    return File(name);
}

QString WindowTest::DemoName(int demo) {
    TPatch patch;
    patch.SetBytes(DemoPatch(demo), 1);
    return QString::fromStdString(patch.GetName());
}

FakeMidiState& WindowTest::InstallPorts(std::vector<MidiPortInfo> ins,
                                        std::vector<MidiPortInfo> outs) {
    auto ports = std::make_shared<FakeMidiState>();
    ports->inputs = std::move(ins), ports->outputs = std::move(outs);
    ports->failOpenIn = ports->failOpenOut = true;
    InstallMidiBackends(std::make_unique<FakeMidiBackend>(ports), nullptr);
    return *ports; // kept by the backend while it is installed
}

VirtualGr33* WindowTest::InstallDevice(std::vector<Fault> faults) {
    auto backend = CreateVirtualGr33(File("device.G33"), {.faults = std::move(faults)});
    VirtualGr33* device = backend.get();
    InstallMidiBackends(nullptr, std::move(backend));
    return device;
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
    // A menu takes only moves away from where the pointer was at its opening: to the bar first.
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
    QTest::mouseClick(Grid()->viewport(), button, keys, CellCentre(number));
}

bool WindowTest::DropOnCell(const QMimeData& data, int number, Qt::KeyboardModifiers keys) {
    const QPoint at = CellCentre(number);
    QDragEnterEvent enter(at, Qt::MoveAction | Qt::CopyAction, &data, Qt::LeftButton, keys);
    QDragMoveEvent move(at, enter.possibleActions(), &data, Qt::LeftButton, keys);
    QDropEvent drop(at, enter.possibleActions(), &data, Qt::LeftButton, keys);
    for (QEvent* event : std::array<QEvent*, 3>{&enter, &move, &drop})
        QApplication::sendEvent(Grid()->viewport(), event);
    return enter.isAccepted() && move.isAccepted() && drop.isAccepted();
}

QStringList WindowTest::Compared() {
    auto* window = Find<QWidget>("CompareWindow");
    EXPECT_TRUE(window->isVisible());
    QStringList lines{window->windowTitle()};
    auto* list = window->findChild<QListWidget*>("CompareList");
    for (int row = 0; row < list->count(); ++row)
        lines << list->item(row)->text();
    return lines;
}

QStringList WindowTest::Captions(QWidget* menu) {
    QStringList captions;
    for (QAction* action : menu->actions()) {
        QString caption = action->isSeparator() ? "-" : action->text();
        if (!action->shortcut().isEmpty())
            caption += " [" + action->shortcut().toString(QKeySequence::PortableText) + "]";
        captions << caption;
    }
    return captions;
}
