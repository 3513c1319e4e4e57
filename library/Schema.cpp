#include "library/Schema.h"

#include "gr33/Catalogue.h"

#include <sqlite3.h>

#include <array>
#include <utility>

namespace {

std::string WordColumns() {
    std::string columns;
    for (int word = 0; word < PackedWords; ++word)
        columns.append(", w").append(std::to_string(word)).append(" INTEGER NOT NULL");
    return columns;
}

std::string FirstStep() {
    std::string sql = "CREATE TABLE sounds(id INTEGER PRIMARY KEY, hash INTEGER NOT NULL,"
                      " names INTEGER NOT NULL DEFAULT 1, body BLOB NOT NULL);"
                      "CREATE INDEX sounds_hash ON sounds(hash);"
                      "CREATE TABLE patches(id INTEGER PRIMARY KEY,"
                      " sound INTEGER NOT NULL REFERENCES sounds(id), namebytes BLOB NOT NULL,"
                      " name TEXT NOT NULL, folded TEXT NOT NULL";
    sql.append(WordColumns()).append(");CREATE INDEX patches_sound ON patches(sound);");
    for (auto [name, expression] :
         {std::pair{"tone1", PairExpression(66)}, std::pair{"tone2", PairExpression(78)},
          std::pair{"effect", ByteExpression(EffectTypeByte)}})
        sql.append("CREATE INDEX patches_")
            .append(name)
            .append(" ON patches(")
            .append(expression)
            .append(");");
    return sql.append("CREATE TABLE snapshots(id INTEGER PRIMARY KEY, taken INTEGER NOT NULL,"
                      " port TEXT NOT NULL, received INTEGER NOT NULL);"
                      "CREATE TABLE sightings(id INTEGER PRIMARY KEY,"
                      " patch INTEGER NOT NULL REFERENCES patches(id), seen INTEGER NOT NULL,"
                      " kind INTEGER NOT NULL, place TEXT NOT NULL,"
                      " snapshot INTEGER REFERENCES snapshots(id), slot INTEGER NOT NULL);"
                      "CREATE INDEX sightings_patch ON sightings(patch);"
                      "CREATE INDEX sightings_snapshot ON sightings(snapshot, slot);");
}

const std::array<std::string, LibrarySchemaVersion> Steps = {
    FirstStep(),
    "ALTER TABLE patches ADD COLUMN favourite INTEGER NOT NULL DEFAULT 0;"
    "ALTER TABLE patches ADD COLUMN notes TEXT NOT NULL DEFAULT '';"
    "CREATE TABLE tags(patch INTEGER NOT NULL REFERENCES patches(id),"
    " tag TEXT NOT NULL COLLATE NOCASE, PRIMARY KEY(patch, tag)) WITHOUT ROWID;"
    "CREATE INDEX tags_tag ON tags(tag);",
    // Deleting a patch marks it: snapshots and sightings keep referring to it, and the mark
    // can be taken off again.
    "ALTER TABLE patches ADD COLUMN deleted INTEGER NOT NULL DEFAULT 0;",
    // A name search reads this narrow index instead of every whole row.
    "CREATE INDEX patches_names ON patches(folded, name, sound, deleted);",
};

} // namespace

std::string ByteExpression(int byte) {
    std::string sql = "((w";
    sql.append(std::to_string(PackedWord(byte))).append(" >> ");
    return sql.append(std::to_string(PackedShift(byte))).append(") & 255)");
}

std::string PairExpression(int firstByte) {
    std::string sql = "(";
    sql.append(ByteExpression(firstByte + 1)).append(" * 128 + ");
    return sql.append(ByteExpression(firstByte)).append(")");
}

int LibraryVersion(TDatabase& db) {
    TStatement version = db.Prepare("PRAGMA user_version");
    version.Step();
    return static_cast<int>(version.Int(0));
}

void UseLibraryPages(TDatabase& db) {
    auto pageSize = [&db] {
        TStatement size = db.Prepare("PRAGMA page_size");
        size.Step();
        return size.Int(0);
    };
    // An empty file takes the size at once; a file with pages keeps it until a VACUUM.
    db.Execute("PRAGMA page_size = " + std::to_string(LibraryPageSize));
    if (pageSize() >= LibraryPageSize) return;
    try {
        bool alone = false;
        {
            TStatement mode = db.Prepare("PRAGMA journal_mode = DELETE");
            alone = mode.Step() && mode.Text(0) == "delete";
        }
        if (alone) db.Execute("VACUUM");
    } catch (const ESqlError&) {
        // In use by another program: stays as it is.
    }
}

void MigrateLibrary(TDatabase& db, int target) {
    int version = LibraryVersion(db);
    while (version < target) {
        // Read again under the write lock: another program may have taken the step meanwhile.
        TTransaction step(db);
        version = LibraryVersion(db);
        if (version >= target) break;
        if (version < 0) throw ESqlError("foreign", SQLITE_NOTADB);
        db.Execute(Steps[version]);
        db.Execute(std::string("PRAGMA user_version = ").append(std::to_string(++version)));
        step.Commit();
    }
}
