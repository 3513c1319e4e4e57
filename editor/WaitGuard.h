#pragma once
// Shows the librarian's wait window for the guard's lifetime and hides it again on every exit.
// Pending window messages are processed once after showing it, so that it is painted.

#include "model/LibrarianHost.h"

#include <QCoreApplication>

class WaitGuard {
public:
    explicit WaitGuard(LibrarianHost& host) : host_(host) {
        host_.ShowWait(true);
        QCoreApplication::processEvents();
    }
    ~WaitGuard() { host_.ShowWait(false); }
    WaitGuard(const WaitGuard&) = delete;
    WaitGuard& operator=(const WaitGuard&) = delete;

private:
    LibrarianHost& host_;
};
