#include "cli/CliArguments.h"

namespace {
const std::set<std::string> ValueOptions = {"-o", "--to", "--in", "--out", "--bank", "--api"};
const std::set<std::string> FlagOptions = {"--virtual"};
} // namespace

std::optional<std::string> CliArguments::Value(const std::string& option) const {
    auto it = values.find(option);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

void CliArguments::Expect(const std::string& command, std::size_t count,
                          const std::set<std::string>& allowed) const {
    if (positional.size() != count)
        throw EUsage(command + " takes " + std::to_string(count) + " argument" +
                     (count == 1 ? "" : "s"));
    for (const auto& [option, value] : values)
        if (!allowed.contains(option)) throw EUsage(command + " has no option " + option);
    for (const auto& flag : flags)
        if (!allowed.contains(flag)) throw EUsage(command + " has no option " + flag);
}

CliArguments ParseCliArguments(const std::vector<std::string>& args) {
    CliArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (ValueOptions.contains(a)) {
            if (i + 1 >= args.size()) throw EUsage(a + " needs a value");
            if (!parsed.values.emplace(a, args[++i]).second) throw EUsage(a + " given twice");
        } else if (FlagOptions.contains(a)) {
            parsed.flags.insert(a);
        } else if (a.size() > 1 && a[0] == '-') {
            throw EUsage("unknown option " + a);
        } else {
            parsed.positional.push_back(a);
        }
    }
    return parsed;
}
