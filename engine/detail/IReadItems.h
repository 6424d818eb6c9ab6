#pragma once

#include <memory>

namespace platform::mapi {
class Folder;
class Utils;
} // namespace platform::mapi

namespace engine {
class Records;
}

namespace engine::detail {

class Options;

/// The item readers as the folder walker sees them: one reader object per folder read.
class IReadItems
{
public:
    virtual ~IReadItems() = default;
    /// Hands the reader the settings, the walker's utils object and the record set; called
    /// once, right after the reader is made.
    virtual void Initialize(const std::shared_ptr<Options>& oOptions,
                            const std::shared_ptr<platform::mapi::Utils>& oUtils,
                            const std::shared_ptr<Records>& oRecords) = 0;
    /// Reads the folder: restricts its item table by the active filter, appends one record per
    /// row or occurrence and raises progress per row.
    virtual void Execute(const std::shared_ptr<platform::mapi::Folder>& rdFolder) = 0;
};

} // namespace engine::detail
