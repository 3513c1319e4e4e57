#include "sim/SimCommandLine.h"
#include "base/Errors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

TEST(SimCommandLine, ValuesAttachedOrSeparate) {
    auto line =
        ParseSimCommandLine({"--api=jack", "--delay", "20", "--fault=silent@A11", "--version"});
    EXPECT_EQ(line.api, "jack");
    EXPECT_EQ(line.options.delay, std::chrono::milliseconds(20));
    EXPECT_EQ(line.options.faults.size(), 1u);
    EXPECT_TRUE(line.version);
    for (const char* ms : {"0", "60000"}) // both ends of the delay's range
        EXPECT_EQ(ParseSimCommandLine({"--delay", ms}).options.delay.count(), std::atoi(ms));
}

TEST(SimCommandLine, ErrorsInTheProgramsOwnWords) {
    for (const auto& [args, message] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--api"}, "--api needs a value"},
             {{"--api", "midi"}, "--api must be alsa or jack: midi"},
             {{"--delay=60001"}, "--delay needs a number of milliseconds (0..60000): 60001"},
             {{"--fault", "silent", "extra"}, "unknown argument: extra"},
         }) {
        EXPECT_THAT([&args = args] { ParseSimCommandLine(args); },
                    ::testing::ThrowsMessage<EKelvoError>(::testing::StrEq(message)));
    }
}
