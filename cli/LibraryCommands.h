#pragma once
// What the other commands record in the patch library.

#include "cli/Commands.h"
#include "gr33/Patch.h"
#include "library/Library.h"

#include <memory>
#include <string>
#include <vector>

// The library of --library or the user's own for recording a receive; when it cannot be
// opened, a warning on the error output and nullptr, since that must never cost the receive.
std::unique_ptr<TPatchLibrary> OpenSnapshotLibrary(const CliArguments& args, CliContext& context);

// Records a collection receive (slots 1..received.size(), nothing when none came); a failure
// is a warning too.
void RecordSnapshot(TPatchLibrary* library, const std::vector<PatchBytes>& received,
                    const std::string& port, CliContext& context);
