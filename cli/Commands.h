#pragma once
// The commands of gr33. Each takes its arguments, already checked against the command's syntax
// (the number of words, the options it accepts), and returns the exit status; errors are
// raised (EUsage, EKelvoError) and turned into texts by RunGr33.

#include "cli/CliArguments.h"

#include <ostream>

struct CliContext {
    std::ostream& out;
    std::ostream& err;
};

// File commands.
int ListCommand(const CliArguments& args, CliContext& context);
int DumpCommand(const CliArguments& args, CliContext& context);
int DiffCommand(const CliArguments& args, CliContext& context);
int ExportTextCommand(const CliArguments& args, CliContext& context);
int ImportTextCommand(const CliArguments& args, CliContext& context);
int ExtractCommand(const CliArguments& args, CliContext& context);

// Device commands.
int PortsCommand(const CliArguments& args, CliContext& context);
int IdentifyCommand(const CliArguments& args, CliContext& context);
int ReceiveCommand(const CliArguments& args, CliContext& context);
int SendCommand(const CliArguments& args, CliContext& context);

// Library commands: import, find, history, snapshots and export after the word library.
int LibraryCommand(const CliArguments& args, CliContext& context);
