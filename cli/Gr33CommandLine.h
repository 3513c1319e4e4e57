#pragma once
// The command line of gr33, parsed by CLI11 without running anything: the command and its
// arguments, or the help or version text to print, or the usage error to report.

#include "cli/CliArguments.h"

#include <string>
#include <vector>

struct Gr33CommandLine {
    std::string command; // "list" .. "send"; empty when there is nothing to run
    CliArguments arguments;
    std::string output; // help or version text for the standard output (exit status 0)
    std::string error;  // a usage error for the error output (exit status 2)
};

// The overview of every command, printed by gr33 --help.
extern const char* const Gr33Usage;

// The arguments after the program name.
Gr33CommandLine ParseGr33CommandLine(const std::vector<std::string>& args);
