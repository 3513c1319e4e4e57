#include "WindowFixture.h"

#include "librarian/model/Settings.h"
#include "sim/VirtualGr33.h"

#include <random>

WindowTest::WindowTest() {
    std::random_device random;
    folder_ = std::filesystem::temp_directory_path() /
              ("kelvo-window-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(folder_);
    Settings().Start(File("KelvoLight.ini"));
    InstallMidiBackends(nullptr, nullptr);
}

WindowTest::~WindowTest() {
    window_.reset();
    InstallMidiBackends(nullptr, nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void WindowTest::UsePorts(std::unique_ptr<ListingBackend> ports) {
    InstallMidiBackends(std::move(ports), nullptr);
}

void WindowTest::UseVirtualDevice() {
    InstallMidiBackends(nullptr, CreateVirtualGr33(File("device.G33")));
}

TFormMain& WindowTest::Open() {
    window_ = std::make_unique<TFormMain>();
    window_->show();
    window_->FormCreate();
    return *window_;
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
