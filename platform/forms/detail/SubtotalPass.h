#pragma once

#include "platform/forms/detail/GridModel.h"

#include <vector>

namespace platform::forms::detail {

/// Runs subtotal requests (none of them Clear, each already checked) in one pass over the
/// rows, with the same rows, texts and values as running them one by one. That holds when the
/// grid has no outline yet and every group column is asked for with one match column; for
/// anything else the grid is left as it is and the result is false.
bool SubtotalInOnePass(FlexGrid::Impl& impl, const std::vector<SubtotalRequest>& requests);

} // namespace platform::forms::detail
