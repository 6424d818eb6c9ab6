#pragma once

#include "platform/excel/detail/Package.h"

#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace platform::excel::detail {

/// The relationships all parts of a package may hold together, and the sheets and the
/// entries of the content-type list a workbook may hold: real workbooks hold some hundreds,
/// and the work and memory of a fill grow with each.
inline constexpr std::uint64_t kMaxRelationships = 100'000;
inline constexpr std::uint64_t kMaxSheets = 10'000;
inline constexpr std::uint64_t kMaxContentTypes = 100'000;

/// The folder of part `part` with its "/" ("xl/worksheets/" of "xl/worksheets/sheet1.xml"),
/// empty for a part at the package's root.
std::string Folder(const std::string& part);

/// A relationship target (a URI: "%20" for a blank, perhaps a "#" fragment) made into the
/// name of the part it names, relative to part `base` ("" for the package), without the
/// leading "/".
std::string ResolveTarget(const std::string& base, std::string_view target);

/// The relationships part of part `part` ("xl/_rels/workbook.xml.rels" of "xl/workbook.xml").
std::string RelsOf(const std::string& part);

/// Part `part` parsed. Raises 1004 when the package lacks it or it cannot be parsed.
pugi::xml_document LoadRequired(const Package& package, const std::string& part);

/// A kind of part that a fill may remove: the workbook's relationship type ends in
/// "/<kind>", and such a part carries `contentType` (in lower case).
struct RemovableKind
{
    std::string_view kind;
    std::string_view contentType;
};

/// The calculation chain, which lists formula cells and goes stale when values replace them.
inline constexpr RemovableKind kCalcChain{
    "calcChain", "application/vnd.openxmlformats-officedocument.spreadsheetml.calcchain+xml"};
/// The macro project, which a workbook saved without macros drops.
inline constexpr RemovableKind kVbaProject{"vbaProject", "application/vnd.ms-office.vbaproject"};

/// Removes the relationships of `removable`'s kind of the workbook part `workbookPart`, and
/// each part they name when it carries that kind's content type and nothing else names it,
/// with its own relationships and content-type entry. Any other part they name stays: a
/// damaged template may point such a relationship at its sheet, its styles or its
/// relationships.
void RemoveRelatedPart(Package& package, const std::string& workbookPart,
                       const RemovableKind& removable);

/// Raises 1004, naming the template `path`, when the package lacks its content-type list or
/// its own relationships, or a relationship of the package or of one of its parts names a
/// part that is not there: readers refuse such a workbook. Relationships
/// to outside addresses, and those of parts that are not there, are not looked at.
void RefuseMissingTargets(const Package& package, const std::string& path);

} // namespace platform::excel::detail
