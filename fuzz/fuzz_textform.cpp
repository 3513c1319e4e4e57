// The text form's import from arbitrary text: it imports, refuses, or raises the conversion
// error, and an import that succeeds exports back to a text that imports to the same bytes.
#include "base/Errors.h"
#include "gr33/TextForm.h"

#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back() += static_cast<char>(data[i]);
    }
    TPatch patch;
    TextImport result;
    try {
        result = patch.ImportText(lines);
    } catch (const EKelvoError&) {
        if (!patch.IsEmpty()) std::abort();
        return 0;
    }
    if (result == TextImport::Imported) {
        std::vector<std::string> exported;
        patch.ExportText(exported);
        TPatch again;
        if (again.ImportText(exported) != TextImport::Imported || again.Bytes() != patch.Bytes())
            std::abort();
    } else if (!patch.IsEmpty()) {
        std::abort();
    }
    return 0;
}
