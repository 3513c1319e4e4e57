#pragma once
// Runs gr33 in-process on patch files, the simulated GR-33 and libraries in a scratch folder.

#include "base/AtomicFile.h"
#include "cli/Gr33Cli.h"
#include "gr33/CollectionFile.h"
#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"
#include "sim/DemoBank.h"
#include "tests/support/ScratchFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
    bool operator==(const CliRun&) const = default;
    std::vector<std::string> OutLines() const {
        std::vector<std::string> lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    friend void PrintTo(const CliRun& run, std::ostream* os) {
        *os << "exit " << run.code << ", out " << ::testing::PrintToString(run.out) << ", err "
            << ::testing::PrintToString(run.err);
    }
};

inline CliRun Gr33(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = RunGr33(args, out, err);
    return {code, out.str(), err.str()};
}

// A patch with a recognisable name and every other byte `fill`.
inline PatchBytes NamedPatch(const std::string& name, std::uint8_t fill = 0x40) {
    PatchBytes bytes;
    bytes.fill(fill);
    auto n = TextToName(name);
    std::copy(n.begin(), n.end(), bytes.begin());
    return bytes;
}

// Writes a collection file with the patches at their slot indexes 0..127, the others empty.
inline void WriteCollection(const std::string& file,
                            const std::vector<std::pair<int, PatchBytes>>& patches) {
    std::array<PatchBytes, 128> slots{};
    for (const auto& [index, bytes] : patches)
        slots[index] = bytes;
    auto records = std::make_unique<std::array<TPatch, 128>>();
    std::array<const TPatch*, 128> pointers;
    for (int n = 1; n <= 128; ++n) {
        (*records)[n - 1].SetBytes(slots[n - 1], n);
        pointers[n - 1] = &(*records)[n - 1];
    }
    WriteCollectionFile(file, pointers);
}

inline void WriteSinglePatch(const std::string& file, const PatchBytes& bytes) {
    TPatch patch;
    patch.SetBytes(bytes, 0);
    patch.SaveToFile(file, 0);
}

inline PatchBytes ReadSinglePatch(const std::string& file) {
    TPatch patch;
    patch.LoadFromFile(file);
    return patch.Bytes();
}

// The patch's name without trailing blanks, as the library and the log show it.
inline std::string NameOf(const PatchBytes& bytes) {
    TPatch patch;
    patch.SetBytes(bytes, 1);
    std::string name = patch.GetName();
    return name.erase(name.find_last_not_of(' ') + 1);
}

class CliTest : public ::testing::Test {
protected:
    // A receive records its snapshot in the user's library: here one in the scratch folder.
    CliTest() { setenv("XDG_DATA_HOME", folder.Path().c_str(), 1); }
    // Runs against the simulated GR-33, its memory kept in the scratch folder.
    CliRun Device(std::vector<std::string> args) const {
        args.insert(args.end(), {"--virtual", "--bank", deviceBank});
        return Gr33(args);
    }

    ScratchFolder folder;
    std::string deviceBank = folder.File("device.G33");
};
