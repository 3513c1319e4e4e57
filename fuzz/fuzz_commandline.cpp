// The command lines of gr33 and gr33-sim from arbitrary arguments (the input after its first
// byte, split at NUL bytes; the first byte picks the tool). gr33's parse ends in exactly one
// outcome: a command to run, a text to print or a usage error. gr33-sim's parses into values it
// can run with or is refused with a usage error. Nothing else may escape either parser.
#include "base/Errors.h"
#include "cli/Gr33CommandLine.h"
#include "sim/SimCommandLine.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::vector<std::string> args;
    for (std::size_t i = 1; i < size; ++i) {
        if (args.empty() || data[i] == 0) args.emplace_back();
        if (data[i] != 0) args.back().push_back(static_cast<char>(data[i]));
    }
    if (data[0] & 1) {
        try {
            auto line = ParseSimCommandLine(args);
            if ((line.api != "alsa" && line.api != "jack") || line.name.empty() ||
                line.bankFile.empty())
                std::abort();
        } catch (const EKelvoError&) {
        }
        return 0;
    }
    auto line = ParseGr33CommandLine(args);
    if (!line.command.empty() + !line.output.empty() + !line.error.empty() != 1) std::abort();
    // The command is the first word after a leading --log.
    const auto first = std::find_if(args.begin(), args.end(),
                                    [](const std::string& arg) { return arg != "--log"; });
    if (!line.command.empty() && (first == args.end() || line.command != *first)) std::abort();
    return 0;
}
