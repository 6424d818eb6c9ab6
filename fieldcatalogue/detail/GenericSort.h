#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fieldcatalogue::detail {

/// The order in which the grid's generic ascending sort puts these texts, as positions into
/// vTexts: empty texts first, then texts that read as numbers in the current locale by value,
/// then the other texts by the locale's collation without regard to case. Equal texts keep
/// their order.
std::vector<std::size_t> GenericAscendingOrder(const std::vector<std::string>& vTexts);

} // namespace fieldcatalogue::detail
