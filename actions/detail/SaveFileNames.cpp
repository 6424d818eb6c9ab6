#include "actions/detail/SaveFileNames.h"

#include "common/modLanguage.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Variant.h"
#include "platform/win/FileComponent.h"

#include <algorithm>
#include <cmath>

namespace actions::detail {

namespace rt = platform::runtime;
namespace pf = platform::forms;

namespace {

// Clients from this version on write and read the XML workbook formats.
constexpr std::int32_t kXmlWorkbookVersion = 12;

pf::FileFilter Filter(long lText, const char* sPattern)
{
    return {common::modLanguage::GetResString(lText), sPattern};
}

pf::FileFilter WorkbookFilter(std::int32_t lFormat)
{
    switch (lFormat) {
    case kXlsx:
        return Filter(2219, "*.xlsx");
    case kXlsm:
        return Filter(2220, "*.xlsm");
    default:
        return Filter(2188, "*.xls");
    }
}

bool IsWorkbook(std::int32_t lFormat)
{
    return lFormat == kXls || lFormat == kXlsx || lFormat == kXlsm;
}

// The name without its last extension.
std::string BaseName(const std::string& sFileName, const std::string& sExtension)
{
    return sExtension.empty() ? sFileName
                              : sFileName.substr(0, sFileName.size() - sExtension.size() - 1);
}

} // namespace

std::string ExtensionOf(std::int32_t lFormat)
{
    static const char* const kExtensions[] = {".csv", ".html", ".xls", ".pdf", ".xlsx", ".xlsm"};
    return lFormat >= 0 && lFormat <= 5 ? kExtensions[lFormat] : "";
}

std::optional<std::int32_t> FormatOfExtension(const std::string& sExtension)
{
    const std::string s = rt::LCase(sExtension);
    if (s == "html" || s == "htm")
        return kHtml;
    if (s == "csv")
        return kCsv;
    if (s == "xls")
        return kXls;
    if (s == "xlsx")
        return kXlsx;
    if (s == "xlsm")
        return kXlsm;
    return std::nullopt;
}

bool TemplateFits(std::int32_t lFormat, const std::string& sExtension)
{
    const std::string s = rt::LCase(sExtension);
    if (lFormat == kHtml)
        return s == "htm" || s == "html";
    if (IsWorkbook(lFormat))
        return s == "xls" || s == "xlt" || s == "xlsx" || s == "xlsm" || s == "xltx" || s == "xltm";
    return false;
}

std::vector<pf::FileFilter> SaveFilters(std::int32_t lFormat, std::int32_t lClientVersion)
{
    if (lFormat == kCsv)
        return {Filter(2186, "*.csv")};
    if (lFormat == kHtml)
        return {Filter(2187, "*.html")};
    if (!IsWorkbook(lFormat))
        return {};
    if (lClientVersion < kXmlWorkbookVersion)
        return {WorkbookFilter(kXls)};
    std::vector<pf::FileFilter> aFilters{WorkbookFilter(lFormat)};
    for (std::int32_t lOther : {kXlsx, kXls, kXlsm})
        if (lOther != lFormat)
            aFilters.push_back(WorkbookFilter(lOther));
    return aFilters;
}

std::vector<pf::FileFilter> TemplateFilters(std::int32_t lFormat, std::int32_t lClientVersion)
{
    if (lFormat == kHtml)
        return {Filter(2187, "*.html")};
    if (!IsWorkbook(lFormat))
        return {};
    if (lClientVersion < kXmlWorkbookVersion)
        return {Filter(2243, "*.xlt"), Filter(2188, "*.xls")};
    return {Filter(2221, "*.xltx"), Filter(2222, "*.xltm"), Filter(2243, "*.xlt"),
            Filter(2219, "*.xlsx"), Filter(2220, "*.xlsm"), Filter(2188, "*.xls")};
}

std::string GetNextFileName(const platform::win::FileComponent& oFiles,
                            const std::string& sFileName, const std::string& sFolder)
{
    const std::string sExtension = oFiles.extension(sFileName);
    const std::string sPrefix = BaseName(sFileName, sExtension) + " (";
    const std::string sSuffix = ")." + rt::LCase(sExtension);
    double dLargest = 0;
    for (const auto& sName : oFiles.filesWithPrefix(sFolder, sPrefix)) {
        if (sName.size() < sPrefix.size() + sSuffix.size() ||
            rt::LCase(sName.substr(sName.size() - sSuffix.size())) != sSuffix)
            continue;
        const std::string sInner = sName.substr(0, sName.size() - sSuffix.size());
        const auto lOpen = sInner.rfind(" (");
        dLargest = std::max(dLargest, rt::Val(sInner.substr(lOpen + 2)));
    }
    // A number read from a name such as "R (1e400).csv" must not overflow the count.
    auto n = static_cast<std::int64_t>(std::min(std::floor(dLargest), 1e15)) + 1;
    std::string sCandidate = sPrefix + std::to_string(n) + sSuffix;
    while (oFiles.fileExists(sFolder + sCandidate))
        sCandidate = sPrefix + std::to_string(++n) + sSuffix;
    return sCandidate;
}

std::string TimeStampedName(const std::string& sFileName)
{
    const auto lDot = sFileName.rfind('.');
    const std::string sBase = lDot == std::string::npos ? sFileName : sFileName.substr(0, lDot);
    const std::string sExt = lDot == std::string::npos ? std::string() : sFileName.substr(lDot);
    return sBase + "_" + rt::Format(rt::Variant(rt::Now()), "yyyymmddhhnnss") + sExt;
}

} // namespace actions::detail
