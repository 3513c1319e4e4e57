#include "sim/SimCommandLine.h"

#include "base/Errors.h"
#include "sim/VirtualGr33.h"

#include <charconv>
#include <filesystem>

namespace {

// Whole-number milliseconds 0..60000.
std::chrono::milliseconds parseDelay(const std::string& text) {
    int ms = -1;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ms);
    if (error != std::errc() || end != text.data() + text.size() || ms < 0 || ms > 60000)
        throw EKelvoError("--delay needs a number of milliseconds (0..60000): " + text);
    return std::chrono::milliseconds(ms);
}

} // namespace

SimCommandLine ParseSimCommandLine(const std::vector<std::string>& args) {
    SimCommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw EKelvoError(a + " needs a value");
            return args[++i];
        };
        if (a == "--api") {
            line.api = value();
            if (line.api != "alsa" && line.api != "jack")
                throw EKelvoError("--api must be alsa or jack: " + line.api);
        } else if (a == "--name") {
            line.name = value();
            if (line.name.empty()) throw EKelvoError("--name needs a non-empty name");
        } else if (a == "--bank") {
            line.bankFile = value();
        } else if (a == "--wire") {
            line.options.wire = true;
        } else if (a == "--delay") {
            line.options.delay = parseDelay(value());
        } else if (a == "--fault") {
            const std::string& text = value();
            auto fault = ParseFault(text);
            if (!fault) throw EKelvoError("unknown fault: " + text);
            line.options.faults.push_back(*fault);
        } else if (a == "--verbose") {
            line.verbose = true;
        } else if (a == "--help" || a == "-h") {
            line.help = true;
        } else {
            throw EKelvoError("unknown argument: " + a);
        }
    }
    if (line.bankFile.empty()) line.bankFile = DefaultSimBankPath();
    return line;
}

std::string DefaultSimBankPath() {
    return (std::filesystem::path(DefaultVirtualBankPath()).parent_path() / "gr33-sim.G33")
        .string();
}
