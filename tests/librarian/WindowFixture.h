#pragma once
// A librarian window on a fresh settings store, with scripted prompts and a device list made
// of fake ports or the virtual GR-33.

#include "base/Errors.h"
#include "base/RecordingDialogs.h"
#include "librarian/MainFrm.h"
#include "midi/MidiDevices.h"
#include "tests/support/ScratchFolder.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

// Lists ports and refuses to open them.
class ListingBackend : public MidiBackend {
public:
    std::vector<MidiPortInfo> ins, outs;
    std::vector<MidiPortInfo> InputPorts() override { return ins; }
    std::vector<MidiPortInfo> OutputPorts() override { return outs; }
    std::unique_ptr<MidiOutputPort> OpenOutput(int) override {
        throw EMidiOut("Unable to open midi-out device");
    }
    std::unique_ptr<MidiInputPort> OpenInput(int, MidiMessageHandler) override {
        throw EMidiIn("Unable to open midi-in device");
    }
};

class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    ~WindowTest() override;

    std::string File(const std::string& name) const { return folder_.File(name); }
    // Installs fake ports (nullptr for none) or the virtual GR-33.
    void UsePorts(std::unique_ptr<ListingBackend> ports);
    void UseVirtualDevice();
    // Creates and shows the window and runs its start-up.
    TFormMain& Open();

    template <typename T = QAction> T* Find(const char* name) {
        T* found = window_->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // Captions of a menu's items in order, "-" for a separator.
    static QStringList Captions(QMenu* menu);

    RecordingDialogs prompts;
    std::unique_ptr<TFormMain> window_;

private:
    ScratchFolder folder_;
    ScopedPrompts guard_{prompts};
};
