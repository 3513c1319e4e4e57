// The signals that end the program from outside reach the event loop instead of killing it.
#include "qtcommon/QuitSignals.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

namespace {

TEST(QuitSignals, EachEndingSignalIsHandledOnTheEventLoopUntilTheWatchEnds) {
    std::vector<int> seen;
    {
        QuitSignals watch([&](int number) { seen.push_back(number); });
        for (int number : {SIGTERM, SIGHUP, SIGINT}) {
            std::size_t before = seen.size();
            ::raise(number); // would end the test program without the watch
            QElapsedTimer waited;
            waited.start();
            while (seen.size() == before && waited.elapsed() < 2000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        EXPECT_EQ(watch.Received(), SIGINT);
    }
    EXPECT_EQ(seen, (std::vector<int>{SIGTERM, SIGHUP, SIGINT}));
    struct sigaction current {};
    ::sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}

} // namespace
