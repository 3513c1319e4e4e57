#include "sim/SimFault.h"

#include "gr33/PatchNumber.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<FaultKind, const char*>, 9> Names = {{
    {FaultKind::Silent, "silent"},
    {FaultKind::Late, "late"},
    {FaultKind::WrongAddress, "wrong-address"},
    {FaultKind::BadChecksum, "bad-checksum"},
    {FaultKind::Truncated, "truncated"},
    {FaultKind::Noise, "noise"},
    {FaultKind::IdentityExtra, "identity-extra"},
    {FaultKind::IgnoreWrite, "ignore-write"},
    {FaultKind::CorruptWrite, "corrupt-write"},
}};
} // namespace

std::string FaultKindName(FaultKind kind) {
    for (const auto& [k, name] : Names)
        if (k == kind) return name;
    return {};
}

std::optional<FaultKind> FaultKindOfName(const std::string& name) {
    for (const auto& [k, text] : Names)
        if (name == text) return k;
    return std::nullopt;
}

std::optional<Fault> ParseFault(const std::string& text) {
    auto at = text.find('@');
    auto kind = FaultKindOfName(text.substr(0, at));
    if (!kind) return std::nullopt;
    Fault fault{*kind, std::nullopt};
    if (at == std::string::npos) return fault;
    if (*kind == FaultKind::IdentityExtra) return std::nullopt;
    fault.patch = PatchNumberOfLabel(text.substr(at + 1));
    if (!fault.patch) return std::nullopt;
    return fault;
}

bool HasFault(const std::vector<Fault>& faults, FaultKind kind, std::optional<int> patch) {
    return std::any_of(faults.begin(), faults.end(), [&](const Fault& f) {
        return f.kind == kind && (!f.patch || f.patch == patch);
    });
}
