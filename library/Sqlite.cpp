#include "library/Sqlite.h"

#include <sqlite3.h>

namespace {

[[noreturn]] void Fail(sqlite3* db, int code, const std::string& what) {
    const char* detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    throw ESqlError(what + ": " + detail, code & 0xff);
}

} // namespace

void TStatement::Finalize::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

TStatement::TStatement(sqlite3* db, const std::string& sql) : db_(db) {
    sqlite3_stmt* raw = nullptr;
    int code = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr);
    statement_.reset(raw);
    if (code != SQLITE_OK) Fail(db, code, "Unable to read the library");
}

TStatement& TStatement::Bind(int index, std::int64_t value) {
    sqlite3_bind_int64(statement_.get(), index, value);
    return *this;
}

TStatement& TStatement::Bind(int index, const std::string& text) {
    sqlite3_bind_text(statement_.get(), index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

TStatement& TStatement::Bind(int index, std::span<const std::uint8_t> blob) {
    sqlite3_bind_blob(statement_.get(), index, blob.data(), static_cast<int>(blob.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

TStatement& TStatement::BindNull(int index) {
    sqlite3_bind_null(statement_.get(), index);
    return *this;
}

TStatement& TStatement::Bind(int index, const SqlValue& value) {
    std::visit([this, index](const auto& v) { Bind(index, v); }, value);
    return *this;
}

bool TStatement::Step() {
    int code = sqlite3_step(statement_.get());
    if (code == SQLITE_ROW) return true;
    if (code == SQLITE_DONE) return false;
    // A failed statement is left as a fresh one: a value bound for this use must not reach
    // the next, which binds only what it has (a sighting without a snapshot, say).
    Reset();
    Fail(db_, code, "Unable to use the library");
}

void TStatement::Run() {
    Step();
    Reset();
}

void TStatement::Reset() {
    sqlite3_reset(statement_.get());
    sqlite3_clear_bindings(statement_.get());
}

std::int64_t TStatement::Int(int column) const {
    return sqlite3_column_int64(statement_.get(), column);
}

std::string TStatement::Text(int column) const {
    const auto* text = sqlite3_column_text(statement_.get(), column);
    return text != nullptr ? std::string(reinterpret_cast<const char*>(text),
                                         sqlite3_column_bytes(statement_.get(), column))
                           : std::string();
}

std::span<const std::uint8_t> TStatement::Blob(int column) const {
    const auto* data =
        static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_.get(), column));
    return {data, static_cast<std::size_t>(sqlite3_column_bytes(statement_.get(), column))};
}

bool TStatement::IsNull(int column) const {
    return sqlite3_column_type(statement_.get(), column) == SQLITE_NULL;
}

void TDatabase::Close::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

TDatabase::TDatabase(const std::string& path, bool create) {
    sqlite3* raw = nullptr;
    int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    int code = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    db_.reset(raw);
    if (code != SQLITE_OK) Fail(raw, code, "Unable to open the library " + path);
    sqlite3_extended_result_codes(raw, 0);
}

void TDatabase::Execute(const std::string& sql) {
    char* error = nullptr;
    int code = sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &error);
    if (code != SQLITE_OK) {
        std::string text = error != nullptr ? error : sqlite3_errstr(code);
        sqlite3_free(error);
        throw ESqlError("Unable to use the library: " + text, code & 0xff);
    }
}

std::int64_t TDatabase::LastInsertId() const {
    return sqlite3_last_insert_rowid(db_.get());
}

bool TDatabase::IsReadOnly() const {
    return sqlite3_db_readonly(db_.get(), "main") == 1;
}

void TDatabase::SetBusyTimeout(int milliseconds) {
    sqlite3_busy_timeout(db_.get(), milliseconds);
}

TTransaction::TTransaction(TDatabase& db) : db_(db) {
    db_.Execute("BEGIN IMMEDIATE");
}

TTransaction::~TTransaction() {
    if (!done_) {
        try {
            db_.Execute("ROLLBACK");
        } catch (const EKelvoError&) {
            // The connection has rolled back by itself (a failed commit, a full disk).
        }
    }
}

void TTransaction::Commit() {
    db_.Execute("COMMIT");
    done_ = true;
}
