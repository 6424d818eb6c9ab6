#pragma once

#include <stdexcept>
#include <string>

namespace platform::store {

/// What went wrong in a store call; the messaging library maps these to its own error numbers.
enum class StoreErrorKind
{
    NotFound,        ///< no such profile, store, folder, item or named property
    InvalidArgument, ///< a value that does not fit its tag, a bad entry id, a bad pattern
    AlreadyExists,   ///< creating what is already there (a profile folder in use)
    Database,        ///< SQLite failed (disk full, corrupt file, locked)
    NotSupported     ///< an operation the stand-in does not offer
};

/// Why a store file failed (for StoreErrorKind::Database), as the database reports it by its
/// result code, so that callers tell the causes apart without reading the message's words.
enum class StoreFailure
{
    Other,      ///< any other failure
    Damaged,    ///< the file's pages, tables or values are not what a store holds
    InUse,      ///< another program holds the file locked
    CannotOpen, ///< the file cannot be opened or written (missing, a folder, no permission)
    DiskError,  ///< the disk failed to read or write
    DiskFull,   ///< no space left on the disk or over the quota
};

/// The one exception type of the store. The message names the failing operation and object.
class StoreError : public std::runtime_error
{
public:
    /// Builds an error of the given kind with a readable message.
    StoreError(StoreErrorKind kind, const std::string& message,
               StoreFailure failure = StoreFailure::Other)
        : std::runtime_error(message), kind_(kind), failure_(failure)
    {
    }
    /// The kind of failure.
    StoreErrorKind Kind() const noexcept { return kind_; }
    /// Why the file failed; Other where the kind says all there is.
    StoreFailure Failure() const noexcept { return failure_; }

private:
    StoreErrorKind kind_;
    StoreFailure failure_;
};

} // namespace platform::store
