// The command lines of gr33 and gr33-sim from arbitrary arguments (the input split at NUL
// bytes; its first byte picks the tool). gr33's parse ends in exactly one outcome: a command to
// run, a text to print or a usage error. gr33-sim's either parses into values it can run with
// or is refused with a usage error; nothing else may escape either parser.
#include "base/Errors.h"
#include "cli/Gr33CommandLine.h"
#include "sim/SimCommandLine.h"

#include <cstdlib>

namespace {
std::vector<std::string> splitArguments(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back().push_back(static_cast<char>(data[i]));
    }
    return args;
}

void checkGr33(const std::vector<std::string>& args) {
    auto line = ParseGr33CommandLine(args);
    const int outcomes = !line.command.empty() + !line.output.empty() + !line.error.empty();
    if (outcomes != 1) std::abort();
    if (!line.command.empty() && (args.empty() || line.command != args[0])) std::abort();
}

void checkSim(const std::vector<std::string>& args) {
    try {
        auto line = ParseSimCommandLine(args);
        if (line.api != "alsa" && line.api != "jack") std::abort();
        if (line.name.empty() || line.bankFile.empty()) std::abort();
    } catch (const EKelvoError&) {
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    auto args = splitArguments(data + 1, size - 1);
    if (args.size() == 1 && args[0].empty()) args.clear();
    if (data[0] & 1)
        checkSim(args);
    else
        checkGr33(args);
    return 0;
}
