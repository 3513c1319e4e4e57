#include "gr33/LiveSender.h"

#include "gr33/PatchNumber.h"

#include <algorithm>
#include <exception>

LiveSender::LiveSender(FailureHandler failed)
    : failed_(std::move(failed)), thread_([this] { run(); }) {}

LiveSender::~LiveSender() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void LiveSender::Post(int outDevice, const PatchBytes& patch) {
    {
        std::lock_guard lock(mutex_);
        if (failedOnce_) return;
        mailbox_ = Letter{outDevice, patch};
    }
    wake_.notify_one();
}

void LiveSender::WaitIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !mailbox_ && !inFlight_; });
}

bool LiveSender::Failed() const {
    std::lock_guard lock(mutex_);
    return failedOnce_;
}

void LiveSender::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return mailbox_ || ending_; });
        if (!mailbox_) return;
        const Letter letter = *mailbox_;
        mailbox_.reset();
        inFlight_ = true;
        lock.unlock();

        std::string error;
        try {
            TPatch scratch;
            std::copy(letter.patch.begin(), letter.patch.end(), scratch.Data());
            if (!scratch.SendToDevice(letter.outDevice, TempPatchNumber))
                error = "Unable to send patch";
        } catch (const std::exception& e) {
            error = e.what();
        }

        lock.lock();
        if (!error.empty()) {
            failedOnce_ = true;
            mailbox_.reset();
            // Told before the sender counts as idle, outside the lock: the handler may post
            // to its window or read Failed().
            lock.unlock();
            if (failed_) failed_(error);
            lock.lock();
        }
        inFlight_ = false;
        if (!mailbox_) idle_.notify_all();
    }
}
