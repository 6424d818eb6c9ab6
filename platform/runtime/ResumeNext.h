#pragma once

#include "platform/runtime/Error.h"

#include <cstdint>
#include <exception>
#include <new>
#include <optional>
#include <utility>

namespace platform::runtime {

/// Runs the statements of a procedure that ignores errors, one after the other: a statement
/// that fails does not stop the next one, and the last failure is kept, as the runtime's Err
/// object keeps it after "resume next". Nothing a statement throws gets out.
///
///     rt::ResumeNext ignore;
///     ignore([&] { file.Close(); });
///     ignore([&] { folder.Remove(); });
///     if (ignore.Number() != 0) { ... }
class ResumeNext
{
public:
    /// Runs one statement; keeps its error if it fails. A statement that succeeds leaves the
    /// kept error as it is (as Err stays set until it is cleared).
    template <class Statement> ResumeNext& operator()(Statement&& statement) noexcept
    {
        try {
            std::forward<Statement>(statement)();
        } catch (const Error& e) {
            Keep(e);
        } catch (const std::bad_alloc&) {
            Keep(errors::OutOfMemory, nullptr);
        } catch (const std::exception& e) {
            Keep(errors::InternalError, e.what());
        } catch (...) {
            Keep(errors::InternalError, nullptr);
        }
        return *this;
    }

    /// Runs each statement in turn, as operator() does.
    template <class... Statements> ResumeNext& Run(Statements&&... statements) noexcept
    {
        ((*this)(std::forward<Statements>(statements)), ...);
        return *this;
    }

    /// The last error kept, or nothing.
    const std::optional<Error>& LastError() const noexcept { return last_; }
    /// The number of the last error kept, 0 when none.
    std::int32_t Number() const noexcept { return last_ ? last_->Number() : lostNumber_; }
    /// True when a statement failed since the last Clear.
    bool Failed() const noexcept { return Number() != 0; }
    /// Forgets the kept error (Err.Clear).
    void Clear() noexcept
    {
        last_.reset();
        lostNumber_ = 0;
    }

private:
    void Keep(const Error& error) noexcept
    {
        try {
            last_ = error;
            lostNumber_ = 0;
        } catch (...) {
            // Without memory for the texts, keep at least the number.
            last_.reset();
            lostNumber_ = error.Number();
        }
    }

    void Keep(std::int32_t number, const char* description) noexcept
    {
        try {
            Keep(Error(number, {}, description ? description : ""));
        } catch (...) {
            last_.reset();
            lostNumber_ = number;
        }
    }

    std::optional<Error> last_;
    std::int32_t lostNumber_ = 0;
};

} // namespace platform::runtime
