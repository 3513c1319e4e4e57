#pragma once
// What the tool window tests share: a fake librarian, a backend recording what
// its one output port is sent, a fresh settings store and recorded prompts.

#include "base/Errors.h"
#include "gr33/Patch.h"
#include "midi/MidiDevices.h"
#include "model/Settings.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/RecordingHost.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using Message = std::vector<std::uint8_t>;

struct MidiLog {
    std::vector<Message> sent;
    int opened = 0, closed = 0;
    bool failSends = false;
    int OpenNow() const { return opened - closed; }
};

// One output port ("Recorder", device number 1) and one input port that never
// speaks.
class RecordingBackend : public MidiBackend {
public:
    explicit RecordingBackend(MidiLog& log) : log_(log) {}
    std::vector<MidiPortInfo> InputPorts() override { return {{"Recorder In"}}; }
    std::vector<MidiPortInfo> OutputPorts() override { return {{"Recorder"}}; }
    std::unique_ptr<MidiOutputPort> OpenOutput(int) override {
        return std::make_unique<Port>(log_);
    }
    std::unique_ptr<MidiInputPort> OpenInput(int, MidiMessageHandler) override {
        return std::make_unique<MidiInputPort>();
    }

private:
    struct Port : MidiOutputPort {
        explicit Port(MidiLog& log) : log_(log) { ++log_.opened; }
        ~Port() override { ++log_.closed; }
        void Send(std::span<const std::uint8_t> message) override {
            if (log_.failSends) throw EMidiOut("Port refused");
            log_.sent.emplace_back(message.begin(), message.end());
        }
        MidiLog& log_;
    };
    MidiLog& log_;
};

class ToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Settings().Start(SettingsPath());
        InstallMidiBackends(std::make_unique<RecordingBackend>(midi), nullptr);
    }
    void TearDown() override { InstallMidiBackends(nullptr, nullptr); }

    std::string SettingsPath() const { return dir.filePath("KelvoLight.ini").toStdString(); }
    // Ends the run's store (writing the file) and starts the next run's from it.
    void Restart() {
        Settings().End();
        Settings().Start(SettingsPath());
    }
    // Shows the window and waits until it is active, as the user meets it.
    template <class W> std::unique_ptr<W> Shown() {
        auto form = std::make_unique<W>(host);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }
    template <class W = QWidget> static W* Find(QWidget& form, const char* name) {
        auto* widget = form.findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static void Click(QWidget& form, const char* name) {
        QTest::mouseClick(Find(form, name), Qt::LeftButton);
    }

    QTemporaryDir dir;
    MidiLog midi;
    FakeHost host;
    RecordingDialogs prompts;
    ScopedPrompts guard{prompts};
};
