// FILE:LABEL arguments of the gr33 tool from arbitrary text (parsing only; a file is looked at
// only when it is a .syx file, whose content tells its kind): a source is parsed or refused with
// a usage error or that file's error; a parsed one is of its file's kind, and a slot is one of a
// collection's 128 that its label names again.
#include "base/Errors.h"
#include "cli/CliArguments.h"
#include "cli/PatchSource.h"
#include "gr33/PatchNumber.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    try {
        auto source = ParsePatchSource(text);
        if (KindOfFile(source.file) != source.kind) std::abort();
        if (!source.slot) {
            if (source.file != text) std::abort();
        } else if (*source.slot < 1 || *source.slot > PatchCount ||
                   source.kind != FileKind::Collection ||
                   ParsePatchSource(source.file + ":" + PatchLabel(*source.slot)).slot !=
                       source.slot) {
            std::abort();
        }
    } catch (const EUsage&) {
    } catch (const EKelvoError&) {
        const auto colon = text.rfind(':');
        if (!IsSysExFileName(text) &&
            (colon == std::string::npos || !IsSysExFileName(text.substr(0, colon))))
            std::abort();
    }
    return 0;
}
