#pragma once
// The command-line tool gr33 as a function, so the tests run it without a process: the
// arguments after the program name in, the output and error texts and the exit status out.

#include <ostream>
#include <string>
#include <vector>

// Exit statuses: success, a data or file error (or, for diff, patches that differ), a usage
// error (for diff also any trouble).
inline constexpr int ExitOk = 0;
inline constexpr int ExitDataError = 1;
inline constexpr int ExitUsageError = 2;
// Ended by Ctrl+C (SIGINT), as a shell reports a program the signal ended.
inline constexpr int ExitInterrupted = 130;

int RunGr33(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
