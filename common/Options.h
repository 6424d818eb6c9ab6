#pragma once

#include <cstdint>
#include <string>

namespace common {

/// The add-in's settings, kept in "settings.ini" (section "default") in the per-user data
/// folder. Created, given its defaults and loaded once at connection by the root object.
class Options
{
public:
    /// The section that holds every setting.
    static constexpr const char* kSection = "default";
    /// The settings file's name in the data folder.
    static constexpr const char* kFileName = "settings.ini";

    const std::string& SupportMailAddress() const { return m_sSupportMailAddress; }
    void SetSupportMailAddress(const std::string& s) { m_sSupportMailAddress = s; }
    /// Items per chunk when folder contents are read in pieces.
    std::int32_t ChunkSize() const { return m_lChunkSize; }
    void SetChunkSize(std::int32_t l) { m_lChunkSize = l; }
    /// Marks where the report goes in a mail template.
    const std::string& RTFReportPlaceholder() const { return m_sRTFReportPlaceholder; }
    void SetRTFReportPlaceholder(const std::string& s) { m_sRTFReportPlaceholder = s; }
    /// Prefix of the class names in HTML reports.
    const std::string& PrefixHtmlClass() const { return m_sPrefixHtmlClass; }
    void SetPrefixHtmlClass(const std::string& s) { m_sPrefixHtmlClass = s; }
    /// Whether explorer windows show the add-in's toolbar.
    bool ShowExplorerCommandbar() const { return m_bShowExplorerCommandbar; }
    void SetShowExplorerCommandbar(bool b) { m_bShowExplorerCommandbar = b; }

    /// The product number the about box shows.
    std::string ProductNumber() const { return "4729615"; }

    /// Sets every setting to its default.
    void SetDefaults();
    /// Reads the settings file, if there is one. Missing or empty keys keep their values; a
    /// value that cannot be converted stops the reading (logged; the rest keep theirs).
    void Load();
    /// Writes `ShowExplorerCommandbar` ("1" or "0"), creating the data folder when missing;
    /// no other setting is ever written. Throws on failure.
    void Save();

private:
    std::string m_sSupportMailAddress;
    std::int32_t m_lChunkSize = 0;
    std::string m_sRTFReportPlaceholder;
    std::string m_sPrefixHtmlClass;
    bool m_bShowExplorerCommandbar = false;
};

} // namespace common
