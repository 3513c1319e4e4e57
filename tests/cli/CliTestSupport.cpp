#include "CliTestSupport.h"

#include "cli/Gr33Cli.h"
#include "gr33/CollectionFile.h"

#include <memory>
#include <sstream>

std::vector<std::string> CliRun::OutLines() const {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

CliRun Gr33(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CliRun run;
    run.code = RunGr33(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

PatchBytes NamedPatch(const std::string& name, std::uint8_t fill) {
    PatchBytes bytes;
    bytes.fill(fill);
    auto n = TextToName(name);
    std::copy(n.begin(), n.end(), bytes.begin());
    return bytes;
}

void WriteCollection(const std::string& file, const std::array<PatchBytes, 128>& slots) {
    auto records = std::make_unique<std::array<TPatch, 128>>();
    std::array<const TPatch*, 128> pointers;
    for (int n = 1; n <= 128; ++n) {
        (*records)[n - 1].SetBytes(slots[n - 1], n);
        pointers[n - 1] = &(*records)[n - 1];
    }
    WriteCollectionFile(file, pointers);
}

std::string NameOf(const PatchBytes& bytes) {
    TPatch patch;
    patch.SetBytes(bytes, 1);
    std::string name = patch.GetName();
    return name.erase(name.find_last_not_of(' ') + 1);
}

void WriteSinglePatch(const std::string& file, const PatchBytes& bytes) {
    TPatch patch;
    patch.SetBytes(bytes, 0);
    patch.SaveToFile(file, 0);
}

PatchBytes ReadSinglePatch(const std::string& file) {
    TPatch patch;
    patch.LoadFromFile(file);
    return patch.Bytes();
}
