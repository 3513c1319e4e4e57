#include "library/Library.h"

#include "base/UserFolders.h"
#include "library/Query.h"
#include "library/Schema.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <tuple>

namespace {

constexpr int FirstSoundByte = NameSize;

std::string InsertPatchSql() {
    std::string columns = "sound, namebytes, name, folded";
    std::string values = "?, ?, ?, ?";
    for (int word = 0; word < PackedWords; ++word) {
        columns += ", w" + std::to_string(word);
        values += ", ?";
    }
    return "INSERT INTO patches(" + columns + ") VALUES(" + values + ")";
}

std::string Folded(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// FNV-1a over the bytes: the same in every run and on every machine, as the file keeps it.
std::int64_t StableHash(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (std::uint8_t b : bytes)
        hash = (hash ^ b) * 1099511628211ull;
    return static_cast<std::int64_t>(hash);
}

// The id of the row whose key (hash or sound) and bytes are these, or 0.
std::int64_t Find(TStatement& find, std::int64_t key, std::span<const std::uint8_t> bytes) {
    std::int64_t id = 0;
    if (find.Bind(1, key).Bind(2, bytes).Step()) id = find.Int(0);
    find.Reset();
    return id;
}

// A patch's 128 bytes from its name bytes (column 0) and its sound's bytes (column 1).
PatchBytes ReadBytes(const TStatement& row) {
    PatchBytes bytes{};
    auto name = row.Blob(0), body = row.Blob(1);
    std::copy_n(name.begin(), std::min(name.size(), NameSize), bytes.begin());
    std::copy_n(body.begin(), std::min(body.size(), PatchSize - NameSize),
                bytes.begin() + NameSize);
    return bytes;
}

bool IsEmptyPatch(const PatchBytes& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

std::string PatchName(const PatchBytes& bytes) {
    std::string name = NameToText(std::span<const std::uint8_t>(bytes.data(), NameSize));
    return name.substr(0, name.find_last_not_of(' ') + 1);
}

// The text shown for a failure of the library file, by SQLite's result code.
[[noreturn]] void Explain(const std::string& path, const ESqlError& error) {
    const std::string detail = " (" + std::string(sqlite3_errstr(error.Code())) + ")";
    switch (error.Code()) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        throw EKelvoError("The library " + path + " is damaged or is not a KelvoLight library" +
                          detail + "; it was left as it is");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw EKelvoError("The library " + path +
                          " is in use by another program; try again when it is done" + detail);
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
        throw EKelvoError("The library " + path + " cannot be written" + detail);
    default:
        throw EKelvoError(std::string(error.what()) + " (library " + path + ")");
    }
}

// Runs fn, raising its SQLite failures as the texts above.
template <typename Fn> auto Explained(const std::string& path, Fn&& fn) {
    try {
        return fn();
    } catch (const ESqlError& error) {
        Explain(path, error);
    }
}

// One statement with two bound values, its SQLite failures raised as the texts above.
template <typename A, typename B>
void RunExplained(const std::string& path, TDatabase& db, const char* sql, const A& a, const B& b) {
    Explained(path, [&] {
        db.Prepare(sql).Bind(1, a).Bind(2, b).Run();
        return 0;
    });
}

} // namespace

struct TPatchLibrary::Statements {
    explicit Statements(TDatabase& db)
        : findPatch(db.Prepare("SELECT id FROM patches WHERE sound = ? AND namebytes = ?")),
          findSound(db.Prepare("SELECT id FROM sounds WHERE hash = ? AND body = ?")),
          addSound(db.Prepare("INSERT INTO sounds(hash, body) VALUES(?, ?)")),
          nameSound(db.Prepare("UPDATE sounds SET names = names + 1 WHERE id = ?")),
          addPatch(db.Prepare(InsertPatchSql())),
          addSighting(db.Prepare("INSERT INTO sightings(patch, seen, kind, place, snapshot, slot)"
                                 " VALUES(?, ?, ?, ?, ?, ?)")) {}
    TStatement findPatch, findSound, addSound, nameSound, addPatch, addSighting;
};

std::int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string LibraryTimeText(std::int64_t ms) {
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

std::string TPatchLibrary::DefaultPath() {
    return (std::filesystem::path(UserDataFolder()) / "library.sqlite").string();
}

TPatchLibrary::TPatchLibrary(const std::string& path, LibraryOptions options) : path_(path) {
    Explained(path_, [&] {
        const bool exists = path == ":memory:" || std::filesystem::exists(path);
        if (!exists) {
            std::error_code ignored;
            std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
        }
        db_ = std::make_unique<TDatabase>(path, !exists);
        db_->SetBusyTimeout(options.busyTimeoutMs);
        // Reading the version reads the file's header: a foreign or damaged file fails here,
        // before anything is written.
        const int version = LibraryVersion(*db_);
        if (version > LibrarySchemaVersion)
            throw EKelvoError("The library " + path + " was made by a newer KelvoLight (version " +
                              std::to_string(version) + "); it was left as it is");
        // Reading the table list reads the schema. A file of another program has tables but no
        // version, or a version (its own numbering) without the tables every library has.
        TStatement tables = db_->Prepare(
            "SELECT count(*), coalesce(sum(type = 'table' AND name IN"
            " ('sounds', 'patches', 'snapshots', 'sightings')), 0) FROM sqlite_master");
        tables.Step();
        const bool foreign = version < 0 || (version == 0 ? tables.Int(0) > 0 : tables.Int(1) != 4);
        tables.Reset();
        if (foreign) throw ESqlError("foreign", SQLITE_NOTADB);
        if (db_->IsReadOnly()) throw ESqlError("read-only", SQLITE_READONLY);
        db_->SetBusyTimeout(0);
        UseLibraryPages(*db_);
        db_->SetBusyTimeout(options.busyTimeoutMs);
        db_->Execute("PRAGMA foreign_keys = ON; PRAGMA synchronous = NORMAL;"
                     " PRAGMA cache_size = -32000; PRAGMA mmap_size = 268435456;"
                     " PRAGMA journal_mode = WAL");
        MigrateLibrary(*db_);
        statements_ = std::make_unique<Statements>(*db_);
        return 0;
    });
}

TPatchLibrary::~TPatchLibrary() = default;

std::int64_t TPatchLibrary::addOne(const PatchBytes& bytes, const SightingSource& source,
                                   std::int64_t snapshot, int slot) {
    if (IsEmptyPatch(bytes)) return 0;
    Statements& s = *statements_;
    const auto body = std::span(bytes).subspan(FirstSoundByte);
    const auto nameBytes = std::span(bytes).first(NameSize);
    const std::int64_t hash = StableHash(body);
    std::int64_t sound = Find(s.findSound, hash, body);
    std::int64_t patch = sound != 0 ? Find(s.findPatch, sound, nameBytes) : 0;
    if (patch == 0) {
        if (sound != 0) {
            s.nameSound.Bind(1, sound).Run();
        } else {
            s.addSound.Bind(1, hash).Bind(2, body).Run();
            sound = db().LastInsertId();
        }
        const std::string name = PatchName(bytes);
        s.addPatch.Bind(1, sound).Bind(2, nameBytes).Bind(3, name).Bind(4, Folded(name));
        std::array<std::int64_t, PackedWords> words{};
        for (int byte = FirstPackedByte; byte < static_cast<int>(PatchSize); ++byte)
            words[PackedWord(byte)] |= std::int64_t{bytes[byte]} << PackedShift(byte);
        for (int word = 0; word < PackedWords; ++word)
            s.addPatch.Bind(word + 5, words[word]);
        s.addPatch.Run();
        patch = db().LastInsertId();
    }
    s.addSighting.Bind(1, patch).Bind(2, source.when).Bind(3, std::int64_t(source.kind));
    s.addSighting.Bind(4, source.place).Bind(6, std::int64_t{slot});
    if (snapshot != 0) s.addSighting.Bind(5, snapshot);
    s.addSighting.Run();
    return patch;
}

std::vector<std::int64_t> TPatchLibrary::Add(std::span<const SlotPatch> patches,
                                             const SightingSource& source) {
    return Explained(path_, [&] {
        TTransaction transaction(db());
        std::vector<std::int64_t> ids;
        ids.reserve(patches.size());
        for (const SlotPatch& patch : patches)
            ids.push_back(addOne(patch.bytes, source, 0, patch.slot));
        transaction.Commit();
        return ids;
    });
}

std::int64_t TPatchLibrary::Add(const PatchBytes& bytes, const SightingSource& source, int slot) {
    SlotPatch one{slot, bytes};
    return Add(std::span(&one, 1), source)[0];
}

std::int64_t TPatchLibrary::AddSnapshot(std::span<const PatchBytes> received,
                                        const std::string& port, std::int64_t when) {
    if (received.size() > CollectionSlots)
        throw EKelvoError("A collection has " + std::to_string(CollectionSlots) + " slots, not " +
                          std::to_string(received.size()));
    return Explained(path_, [&] {
        TTransaction transaction(db());
        db().Prepare("INSERT INTO snapshots(taken, port, received) VALUES(?, ?, ?)")
            .Bind(1, when)
            .Bind(2, port)
            .Bind(3, std::int64_t(received.size()))
            .Run();
        const std::int64_t snapshot = db().LastInsertId();
        const SightingSource source{SightingKind::Snapshot, port, when};
        for (std::size_t i = 0; i < received.size(); ++i)
            addOne(received[i], source, snapshot, static_cast<int>(i) + 1);
        transaction.Commit();
        return snapshot;
    });
}

std::vector<SnapshotInfo> TPatchLibrary::Snapshots() const {
    TStatement query = db().Prepare("SELECT id, taken, port, received FROM snapshots ORDER BY id");
    std::vector<SnapshotInfo> out;
    while (query.Step())
        out.push_back({query.Int(0), query.Int(1), query.Text(2), static_cast<int>(query.Int(3))});
    return out;
}

std::vector<SlotHistoryEntry> TPatchLibrary::SlotHistory(int slot) const {
    TStatement query = db().Prepare(
        "SELECT n.id, n.taken, p.id, p.name FROM snapshots n"
        " LEFT JOIN sightings g ON g.snapshot = n.id AND g.slot = ?1"
        " LEFT JOIN patches p ON p.id = g.patch WHERE n.received >= ?1 ORDER BY n.taken, n.id");
    query.Bind(1, std::int64_t{slot});
    std::vector<SlotHistoryEntry> out;
    while (query.Step())
        out.push_back({query.Int(0), query.Int(1), query.Int(2), query.Text(3)});
    return out;
}

std::vector<PatchBytes> TPatchLibrary::RestoreSnapshot(std::int64_t snapshot) const {
    TStatement known = db().Prepare("SELECT 1 FROM snapshots WHERE id = ?");
    if (!known.Bind(1, snapshot).Step())
        throw EKelvoError("There is no snapshot " + std::to_string(snapshot) + " in the library");
    std::vector<PatchBytes> slots(CollectionSlots);
    TStatement query = db().Prepare("SELECT p.namebytes, s.body, g.slot FROM sightings g"
                                    " JOIN patches p ON p.id = g.patch JOIN sounds s ON"
                                    " s.id = p.sound WHERE g.snapshot = ?");
    query.Bind(1, snapshot);
    while (query.Step()) {
        // A slot number outside the collection can only come from a damaged file.
        const std::int64_t slot = query.Int(2);
        if (slot < 1 || slot > CollectionSlots)
            Explain(path_, ESqlError("slot " + std::to_string(slot), SQLITE_CORRUPT));
        slots[slot - 1] = ReadBytes(query);
    }
    return slots;
}

PatchBytes TPatchLibrary::Bytes(std::int64_t patch) const {
    TStatement query = db().Prepare("SELECT p.namebytes, s.body FROM patches p JOIN sounds s ON"
                                    " s.id = p.sound WHERE p.id = ?");
    return query.Bind(1, patch).Step() ? ReadBytes(query) : PatchBytes{};
}

std::vector<Sighting> TPatchLibrary::Sightings(std::int64_t patch) const {
    TStatement query = db().Prepare("SELECT seen, kind, place, snapshot, slot FROM sightings"
                                    " WHERE patch = ? ORDER BY seen, id");
    query.Bind(1, patch);
    std::vector<Sighting> out;
    while (query.Step())
        out.push_back({query.Int(0), static_cast<SightingKind>(query.Int(1)), query.Text(2),
                       query.Int(3), static_cast<int>(query.Int(4))});
    return out;
}

std::vector<PatchSummary> TPatchLibrary::Variants(std::int64_t sound) const {
    TStatement query =
        db().Prepare("SELECT id, name, sound FROM patches WHERE sound = ? ORDER BY name, id");
    query.Bind(1, sound);
    std::vector<PatchSummary> out;
    while (query.Step())
        out.push_back({query.Int(0), query.Text(1), query.Int(2)});
    return out;
}

std::int64_t TPatchLibrary::PatchCount() const {
    TStatement query = db().Prepare("SELECT count(*) FROM patches");
    query.Step();
    return query.Int(0);
}

void TPatchLibrary::SetFavourite(std::int64_t patch, bool favourite) {
    RunExplained(path_, db(), "UPDATE patches SET favourite = ? WHERE id = ?",
                 std::int64_t{favourite}, patch);
}

bool TPatchLibrary::Favourite(std::int64_t patch) const {
    TStatement query = db().Prepare("SELECT favourite FROM patches WHERE id = ?");
    return query.Bind(1, patch).Step() && query.Int(0) != 0;
}

void TPatchLibrary::SetDeleted(std::span<const std::int64_t> patches, bool deleted) {
    Explained(path_, [&] {
        TTransaction transaction(db());
        TStatement update = db().Prepare("UPDATE patches SET deleted = ? WHERE id = ?");
        for (std::int64_t patch : patches)
            update.Bind(1, std::int64_t{deleted}).Bind(2, patch).Run();
        transaction.Commit();
        return 0;
    });
}

void TPatchLibrary::SetNotes(std::int64_t patch, const std::string& notes) {
    RunExplained(path_, db(), "UPDATE patches SET notes = ? WHERE id = ?", notes, patch);
}

std::string TPatchLibrary::Notes(std::int64_t patch) const {
    TStatement query = db().Prepare("SELECT notes FROM patches WHERE id = ?");
    return query.Bind(1, patch).Step() ? query.Text(0) : std::string();
}

void TPatchLibrary::AddTag(std::int64_t patch, const std::string& tag) {
    RunExplained(path_, db(), "INSERT OR IGNORE INTO tags(patch, tag) VALUES(?, ?)", patch, tag);
}

void TPatchLibrary::RemoveTag(std::int64_t patch, const std::string& tag) {
    RunExplained(path_, db(), "DELETE FROM tags WHERE patch = ? AND tag = ?", patch, tag);
}

std::vector<std::string> TPatchLibrary::Tags(std::int64_t patch) const {
    TStatement query = db().Prepare("SELECT tag FROM tags WHERE patch = ? ORDER BY tag");
    query.Bind(1, patch);
    std::vector<std::string> out;
    while (query.Step())
        out.push_back(query.Text(0));
    return out;
}

std::vector<PatchSummary> TPatchLibrary::Search(const std::string& text, std::size_t limit) const {
    const SqlCondition condition = ParseQuery(text);
    // The query's terms come before the deleted mark: SQLite reads a row's columns up to the
    // last one asked for, and the mark is the last, so most rows are passed over sooner. The
    // matches are put in name order here, which costs less than SQLite's sorter copying every
    // match (a fifth of the library for a parameter test) into records of its own.
    TStatement query = db().Prepare("SELECT p.id, p.name, p.sound FROM patches p WHERE (" +
                                    condition.where + ") AND p.deleted = 0");
    for (std::size_t i = 0; i < condition.values.size(); ++i)
        query.Bind(static_cast<int>(i) + 1, condition.values[i]);
    std::vector<PatchSummary> out;
    while (query.Step())
        out.push_back({query.Int(0), query.Text(1), query.Int(2)});
    // Byte order of the names, as SQL's BINARY collation, then the id.
    auto before = [](const PatchSummary& a, const PatchSummary& b) {
        return std::tie(a.name, a.id) < std::tie(b.name, b.id);
    };
    if (limit > 0 && limit < out.size()) {
        std::partial_sort(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(limit), out.end(),
                          before);
        out.resize(limit);
    } else {
        std::sort(out.begin(), out.end(), before);
    }
    return out;
}

std::string TPatchLibrary::IntegrityCheck() const {
    TStatement query = db().Prepare("PRAGMA integrity_check");
    std::string out;
    while (query.Step()) {
        if (!out.empty()) out += '\n';
        out += query.Text(0);
    }
    return out;
}
