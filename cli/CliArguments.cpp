#include "cli/CliArguments.h"

std::optional<std::string> CliArguments::Value(const std::string& option) const {
    auto it = values.find(option);
    if (it == values.end()) return std::nullopt;
    return it->second;
}
