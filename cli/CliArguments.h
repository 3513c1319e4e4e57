#pragma once
// The arguments of one gr33 command: positional words and the options that take a value
// (-o, --to, --in, --out, --bank, --api) or none (--virtual).

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

// A usage error: the command line itself is wrong. Exit status 2.
class EUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CliArguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values; // option name ("-o", "--to") -> value
    std::set<std::string> flags;               // "--virtual"

    std::optional<std::string> Value(const std::string& option) const;
    bool Flag(const std::string& flag) const { return flags.contains(flag); }
};
