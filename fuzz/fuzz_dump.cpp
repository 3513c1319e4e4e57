// The gr33 tool's dump, difference and text export of arbitrary patch bytes (the first 128 and
// the next 128 of the input): any bytes give one line per parameter, a patch differs from itself
// nowhere, and the text form carries the bytes back unchanged.
#include "gr33/PatchDump.h"
#include "gr33/TextForm.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::array<std::uint8_t, 2 * PatchSize> input{};
    std::copy_n(data, std::min(size, input.size()), input.begin());
    PatchBytes a, b;
    std::copy_n(input.begin(), PatchSize, a.begin());
    std::copy_n(input.begin() + PatchSize, PatchSize, b.begin());
    auto lines = DumpPatch(a);
    if (lines.size() < 100 || lines.size() > 112) std::abort();
    auto diff = DiffPatches(a, b);
    if (a == b && !diff.empty()) std::abort();
    for (const auto& line : diff)
        if (FormatDumpLine(line).find(" -> ") == std::string::npos) std::abort();
    TPatch patch, back;
    patch.SetBytes(a, 1);
    std::vector<std::string> text;
    patch.ExportText(text);
    if (back.ImportText(text) != TextImport::Imported || back.Bytes() != a) std::abort();
    return 0;
}
