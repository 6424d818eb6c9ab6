#pragma once

#include "platform/runtime/Variant.h"
#include "platform/xml/Document.h"
#include "platform/xml/Node.h"
#include "platform/xml/NodeList.h"

#include <cstdint>
#include <optional>
#include <string>

namespace views {

class Templates;

/// The version the report-definition file is written with (the add-in's build revision).
inline constexpr std::int32_t kReportFileVersion = 94;
/// Files from this version on carry the `DontShowTime` element of a `Report`.
inline constexpr std::int32_t kDontShowTimeVersion = 62;

/// Builds and parses the report-definition file "reports.xml": exports the template
/// collection as text and imports the templates from text. Every element is read by its
/// position among its parent's children; names are written for readability only.
class XmlHandler
{
public:
    /// Creates an element named sName with the value's text and appends it to oParent.
    platform::xml::Node AddElement(platform::xml::Node& oParent, const std::string& sName,
                                   const platform::runtime::Variant& vValue);
    /// A new document with the declaration and the `Reports` element.
    void CreateDomObject();
    /// The first top-level node named "Reports" becomes the root and its children the report
    /// list; without one both stay null.
    void FindRootNode();
    /// The root's `version` attribute as a whole number; -1 without root or attribute; a text
    /// that is no number leaves the version unchanged.
    void ReadVersion();
    /// Sets the root's `version` attribute to the current file version.
    void WriteVersion();
    /// The whole file's text from the views of the collection. A view whose writing fails is
    /// logged and left out, except for a view holding text the file cannot hold (bytes that
    /// are not UTF-8, control characters): then, as when `Import` would not read the text
    /// back, it raises 5 naming the template, and no text is handed out to be written, so
    /// that no template is lost or cut short.
    void Export(std::string& sText, Templates& oTemplates);
    /// Adds one partly loaded view per element child of the root to the collection. Returns
    /// false when the text is not XML or has no `Reports` element (nothing is imported then).
    /// A template that fails to load for its own damage is logged and skipped; a failure that
    /// is no template's own (the memory ran out) stops the load: it raises 7 with the reason in
    /// the UI language, and the collection holds only the templates read before it.
    bool Import(const std::string& sText, Templates& oTemplates);
    /// Why the last `Import` found no report list: the parser's reason with its line, or the
    /// missing `Reports` element. Empty after an import that found one.
    std::string ImportFailure() const;
    /// The node's text as a String; Empty for the null node.
    static platform::runtime::Variant GetNodeValue(const platform::xml::Node& oNode);
    /// The value of the list's item at a 0-based position; Empty when there is none.
    static platform::runtime::Variant GetChildValue(const platform::xml::NodeList& oList,
                                                    long lPosition);

    /// The document being built or parsed.
    platform::xml::Document& Document() { return m_oDocument; }
    /// The `Reports` element, or null.
    const platform::xml::Node& Root() const { return m_oRoot; }
    /// The version read by `ReadVersion` (0 in a new handler).
    std::int32_t Version() const { return m_lVersion; }

    /// The text a value is stored as: Booleans "True"/"False", dates "yyyy-mm-dd hh:nn:ss",
    /// numbers in decimal, texts as they stand.
    static std::string ValueText(const platform::runtime::Variant& vValue);
    /// A stored Boolean: "True"/"False" in any case, the German words the add-in once wrote,
    /// or a number; Empty is False. Raises 13 for other texts.
    static bool ReadBool(const platform::runtime::Variant& vValue);
    /// A stored 32-bit whole number; Empty is 0. Raises 13 or 6.
    static std::int32_t ReadLong(const platform::runtime::Variant& vValue);
    /// A stored 16-bit whole number; Empty is 0. Raises 13 or 6.
    static std::int16_t ReadInt(const platform::runtime::Variant& vValue);
    /// A stored text; Empty is the empty text.
    static std::string ReadText(const platform::runtime::Variant& vValue);
    /// A stored date by its form, whatever the current locale: "yyyy-mm-dd hh:nn:ss" as
    /// written now, and the two forms the add-in once wrote under its users' locales,
    /// day.month.year with a 24-hour time ("31.12.2026 23:59:59") and month/day/year with a
    /// designator ("12/31/2026 11:59:59 PM"); each date without its time, a time alone (the
    /// zero date) and two-digit years too. None for any other text.
    static std::optional<platform::runtime::Date> ReadDate(const std::string& sText);
    /// The value a stored date text hands to the filter: the date when `ReadDate` knows its
    /// form, else the text itself (the filter converts it in the current locale, or not).
    static platform::runtime::Variant ReadDateValue(const std::string& sText);
    /// Whether a stored date text gives a date: empty text (no date), a form `ReadDate`
    /// knows, or a date text of the current locale.
    static bool DateConverts(const std::string& sText);

private:
    platform::xml::Document m_oDocument;
    platform::xml::Node m_oRoot;
    platform::xml::NodeList m_oReportList;
    bool m_bHasReportList = false;
    std::int32_t m_lVersion = 0;
    // What AddElement or a view's node written as it was loaded holds that the file cannot
    // hold, while one view is written.
    std::optional<platform::xml::UnholdableCharacter> m_oUnholdable;
};

} // namespace views
