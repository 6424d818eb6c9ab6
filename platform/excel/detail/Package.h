#pragma once

#include <map>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace platform::excel::detail {

/// An open-XML package (a zip file) opened for reading and changing its parts.
/// Changes reach the file on Commit; without it the file stays as it was.
class Package
{
public:
    /// Opens the package at `path`. Raises 1004 when it is not a readable zip file.
    explicit Package(const std::string& path);
    ~Package();
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    /// The bytes of part `name` ("xl/workbook.xml"), or std::nullopt when absent.
    std::optional<std::string> Read(const std::string& name) const;
    /// Replaces or adds part `name`.
    void Write(const std::string& name, std::string data);
    /// Removes part `name` when present.
    void Remove(const std::string& name);
    /// The names of the parts in the file, in the archive's order (changes not committed
    /// are not listed).
    std::vector<std::string> PartNames() const;
    /// Writes the changes to the file. Raises 1004 on failure, and when a changed XML part
    /// (".xml", ".rels") is not well-formed: then the file stays as it was.
    void Commit();

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    std::string path_;
    // New contents by part name; the archive reads them from here when it is written.
    std::map<std::string, std::string> pending_;
};

/// Sets the content type of part `partName` ("/xl/workbook.xml") in "[Content_Types].xml".
void SetContentType(Package& package, const std::string& partName, const std::string& contentType);

/// Parses an XML part, keeping its declaration; a declaration that names another encoding
/// than UTF-8 is made to name UTF-8, the encoding SavePart writes. Raises 1004 naming `what`
/// on failure.
void LoadPart(pugi::xml_document& doc, const std::string& data, const std::string& what);
/// The first fault that keeps `data` from being well-formed XML (one document element,
/// matching tags, defined entities, valid UTF-8, no unescaped "<" in values, ...), with its
/// line; std::nullopt for a well-formed text. Stricter than LoadPart, which reads past some
/// of these faults.
std::optional<std::string> WellFormedFault(const std::string& data);
/// The part's text as it is to be stored (declaration kept, no added whitespace).
std::string SavePart(const pugi::xml_document& doc);

} // namespace platform::excel::detail
