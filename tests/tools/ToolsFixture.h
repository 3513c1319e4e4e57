#pragma once
// What the tool window tests share: a fake librarian, a backend recording what its one output
// port ("Recorder", device number 1) is sent, a fresh settings store and recorded prompts.

#include "base/Errors.h"
#include "gr33/Patch.h"
#include "midi/MidiDevices.h"
#include "model/Settings.h"
#include "tests/midi/FakeMidiBackend.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/RecordingHost.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using Message = Bytes;

class ToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Settings().Start(SettingsPath());
    }

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
    // Output ports opened since the log was last cleared.
    int Opened() const { return static_cast<int>(std::ranges::count(midi.log, "open out 0")); }

    QTemporaryDir dir;
    InstalledFake fake{{{"Recorder In"}}, {{"Recorder"}}};
    FakeMidiState& midi = *fake.system;
    FakeHost host;
    RecordingDialogs prompts;
    ScopedPrompts guard{prompts};
};
