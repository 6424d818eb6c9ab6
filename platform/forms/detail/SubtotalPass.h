#pragma once

#include "platform/forms/detail/GridModel.h"

#include <functional>
#include <vector>

namespace platform::forms::detail {

/// Runs subtotal requests (none of them Clear, each already checked) in one pass over the
/// rows, with the same rows, texts and values as running them one by one. That holds when the
/// grid has no outline yet and every group column is asked for with one match column; for
/// anything else the grid is left as it is and the result is false. beforeInsert, when given,
/// is called once the subtotal rows are made, before they go in, with the data rows where a
/// group of any request starts (rising); it may reorder the data rows from one start to the
/// next. With order, the data rows are read as if row fixedRows + i stood where
/// fixedRows + order[i] stands; beforeInsert must then put them there.
bool SubtotalInOnePass(FlexGrid::Impl& impl, const std::vector<SubtotalRequest>& requests,
                       const std::function<void(const std::vector<int>&)>& beforeInsert = {},
                       const std::vector<int>* order = nullptr);

/// Raises as Subtotal() does for a request (not Clear) with a column outside the grid or an
/// aggregate without its total column.
void CheckSubtotalRequest(const FlexGrid::Impl& impl, const SubtotalRequest& q);

} // namespace platform::forms::detail
