#pragma once
// Turns the signals that end a desktop program from outside (SIGTERM at logout or shutdown,
// SIGHUP when its terminal goes, SIGINT from Ctrl+C) into a call on the event loop, so the
// program quits the orderly way instead of being killed where it stands. The signal handler
// only writes one byte into a pipe; the event loop reads it and runs the callback.

#include <QObject>

#include <functional>

class QSocketNotifier;

class QuitSignals : public QObject {
public:
    explicit QuitSignals(std::function<void(int signal)> onSignal, QObject* parent = nullptr);
    // Restores the default handling of the three signals.
    ~QuitSignals() override;

    // The last signal received, 0 while none came.
    int Received() const { return received_; }

private:
    void readSignal();

    std::function<void(int)> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
    int received_ = 0;
};
