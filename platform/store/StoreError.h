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

/// The one exception type of the store. The message names the failing operation and object.
class StoreError : public std::runtime_error
{
public:
    /// Builds an error of the given kind with a readable message.
    StoreError(StoreErrorKind kind, const std::string& message)
        : std::runtime_error(message), kind_(kind)
    {
    }
    /// The kind of failure.
    StoreErrorKind Kind() const noexcept { return kind_; }

private:
    StoreErrorKind kind_;
};

} // namespace platform::store
