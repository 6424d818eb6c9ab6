#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <string>

namespace platform::excel {

class Range;

/// The font of a range; only bold is supported.
class Font : public platform::runtime::Object
{
public:
    /// Made by Range::Font.
    explicit Font(std::shared_ptr<const excel::Range> range);

    std::string TypeName() const override { return "Font"; }

    /// Whether the range's first cell is bold.
    bool Bold() const;
    /// Sets or clears bold for every cell of the range (whole columns: the columns' font).
    /// Raises 438 on a template's sheet.
    void SetBold(bool value);

private:
    std::shared_ptr<const excel::Range> range_;
};

} // namespace platform::excel
