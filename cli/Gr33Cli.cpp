#include "cli/Gr33Cli.h"

#include "base/Errors.h"
#include "cli/Commands.h"

#include <functional>
#include <map>

namespace {

constexpr const char* Usage =
    "usage: gr33 COMMAND ...\n"
    "File commands (FILE is a .G33 collection or a .P33 single patch; FILE:LABEL is one slot\n"
    "of a collection, A11 .. D84):\n"
    "  gr33 list FILE\n"
    "  gr33 dump FILE[:LABEL]\n"
    "  gr33 diff A[:LABEL] B[:LABEL]\n"
    "  gr33 export-text FILE[:LABEL]\n"
    "  gr33 import-text TEXTFILE -o OUT.P33\n"
    "  gr33 extract FILE.G33:LABEL -o OUT.P33\n"
    "Device commands:\n"
    "  gr33 ports\n"
    "  gr33 identify\n"
    "  gr33 receive all|LABEL|temp -o FILE\n"
    "  gr33 send FILE[:LABEL] [--to LABEL|temp]\n"
    "Ports: --in PORT --out PORT (a device number or part of a port name), --api API,\n"
    "       --virtual [--bank FILE] for the simulated GR-33.\n";

using Command = std::function<int(const CliArguments&, CliContext&)>;

const std::map<std::string, Command>& commands() {
    static const std::map<std::string, Command> table = {
        {"list", ListCommand},
        {"dump", DumpCommand},
        {"diff", DiffCommand},
        {"export-text", ExportTextCommand},
        {"import-text", ImportTextCommand},
        {"extract", ExtractCommand},
        {"ports", PortsCommand},
        {"identify", IdentifyCommand},
        {"receive", ReceiveCommand},
        {"send", SendCommand},
    };
    return table;
}

} // namespace

int RunGr33(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << Usage;
        return ExitUsageError;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << Usage;
        return ExitOk;
    }
    auto command = commands().find(args[0]);
    if (command == commands().end()) {
        err << "gr33: unknown command " << args[0] << "\n" << Usage;
        return ExitUsageError;
    }
    const bool isDiff = args[0] == "diff";
    RecordingDialogs prompts;
    ScopedPrompts scoped(prompts);
    CliContext context{out, err, prompts};
    try {
        auto parsed = ParseCliArguments({args.begin() + 1, args.end()});
        return command->second(parsed, context);
    } catch (const EUsage& e) {
        err << "gr33 " << args[0] << ": " << e.what() << "\n";
        return ExitUsageError;
    } catch (const std::exception& e) {
        // The system's own message, as the application's message box would show it.
        err << MessageText(e.what()) << "\n";
        return isDiff ? ExitUsageError : ExitDataError;
    }
}
