// The text form's import from arbitrary text: it imports, refuses, or raises the conversion
// error, and an import that succeeds exports back to a text that imports to the same bytes.
#include "base/Errors.h"
#include "base/RecordingDialogs.h"
#include "gr33/Patch.h"

#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static RecordingDialogs prompts;
    static ScopedPrompts guard(prompts);
    prompts.Clear();
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back() += static_cast<char>(data[i]);
    }
    TPatch patch;
    try {
        patch.ImportText(lines);
    } catch (const EKelvoError&) {
        if (!patch.IsEmpty()) std::abort();
        return 0;
    }
    if (prompts.Last() == "Data imported") {
        std::vector<std::string> exported;
        patch.ExportText(exported);
        TPatch again;
        again.ImportText(exported);
        if (again.Bytes() != patch.Bytes()) std::abort();
    } else if (!patch.IsEmpty()) {
        std::abort();
    }
    return 0;
}
