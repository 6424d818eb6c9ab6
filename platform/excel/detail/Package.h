#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::excel::detail {

/// The elements and attributes an XML part that is read may hold: a tree of them takes about
/// 130 MB, and a template's parts hold some thousands.
inline constexpr std::uint64_t kMaxPartNodes = 2'000'000;

/// An open-XML package (a zip file) opened for reading and changing its parts.
/// Changes reach the file on Commit; without it the file stays as it was.
class Package
{
public:
    /// Opens the package at `path`. Raises 1004 when it is not a readable zip file, and when
    /// it holds two entries of one part name (compared in ASCII letters of either case).
    explicit Package(const std::string& path);
    ~Package();
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    /// The bytes of part `name` ("xl/workbook.xml"), or std::nullopt when absent. Raises 1004
    /// when the part's data is damaged, and when it would unpack to more than the bounds of
    /// a template: 32 MB a part, 128 MB over all parts read, and above 4 MB a hundred times
    /// its packed size.
    std::optional<std::string> Read(const std::string& name) const;
    /// Replaces or adds part `name`.
    void Write(const std::string& name, std::string data);
    /// Removes part `name` when present (its name compared in ASCII letters of either case).
    void Remove(const std::string& name);
    /// The names of the parts in the package as changed so far: those of the file in the
    /// archive's order without the removed ones, then the added ones.
    std::vector<std::string> PartNames() const;
    /// The name the package is told by in messages: the file the user gave (a template) where
    /// the package is a copy of it, else its own path.
    const std::string& Shown() const { return shown_.empty() ? path_ : shown_; }
    void ShowAs(std::string shown) { shown_ = std::move(shown); }
    /// A part whose name differs from `name` in the case of its letters alone, if any.
    std::optional<std::string> OtherCaseName(const std::string& name) const;
    /// Writes the changes to the file. Raises 1004 on failure, when a changed XML part
    /// (".xml", ".rels") is not well-formed or holds more than kMaxPartNodes elements and
    /// attributes, and when a changed part, or the parts read and changed together, would
    /// go beyond the bounds Read applies: then the file stays as it was, and it opens again
    /// as it was written. A changed part that packs beyond the ratio Read allows is known only
    /// once the file is written: then it raises 1004 with the file written, to be discarded.
    void Commit();

private:
    void RefuseRepeatedNames() const;
    void RefuseUnpackedSize(const std::string& name, std::uint64_t size,
                            std::uint64_t packed) const;

    struct Handle;
    std::unique_ptr<Handle> handle_;
    std::string path_;
    std::string shown_;
    // New contents by part name; the archive reads them from here when it is written.
    std::map<std::string, std::string> pending_;
    void RefuseWrittenSize() const;
    void RefuseWrittenRatio() const;

    // The archive's entries by folded name, made at the first removal.
    std::optional<std::unordered_map<std::string, std::uint64_t>> folded_;
    // The parts read so far (folded names) with what each unpacked to, and all together.
    mutable std::map<std::string, std::uint64_t> unpacked_;
    mutable std::uint64_t unpackedTotal_ = 0;
};

/// A part name as the package format compares part names: ASCII letters in lower case.
std::string FoldedName(std::string_view name);

/// Sets the content type of part `partName` ("/xl/workbook.xml") in "[Content_Types].xml".
void SetContentType(Package& package, const std::string& partName, const std::string& contentType);

/// Parses an XML part, keeping its declaration; a declaration that names another encoding
/// than UTF-8 is made to name UTF-8, the encoding SavePart writes. Raises 1004 naming `part`
/// on failure.
/// The reason, in the user's language, names the fault and where it lies.
void LoadPart(pugi::xml_document& doc, const std::string& data, const std::string& part);
/// The first fault that keeps `data` from being well-formed XML (one document element,
/// matching tags, defined entities, valid UTF-8, no unescaped "<" in values, ...), with its
/// line; std::nullopt for a well-formed text. Stricter than LoadPart, which reads past some
/// of these faults. Reads the text as a stream: memory does not grow with its size.
std::optional<std::string> WellFormedFault(const std::string& data);

/// What a streaming read of an XML text finds: the first fault of well-formedness as
/// WellFormedFault gives it, and how many elements and attributes the text holds (a tree of
/// it takes about 64 bytes for each).
struct XmlSurvey
{
    std::optional<std::string> fault;
    std::uint64_t nodes = 0;
};
XmlSurvey SurveyXml(const std::string& data);
/// The part's text as it is to be stored (declaration kept, no added whitespace, a carriage
/// return in a value written as a character reference so that readers keep it).
std::string SavePart(const pugi::xml_document& doc);

} // namespace platform::excel::detail
