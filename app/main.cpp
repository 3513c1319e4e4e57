// KelvoLight: the settings store starts first, then the application, its prompts, the MIDI
// device list and the four windows (librarian, wait notice, MIDI console, converter). The
// file named on the command line is opened once they all exist (TFormMain::OpenStartFile). The
// message loop runs until the librarian window closes; the windows go in reverse order and
// the settings store writes its file last.

#include "app/Recovery.h"
#include "base/Errors.h"
#include "controls/ClickSound.h"
#include "gr33/TextForm.h"
#include "librarian/MainFrm.h"
#include "librarian/WaitFrm.h"
#include "library/Library.h"
#include "midi/MidiDevices.h"
#include "midi/MidiShortOut.h"
#include "midi/RtMidiBackend.h"
#include "model/Settings.h"
#include "model/SettingsFile.h"
#include "qtcommon/QtDialogs.h"
#include "qtcommon/QuitSignals.h"
#include "qtcommon/RunHandler.h"
#include "sim/VirtualGr33.h"
#include "tools/ConsoleFrm.h"
#include "tools/ConverterFrm.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

// The settings file for this executable (model/SettingsFile), its folder made when needed.
std::string SettingsPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const std::string path =
        ChooseSettingsFile(QCoreApplication::applicationFilePath().toStdString(),
                           KELVO_INSTALL_BINDIR, folder.toStdString());
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
    return path;
}

void InstallDevices() {
    std::unique_ptr<MidiBackend> system;
    std::unique_ptr<MidiBackend> virtualDevice;
    RunHandler([&] { system = CreateRtMidiBackend(ReadSetting("MidiApi")); });
    if (!Settings().IsNo("VirtualDevice"))
        RunHandler([&] { virtualDevice = CreateVirtualGr33(DefaultVirtualBankPath()); });
    InstallMidiBackends(std::move(system), std::move(virtualDevice));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("KelvoLight");
    QApplication::setApplicationVersion(AppVersion);
    QApplication::setWindowIcon(QIcon::fromTheme("org.kelvolight.KelvoLight"));
    QApplication::setQuitOnLastWindowClosed(false);
    // KelvoLight [FILE]: --help and --version print and end here, before any window exists.
    QCommandLineParser arguments;
    arguments.setApplicationDescription("Patch librarian and editor for the GR-33");
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument("FILE", "A collection (.G33) or patch file (.P33) to open",
                                    "[FILE]");
    arguments.process(app);
    if (arguments.positionalArguments().size() > 1) {
        std::fprintf(stderr, "KelvoLight: one FILE at most\n%s", qPrintable(arguments.helpText()));
        return 2;
    }
    // Absolute, as the file dialogs give it, so the title names the file the same way.
    const std::string startFile =
        arguments.positionalArguments().isEmpty()
            ? std::string()
            : QFileInfo(arguments.positionalArguments().front()).absoluteFilePath().toStdString();

    QtDialogs dialogs;
    SetPrompts(&dialogs);
    // Logout, shutdown or Ctrl+C end the run like closing the window, without its question.
    // The signal may come while a message box waits for an answer, or before one opens: every
    // event loop running then or started later on the way out is ended, so none waits for a
    // user who has gone.
    QTimer endLoops;
    QObject::connect(&endLoops, &QTimer::timeout, [] { QApplication::exit(0); });
    QuitSignals quitSignals([&](int) {
        dialogs.EndAnswers();
        QApplication::exit(0);
        endLoops.start(20);
    });
    Settings().Start(SettingsPath());
    if (!Settings().ReadError().empty()) dialogs.ShowError(MessageText(Settings().ReadError()));

    InstallDevices();
    SetClickSound([](float distance, float range) { PlayClick(distance, range); });

    int result = 0;
    {
        // Opened once the window shows, so a library that cannot be used says why over it;
        // destroyed after the window.
        std::unique_ptr<TPatchLibrary> library;
        auto main = std::make_unique<TFormMain>();
        dialogs.SetParent(main.get());
        QObject::connect(main.get(), &TFormMain::Closed, &app, &QApplication::quit);
        main->show();
        main->FormCreate();
        RunHandler(
            [&] { library = std::make_unique<TPatchLibrary>(TPatchLibrary::DefaultPath()); });
        main->SetPatchLibrary(library.get());
        ReportRecoveredCollection();
        auto wait = std::make_unique<TFormWait>();
        main->SetWaitWindow(wait.get());
        auto console = std::make_unique<TFormConsole>(*main);
        main->SetConsoleWindow(console.get());
        auto converter = std::make_unique<TFormConverter>(*main);
        main->SetConverterWindow(converter.get());
        if (!startFile.empty()) main->OpenStartFile(startFile);

        if (!quitSignals.Received()) result = QApplication::exec();
        if (quitSignals.Received()) RecoverCollection(main->Collection());

        // The last created goes first; the console stores its channel on the way.
        converter.reset();
        console.reset();
        wait.reset();
        dialogs.SetParent(nullptr);
        main.reset();
    }
    SetClickSound({});
    InstallMidiBackends(nullptr, nullptr);
    RunHandler([] { Settings().End(); });
    SetPrompts(nullptr);
    return result;
}
