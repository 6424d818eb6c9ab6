#pragma once

#include "platform/runtime/Object.h"

#include <string>

namespace engine::detail {

/// The engine's settings, read from section "default" of "settings.ini" in the per-user data
/// folder. Each setting starts at its default; `ReadSettings` overwrites the ones whose key
/// has a non-empty value.
class Options : public platform::runtime::Object
{
public:
    std::string TypeName() const override { return "Options"; }

    /// Days before the window end that a recurrence window starts when only an end is set.
    long DateRangeFrom = -90;
    /// Days after the window start that a recurrence window ends when no end is set.
    long DateRangeTo = 90;
    /// Field separator of the CSV writer.
    std::string CSVDelimiter = ";";
    /// Folders per pass of the walker and items per pass of the readers (below 1: all).
    long ChunkSize = 100;
    /// Read and kept; nothing uses it.
    std::string PrefixHtmlClass = "tlv_";
    /// Prefix of the HTML writer's template placeholders.
    std::string PrefixHtmlVariable = "@tlv_";

    /// Reads the keys in the order DateRangeFrom, DateRangeTo, CSVDelimiter, ChunkSize,
    /// PrefixHtmlClass, PrefixHtmlVariable. A whole-number key takes the number at the start
    /// of its text (0 when it starts with none), rounded. Throws the runtime's error 6 when
    /// that number does not fit a Long; the keys read before keep their new values.
    void ReadSettings();
};

} // namespace engine::detail
