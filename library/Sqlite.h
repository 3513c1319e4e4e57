#pragma once
// A thin owner of the SQLite C interface: one open database and its prepared statements, each
// freed by its destructor, values always bound (never spliced into the SQL text), and every
// failure raised as EKelvoError with SQLite's own text after ours.

#include "base/Errors.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <variant>

struct sqlite3;
struct sqlite3_stmt;

// A value bound to a statement's "?" placeholder.
using SqlValue = std::variant<std::int64_t, std::string>;

class TStatement {
public:
    TStatement(sqlite3* db, const std::string& sql);

    TStatement& Bind(int index, std::int64_t value);
    TStatement& Bind(int index, const std::string& text);
    TStatement& Bind(int index, std::span<const std::uint8_t> blob);
    TStatement& BindNull(int index);
    TStatement& Bind(int index, const SqlValue& value);
    // Runs to the next row: true while a row is there, false once done. Raises on failure.
    bool Step();
    // Steps once, then makes the statement ready for new values.
    void Run();
    void Reset();

    std::int64_t Int(int column) const;
    std::string Text(int column) const;
    std::span<const std::uint8_t> Blob(int column) const;
    bool IsNull(int column) const;

private:
    struct Finalize {
        void operator()(sqlite3_stmt* statement) const;
    };
    sqlite3* db_;
    std::unique_ptr<sqlite3_stmt, Finalize> statement_;
};

class TDatabase {
public:
    // Opens (creating when allowed) the database file; ":memory:" is a private in-memory one.
    TDatabase(const std::string& path, bool create);

    void Execute(const std::string& sql);
    TStatement Prepare(const std::string& sql) { return TStatement(db_.get(), sql); }
    std::int64_t LastInsertId() const;
    bool IsReadOnly() const;
    void SetBusyTimeout(int milliseconds);
    sqlite3* Handle() const { return db_.get(); }

private:
    struct Close {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, Close> db_;
};

// Raised for every SQLite failure; Code() is SQLite's primary result code.
class ESqlError : public EKelvoError {
public:
    ESqlError(const std::string& message, int code) : EKelvoError(message), code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

// BEGIN IMMEDIATE on construction; ROLLBACK in the destructor unless Commit was called, so an
// exception leaves nothing of the transaction behind.
class TTransaction {
public:
    explicit TTransaction(TDatabase& db);
    ~TTransaction();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;
    void Commit();

private:
    TDatabase& db_;
    bool done_ = false;
};
