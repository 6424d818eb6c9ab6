#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace platform::runtime {

/// The runtime's own error numbers that the platform raises itself.
namespace errors {
inline constexpr std::int32_t InvalidProcedureCall = 5; ///< "Invalid procedure call or argument"
inline constexpr std::int32_t Overflow = 6;             ///< "Overflow"
inline constexpr std::int32_t OutOfMemory = 7;          ///< "Out of memory"
inline constexpr std::int32_t SubscriptOutOfRange = 9;  ///< "Subscript out of range"
inline constexpr std::int32_t DivisionByZero = 11;      ///< "Division by zero"
inline constexpr std::int32_t TypeMismatch = 13;        ///< "Type mismatch"
inline constexpr std::int32_t InternalError = 51;       ///< "Internal error"
inline constexpr std::int32_t BadFileName = 52;         ///< "Bad file name or number"
inline constexpr std::int32_t FileNotFound = 53;        ///< "File not found"
inline constexpr std::int32_t FileAlreadyExists = 58;   ///< "File already exists"
inline constexpr std::int32_t DiskFull = 61;            ///< "Disk full"
inline constexpr std::int32_t PermissionDenied = 70;    ///< "Permission denied"
inline constexpr std::int32_t PathFileAccess = 75;      ///< "Path/File access error"
inline constexpr std::int32_t PathNotFound = 76;        ///< "Path not found"
inline constexpr std::int32_t ObjectNotSet =
    91; ///< "Object variable or With block variable not set"
inline constexpr std::int32_t InvalidUseOfNull = 94;      ///< "Invalid use of Null"
inline constexpr std::int32_t InvalidPropertyValue = 380; ///< "Invalid property value"
inline constexpr std::int32_t ObjectRequired = 424;       ///< "Object required"
inline constexpr std::int32_t CannotCreateObject = 429; ///< "ActiveX component can't create object"
inline constexpr std::int32_t NotSupported =
    438; ///< "Object doesn't support this property or method"
inline constexpr std::int32_t ActionNotSupported = 445;  ///< "Object doesn't support this action"
inline constexpr std::int32_t ArgumentNotOptional = 449; ///< "Argument not optional"
inline constexpr std::int32_t DuplicateKey =
    457; ///< "This key is already associated with an element..."
} // namespace errors

/// Base of the numbers that components add to their own error codes (0x80040000).
inline constexpr std::int32_t ObjectErrorBase = -2147221504;

/// The runtime's text for one of its own error numbers, or
/// "Application-defined or object-defined error" for any other number: in German under a
/// German current locale (see platform::locale), in English otherwise.
std::string_view ErrorText(std::int32_t number);

/// True when the runtime has a text of its own for this number.
bool HasErrorText(std::int32_t number);

/// An error of the language runtime as an exception. Carries what the runtime's error object
/// holds: number, source, description, help file and help context, and the last system error
/// (errno) at the moment the error was created.
class Error : public std::exception
{
public:
    /// An error with the given fields. An empty description is filled with the runtime's text
    /// for the number (see ErrorText). The last system error is taken from errno now.
    Error(std::int32_t number, std::string source = {}, std::string description = {},
          std::string helpFile = {}, std::int32_t helpContext = 0);

    /// The error number (for example 13 for a type mismatch).
    std::int32_t Number() const noexcept { return number_; }
    /// The name of the object or procedure that raised the error; may be empty.
    const std::string& Source() const noexcept { return source_; }
    /// The error text.
    const std::string& Description() const noexcept { return description_; }
    /// The help file of the error; usually empty.
    const std::string& HelpFile() const noexcept { return helpFile_; }
    /// The help topic id in the help file; 0 when none.
    std::int32_t HelpContext() const noexcept { return helpContext_; }
    /// errno as it was when this error was created.
    int LastDllError() const noexcept { return lastDllError_; }

    /// Replaces the source; used by code that fills in the raising procedure's name.
    void SetSource(std::string source) { source_ = std::move(source); }
    /// Replaces the last system error, for errors re-created from saved fields.
    void SetLastDllError(int value) noexcept { lastDllError_ = value; }

    /// The description (never empty).
    const char* what() const noexcept override { return description_.c_str(); }

private:
    std::int32_t number_;
    std::string source_;
    std::string description_;
    std::string helpFile_;
    std::int32_t helpContext_;
    int lastDllError_;
};

/// Raises the runtime error `number`. An empty description becomes the runtime's text for the
/// number. Number 0 is itself an invalid argument: it raises
/// error 5.
[[noreturn]] void Raise(std::int32_t number, std::string source = {}, std::string description = {},
                        std::string helpFile = {}, std::int32_t helpContext = 0);

} // namespace platform::runtime
