#pragma once
// Where and how patches were seen: what the collection reports to the window as patches pass
// through it, and what the patch library records as a sighting.

#include "gr33/Patch.h"

#include <cstdint>
#include <string>

// How a patch came in; the number is stored in the file.
enum class SightingKind {
    File = 1,     // a collection or single-patch file loaded; place = the file's path
    Text = 2,     // a text import; place = where the text came from
    Editor = 3,   // stored from the editor; place = the editor's label
    Device = 4,   // one patch (or the temporary patch) received; place = the port
    Snapshot = 5, // a slot of a collection received; place = the port
};

// Where a batch of patches was seen. Slots are 1..128, 0 for none (the temporary patch, a
// text import).
struct SightingSource {
    SightingKind kind = SightingKind::File;
    std::string place;
    std::int64_t when = 0; // milliseconds since 1970
};

struct SlotPatch {
    int slot = 0;
    PatchBytes bytes{};
};
