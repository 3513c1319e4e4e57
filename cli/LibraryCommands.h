#pragma once
// What the other commands record in the patch library.

#include "cli/Commands.h"
#include "gr33/Patch.h"
#include "library/Library.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The library of --library or the user's own for recording a receive; when it cannot be
// opened, a warning on the error output and nullptr, since that must never cost the receive.
std::unique_ptr<TPatchLibrary> OpenSnapshotLibrary(const CliArguments& args, CliContext& context);

// Records a collection receive (slots 1..received.size(), nothing when none came) and returns
// the snapshot's number; a failure is a warning too, and 0 is returned when nothing was recorded.
std::int64_t RecordSnapshot(TPatchLibrary* library, const std::vector<PatchBytes>& received,
                            const std::string& port, CliContext& context);
