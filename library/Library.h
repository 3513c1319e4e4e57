#pragma once
// TPatchLibrary: every patch KelvoLight has seen, kept in one SQLite file. A patch is its 128
// bytes; seeing the same bytes again adds a sighting, never a second patch. Patches whose
// bytes differ only in the name share one sound. Every call returns its results or raises
// EKelvoError with the text to show; nothing here asks the user anything.

#include "gr33/Patch.h"
#include "gr33/Sighting.h"
#include "library/Sqlite.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

constexpr int CollectionSlots = 128;

struct Sighting {
    std::int64_t when = 0;
    SightingKind kind = SightingKind::File;
    std::string place;
    std::int64_t snapshot = 0; // 0 unless kind is Snapshot
    int slot = 0;
    bool operator==(const Sighting&) const = default;
};

struct PatchSummary {
    std::int64_t id = 0;
    std::string name;
    std::int64_t sound = 0;
    bool operator==(const PatchSummary&) const = default;
};

struct SnapshotInfo {
    std::int64_t id = 0;
    std::int64_t when = 0;
    std::string port;
    int received = 0; // slots received, 128 for a complete snapshot
    bool Complete() const { return received == CollectionSlots; }
};

// One snapshot's content of a slot: patch 0 for an empty slot.
struct SlotHistoryEntry {
    std::int64_t snapshot = 0;
    std::int64_t when = 0;
    std::int64_t patch = 0;
    std::string name;
};

struct LibraryOptions {
    // How long a write waits for another program's write to finish before it gives up.
    int busyTimeoutMs = 2000;
};

class TPatchLibrary {
public:
    // $XDG_DATA_HOME/KelvoLight/library.sqlite (~/.local/share/KelvoLight/... when unset).
    static std::string DefaultPath();

    // Opens or creates the library (":memory:" for a private one) and brings it up to date.
    // A damaged, foreign, read-only or newer file raises with the reason and is left as it is.
    explicit TPatchLibrary(const std::string& path, LibraryOptions options = {});
    ~TPatchLibrary();
    TPatchLibrary(const TPatchLibrary&) = delete;
    TPatchLibrary& operator=(const TPatchLibrary&) = delete;

    // Records the patches as seen at source, all or none (one transaction). Empty patches are
    // not patches and are skipped. Returns the patch ids (0 for a skipped empty patch).
    std::vector<std::int64_t> Add(std::span<const SlotPatch> patches, const SightingSource& source);
    std::int64_t Add(const PatchBytes& bytes, const SightingSource& source, int slot = 0);
    // Records a collection receive: slots 1..received.size() arrived (fewer than 128 when the
    // receive failed part-way). Returns the snapshot's id.
    std::int64_t AddSnapshot(std::span<const PatchBytes> received, const std::string& port,
                             std::int64_t when);

    std::vector<SnapshotInfo> Snapshots() const;
    // What the slot (1..128) held in each snapshot that received it, oldest first.
    std::vector<SlotHistoryEntry> SlotHistory(int slot) const;
    // The 128 slots of a snapshot as received; empty (all zero) patches for empty slots and
    // slots a partial receive did not reach.
    std::vector<PatchBytes> RestoreSnapshot(std::int64_t snapshot) const;

    PatchBytes Bytes(std::int64_t patch) const;
    std::vector<Sighting> Sightings(std::int64_t patch) const;
    // Every patch of the sound (the same bytes under other names), by name.
    std::vector<PatchSummary> Variants(std::int64_t sound) const;
    std::int64_t PatchCount() const;

    void SetFavourite(std::int64_t patch, bool favourite);
    bool Favourite(std::int64_t patch) const;
    // A deleted patch is left out of Search; its bytes, sightings and snapshot slots stay, and
    // SetDeleted(patches, false) brings it back. The patches change together or not at all.
    void SetDeleted(std::span<const std::int64_t> patches, bool deleted);
    void SetNotes(std::int64_t patch, const std::string& notes);
    std::string Notes(std::int64_t patch) const;
    void AddTag(std::int64_t patch, const std::string& tag);
    void RemoveTag(std::int64_t patch, const std::string& tag);
    std::vector<std::string> Tags(std::int64_t patch) const;

    // The patches not deleted that match the query (library/Query.h), by name then id; the
    // first `limit` of them when a limit is given (a window's first page, a quick look).
    std::vector<PatchSummary> Search(const std::string& query, std::size_t limit = 0) const;

    // "ok" when the file is sound, else SQLite's list of what is wrong.
    std::string IntegrityCheck() const;

private:
    std::int64_t addOne(const PatchBytes& bytes, const SightingSource& source,
                        std::int64_t snapshot, int slot);
    TDatabase& db() const { return *db_; }
    std::string path_;
    std::unique_ptr<TDatabase> db_;
    struct Statements;
    std::unique_ptr<Statements> statements_;
};

// Milliseconds since 1970, now.
std::int64_t NowMs();
// A library time as local time to the minute, "2026-12-08 00:29".
std::string LibraryTimeText(std::int64_t ms);
