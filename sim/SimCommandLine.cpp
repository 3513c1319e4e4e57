#include "sim/SimCommandLine.h"

#include "base/Errors.h"
#include "sim/VirtualGr33.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <filesystem>
#include <map>

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
    CLI::App app("", "gr33-sim");
    app.set_help_flag();
    app.allow_extras(); // reported below in the program's own words
    app.add_flag("-h,--help", line.help);
    app.add_flag("--version", line.version);
    app.add_flag("--wire", line.options.wire);
    app.add_flag("--verbose", line.verbose);
    std::map<std::string, CLI::Option*> values;
    for (const char* name : {"--api", "--name", "--bank", "--delay", "--fault"})
        values[name] = app.add_option(name)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);

    std::vector<std::string> reversed(args.rbegin(), args.rend()); // CLI11 takes them backwards
    try {
        app.parse(reversed);
    } catch (const CLI::ArgumentMismatch& e) {
        // "--api: 1 required TEXT missing": the option is the last argument.
        const std::string text = e.what();
        throw EKelvoError(text.substr(0, text.find(':')) + " needs a value");
    } catch (const CLI::ParseError& e) {
        throw EKelvoError(e.what());
    }
    if (!app.remaining().empty()) throw EKelvoError("unknown argument: " + app.remaining()[0]);
    // An option given more than once: the last one counts, every --fault is kept.
    auto last = [&](const char* name) { return values[name]->results().back(); };
    if (values["--api"]->count()) {
        line.api = last("--api");
        if (line.api != "alsa" && line.api != "jack")
            throw EKelvoError("--api must be alsa or jack: " + line.api);
    }
    if (values["--name"]->count()) {
        line.name = last("--name");
        if (line.name.empty()) throw EKelvoError("--name needs a non-empty name");
    }
    if (values["--bank"]->count()) line.bankFile = last("--bank");
    if (values["--delay"]->count()) line.options.delay = parseDelay(last("--delay"));
    for (const auto& text : values["--fault"]->results()) {
        auto fault = ParseFault(text);
        if (!fault) throw EKelvoError("unknown fault: " + text);
        line.options.faults.push_back(*fault);
    }
    if (line.bankFile.empty()) line.bankFile = DefaultSimBankPath();
    return line;
}

std::string DefaultSimBankPath() {
    return (std::filesystem::path(DefaultVirtualBankPath()).parent_path() / "gr33-sim.G33")
        .string();
}
