#include "platform/store/detail/Sqlite.h"

#include "platform/runtime/FileFailure.h"
#include "platform/store/StoreError.h"
#include "platform/store/detail/RunLanguage.h"

#include <sqlite3.h>

#include <cerrno>
#include <optional>

namespace platform::store::detail {

namespace {

// A full disk, which SQLite reports as an I/O error of its journal, said as what it is,
// naming the file, in the user's language; nothing for any other failure.
std::optional<std::string> DiskFull(sqlite3* db, const std::filesystem::path& file)
{
    const int code = sqlite3_extended_errcode(db) & 0xFF;
    // The system's error counts only for a failure of the system: it may be an old one.
    const int system = code == SQLITE_IOERR ? sqlite3_system_errno(db) : 0;
    if (code != SQLITE_FULL && system != ENOSPC && system != EDQUOT)
        return std::nullopt;
    return runtime::FileFailureText(system == EDQUOT ? EDQUOT : ENOSPC, runtime::FileAction::Write,
                                    file.string());
}

// The cause of the last failure on db by SQLite's result code. A statement of the store's own
// that cannot be prepared names a table or column the file lacks: the file is no whole store.
StoreFailure FailureOf(sqlite3* db, bool preparing)
{
    switch (sqlite3_extended_errcode(db) & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_SCHEMA:
    case SQLITE_MISMATCH:
        return StoreFailure::Damaged;
    case SQLITE_ERROR:
        return preparing ? StoreFailure::Damaged : StoreFailure::Other;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return StoreFailure::InUse;
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return StoreFailure::CannotOpen;
    case SQLITE_IOERR:
        return sqlite3_system_errno(db) == ENOSPC || sqlite3_system_errno(db) == EDQUOT
                   ? StoreFailure::DiskFull
                   : StoreFailure::DiskError;
    case SQLITE_FULL:
        return StoreFailure::DiskFull;
    default:
        return StoreFailure::Other;
    }
}

// What SQLite said of a failure on the file, framed in the run's language: the layers above
// put it behind their own words for the person, and SQLite's message is its own.
std::string SqliteSays(const std::filesystem::path& file, const std::string& message)
{
    return InRunLanguage("SQLite meldet zu \"" + file.string() + "\": " + message,
                         "SQLite reports on \"" + file.string() + "\": " + message);
}

} // namespace

Database::Database(const std::filesystem::path& file, bool create) : file_(file)
{
    // A store is used by one thread at a time, so SQLite's own locking is not needed.
    const int flags =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(file.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        const auto full = db_ ? DiskFull(db_, file) : std::nullopt;
        const std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
        const StoreFailure failure = db_ ? FailureOf(db_, false) : StoreFailure::Other;
        sqlite3_close(db_);
        db_ = nullptr;
        throw StoreError(create ? StoreErrorKind::Database : StoreErrorKind::NotFound,
                         full ? *full : SqliteSays(file, msg),
                         failure == StoreFailure::Other ? StoreFailure::CannotOpen : failure);
    }
    sqlite3_busy_timeout(db_, 5000);
    sqlite3_extended_result_codes(db_, 1);
}

Database::~Database()
{
    // Statements first: sqlite3_close refuses while any is alive.
    cache_.clear();
    sqlite3_close(db_);
}

void Database::Fail(bool preparing) const
{
    if (const auto full = DiskFull(db_, file_))
        throw StoreError(StoreErrorKind::Database, *full, StoreFailure::DiskFull);
    throw StoreError(StoreErrorKind::Database, SqliteSays(file_, sqlite3_errmsg(db_)),
                     FailureOf(db_, preparing));
}

void Database::Exec(std::string_view sql)
{
    char* err = nullptr;
    const std::string text(sql);
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string msg = err ? err : "unknown error";
        sqlite3_free(err);
        if (const auto full = DiskFull(db_, file_))
            throw StoreError(StoreErrorKind::Database, *full, StoreFailure::DiskFull);
        throw StoreError(StoreErrorKind::Database, SqliteSays(file_, msg), FailureOf(db_, false));
    }
}

Statement& Database::Prepare(std::string_view sql)
{
    for (auto& [text, stmt] : cache_)
        if (text == sql)
            return stmt->Reset();
    cache_.emplace_back(std::string(sql), std::make_unique<Statement>(*this, sql));
    return *cache_.back().second;
}

std::int64_t Database::LastInsertId() const
{
    return sqlite3_last_insert_rowid(db_);
}

int Database::Changes() const
{
    return sqlite3_changes(db_);
}

ReadScope::ReadScope(Database& db) : db_(db)
{
    db_.Exec("SAVEPOINT tvread");
}

ReadScope::~ReadScope()
{
    // A read changes nothing, so releasing cannot lose work; a failure is left to SQLite.
    try {
        db_.Exec("RELEASE tvread");
    } catch (const StoreError&) {
    }
}

Statement::Statement(Database& db, std::string_view sql) : db_(db)
{
    if (sqlite3_prepare_v3(db.Handle(), sql.data(), static_cast<int>(sql.size()),
                           SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) != SQLITE_OK)
        db.Fail(true);
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

Statement& Statement::Reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    active_ = false;
    return *this;
}

Statement& Statement::Bind(int index, std::int64_t value)
{
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK)
        db_.Fail();
    return *this;
}

Statement& Statement::Bind(int index, double value)
{
    if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK)
        db_.Fail();
    return *this;
}

Statement& Statement::Bind(int index, std::string_view text)
{
    if (sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT,
                            SQLITE_UTF8) != SQLITE_OK)
        db_.Fail();
    return *this;
}

Statement& Statement::BindBlob(int index, const std::vector<std::uint8_t>& bytes)
{
    // A zero-length blob still has to read back as a blob, not as NULL.
    static const std::uint8_t kEmpty = 0;
    if (sqlite3_bind_blob64(stmt_, index, bytes.empty() ? &kEmpty : bytes.data(), bytes.size(),
                            SQLITE_TRANSIENT) != SQLITE_OK)
        db_.Fail();
    return *this;
}

Statement& Statement::BindNull(int index)
{
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK)
        db_.Fail();
    return *this;
}

bool Statement::Step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        active_ = true;
        return true;
    }
    active_ = false;
    if (rc == SQLITE_DONE) {
        sqlite3_reset(stmt_);
        return false;
    }
    sqlite3_reset(stmt_);
    db_.Fail();
}

void Statement::Run()
{
    while (Step()) {
    }
}

bool Statement::IsNull(int column) const
{
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

int Statement::ColumnType(int column) const
{
    return sqlite3_column_type(stmt_, column);
}

std::int64_t Statement::Int(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

double Statement::Real(int column) const
{
    return sqlite3_column_double(stmt_, column);
}

std::string Statement::Text(int column) const
{
    const auto* p = sqlite3_column_text(stmt_, column);
    const int n = sqlite3_column_bytes(stmt_, column);
    return p ? std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(n))
             : std::string();
}

std::vector<std::uint8_t> Statement::Blob(int column) const
{
    const auto* p = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, column));
    const int n = sqlite3_column_bytes(stmt_, column);
    return p ? std::vector<std::uint8_t>(p, p + n) : std::vector<std::uint8_t>();
}

} // namespace platform::store::detail
