#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace platform::store::detail {

class Statement;

/// One open SQLite database; throws StoreError (Database) on every failure.
class Database
{
public:
    /// Opens (and with `create` creates) the file.
    Database(const std::filesystem::path& file, bool create);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    /// Runs statements without results.
    void Exec(std::string_view sql);
    /// A statement prepared once and cached by its text.
    Statement& Prepare(std::string_view sql);
    /// The rowid of the last insert.
    std::int64_t LastInsertId() const;
    /// Rows changed by the last statement.
    int Changes() const;
    /// Raw handle for Statement.
    sqlite3* Handle() const { return db_; }
    /// preparing: the failure is of a statement being prepared.
    [[noreturn]] void Fail(bool preparing = false) const;

private:
    sqlite3* db_ = nullptr;
    std::filesystem::path file_;
    std::vector<std::pair<std::string, std::unique_ptr<Statement>>> cache_;
};

/// A read of several statements as one transaction: one snapshot, and the file is locked and
/// checked once rather than for every statement. Nests inside any open transaction.
class ReadScope
{
public:
    explicit ReadScope(Database& db);
    ~ReadScope();
    ReadScope(const ReadScope&) = delete;
    ReadScope& operator=(const ReadScope&) = delete;

private:
    Database& db_;
};

/// A prepared statement; Reset() before reuse is automatic in Bind (first index) and Step.
class Statement
{
public:
    Statement(Database& db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Reset();
    Statement& Bind(int index, std::int64_t value);
    Statement& Bind(int index, double value);
    Statement& Bind(int index, std::string_view text);
    Statement& BindBlob(int index, const std::vector<std::uint8_t>& bytes);
    Statement& BindNull(int index);
    /// Steps once: true when a row is ready.
    bool Step();
    /// Steps a statement without result rows to its end.
    void Run();

    bool IsNull(int column) const;
    /// SQLite's storage class of a column in the current row (SQLITE_INTEGER ...).
    int ColumnType(int column) const;
    std::int64_t Int(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;
    std::vector<std::uint8_t> Blob(int column) const;

private:
    Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
    bool active_ = false;
};

} // namespace platform::store::detail
