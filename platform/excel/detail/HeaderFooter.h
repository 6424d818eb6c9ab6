#pragma once

#include "platform/excel/detail/Sheet.h"

#include <string>
#include <string_view>

namespace platform::excel::detail {

/// The longest header or footer text the file formats hold.
inline constexpr std::size_t kMaxHeaderFooterLength = 255;

/// The one-string form "&L..&C..&R.." of three parts; empty parts are left out.
std::string ComposeHeaderFooter(const HeaderFooterParts& parts);

/// The three parts of a one-string header or footer. Text before any section code belongs to
/// the centre; "&&" (a literal ampersand) and other codes stay as they are.
HeaderFooterParts SplitHeaderFooter(std::string_view text);

/// A one-string header or footer as an open-format sheet stores it: each line end (CR LF, a
/// lone CR) the line feed the format breaks a line with, the other characters XML cannot
/// carry as escaped strings ("_x0001_").
std::string StoredHeaderFooter(std::string_view text);

} // namespace platform::excel::detail
