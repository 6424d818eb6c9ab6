#pragma once

#include "platform/runtime/Variant.h"

#include <string>

namespace platform::forms {
class FlexGrid;
} // namespace platform::forms

namespace actions {

/// A report file writer fed from the report grid: the save action makes one per save, chosen
/// by the report format, and calls `Export` once.
class IExport
{
public:
    virtual ~IExport() = default;
    /// Writes what the grid fg shows to File (a full path). Args is not read by any writer.
    virtual void Export(platform::forms::FlexGrid& fg, const std::string& File,
                        const platform::runtime::Variant& Args = {}) = 0;
};

} // namespace actions
