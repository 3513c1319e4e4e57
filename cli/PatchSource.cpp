#include "cli/PatchSource.h"

#include "base/Errors.h"
#include "base/FileRead.h"
#include "cli/CliArguments.h"
#include "gr33/CollectionFile.h"
#include "gr33/PatchNumber.h"

#include <algorithm>
#include <cctype>

namespace {
std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() > suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}
} // namespace

FileKind KindOfFile(const std::string& fileName) {
    std::string name = upper(fileName);
    if (IsSysExFileName(fileName)) return SysExFileKind(fileName);
    if (endsWith(name, ".G33")) return FileKind::Collection;
    if (endsWith(name, ".P33")) return FileKind::SinglePatch;
    throw EUsage("not a patch file (.G33 or .P33): " + fileName);
}

PatchSource ParsePatchSource(const std::string& text) {
    PatchSource source{text, FileKind::SinglePatch, std::nullopt};
    auto colon = text.rfind(':');
    if (colon != std::string::npos && colon > 0) {
        std::string label = text.substr(colon + 1);
        auto number = PatchNumberOfLabel(label);
        if (number == TempPatchNumber)
            throw EUsage("not a slot of a collection (A11 .. D84): " + label);
        if (number) {
            source.file = text.substr(0, colon);
            source.slot = number;
        }
    }
    source.kind = KindOfFile(source.file);
    if (source.kind == FileKind::SinglePatch && source.slot)
        throw EUsage("a single-patch file has no slots: " + text);
    return source;
}

int LoadPatch(const PatchSource& source, TPatch& patch) {
    if (source.kind == FileKind::SinglePatch) {
        patch.LoadFromFile(source.file);
        return TempPatchNumber;
    }
    if (!source.slot) throw EUsage("name one slot of the collection: " + source.file + ":A11");
    auto slots = ReadCollectionFile(source.file);
    patch.SetBytes(slots[*source.slot - 1], *source.slot);
    return *source.slot;
}

void LoadCollection(const std::string& fileName, std::array<TPatch, 128>& slots) {
    auto bytes = ReadCollectionFile(fileName);
    for (int n = 1; n <= PatchCount; ++n)
        slots[n - 1].SetBytes(bytes[n - 1], n);
}

void ExpectOutputKind(const std::string& fileName, FileKind kind) {
    if (IsSysExFileName(fileName) || KindOfFile(fileName) != kind)
        throw EUsage(std::string("the output must be a ") +
                     (kind == FileKind::Collection ? "collection (.G33)" : "single patch (.P33)") +
                     ": " + fileName);
}

// The text file as lines; a carriage return before a line feed is dropped. A text form is
// under a kilobyte, so only the file's first MiB is read: a large log or capture named as a
// text form (or met by a folder import) costs no more than a real one and is simply not one.
std::vector<std::string> ReadTextLines(const std::string& fileName) {
    constexpr std::size_t textFileLimit = std::size_t{1} << 20;
    if (!FileExists(fileName)) throw EKelvoError("File " + fileName + " not found");
    auto bytes = ReadFileStart(fileName, textFileLimit);
    std::vector<std::string> lines;
    std::string line;
    for (auto b : bytes) {
        if (b == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(b);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}
