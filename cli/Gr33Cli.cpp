#include "cli/Gr33Cli.h"

#include "cli/Interrupt.h"

#include "base/Errors.h"
#include "cli/Commands.h"
#include "cli/Gr33CommandLine.h"

#include <functional>
#include <map>

namespace {

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
        {"library", LibraryCommand},
    };
    return table;
}

} // namespace

int RunGr33(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto line = ParseGr33CommandLine(args);
    if (!line.error.empty()) {
        err << line.error;
        return ExitUsageError;
    }
    if (line.command.empty()) {
        out << line.output;
        return ExitOk;
    }
    CliContext context{out, err};
    try {
        return commands().at(line.command)(line.arguments, context);
    } catch (const EUsage& e) {
        err << "gr33 " << line.command << ": " << e.what() << "\n";
        return ExitUsageError;
    } catch (const EInterrupted& e) {
        err << e.what() << "\n";
        return ExitInterrupted;
    } catch (const std::exception& e) {
        // The system's own message, as the application's message box would show it.
        err << MessageText(e.what()) << "\n";
        return line.command == "diff" ? ExitUsageError : ExitDataError;
    }
}
