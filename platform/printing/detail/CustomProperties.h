#pragma once

#include <string>

namespace platform::printing::detail {

/// The style sheet text with each var() whose value is known in advance replaced by that value,
/// for renderers that read var() in only some properties and drop the declaration elsewhere.
/// Known in advance are the custom properties declared in rules whose selectors are all
/// ":root", "html" or "body" (the document-wide ones), wherever in the sheet they stand:
/// the last declaration wins, one marked !important over those that are not, and "body"'s
/// over the root's for every rule but the root's own. A var() of a property declared nowhere
/// takes its fallback; one that refers to itself, also through others, counts as declared
/// nowhere. A value is left as it stands when one of its var()s names a property that some
/// other rule or a conditional rule (@media, @supports...) declares, since which value applies
/// there depends on the element; declarations of custom properties stay as they are.
std::string ResolveCustomProperties(const std::string& sheet);

/// The HTML page with the same done across all its <style> elements together (a property
/// declared in one may be used in another); the rest of the page is left byte for byte.
std::string ResolveCustomPropertiesInPage(const std::string& html);

} // namespace platform::printing::detail
