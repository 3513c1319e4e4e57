#include "WindowFixture.h"

#include "model/Settings.h"
#include "sim/VirtualGr33.h"

WindowTest::WindowTest() {
    Settings().Start(File("KelvoLight.ini"));
    InstallMidiBackends(nullptr, nullptr);
}

WindowTest::~WindowTest() {
    window_.reset();
    InstallMidiBackends(nullptr, nullptr);
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
