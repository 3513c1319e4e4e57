#include "qtcommon/QuitSignals.h"

#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> QuitSignalNumbers = {SIGTERM, SIGHUP, SIGINT};

// The pipe between the signal handler and the event loop; one pair for the process.
int signalPipe[2] = {-1, -1};

extern "C" void onQuitSignal(int signal) {
    unsigned char number = static_cast<unsigned char>(signal);
    int saved = errno;
    [[maybe_unused]] ssize_t ignored = ::write(signalPipe[1], &number, 1);
    errno = saved;
}

} // namespace

QuitSignals::QuitSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
    if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::readSignal);
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : QuitSignalNumbers)
        ::sigaction(number, &action, nullptr);
}

QuitSignals::~QuitSignals() {
    for (int number : QuitSignalNumbers)
        std::signal(number, SIG_DFL);
}

void QuitSignals::readSignal() {
    unsigned char number = 0;
    while (::read(signalPipe[0], &number, 1) == 1) {
        received_ = number;
        if (onSignal_) onSignal_(number);
    }
}
