#include "views/XmlHandler.h"

#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Utf8.h"
#include "views/Templates.h"
#include "views/ViewSettings.h"

#include <cstdio>
#include <new>
#include <stdexcept>

namespace views {

namespace rt = platform::runtime;
namespace px = platform::xml;

namespace {

constexpr const char* kModule = "XmlHandler";

// The resource text with its placeholders filled in one pass: a template's name that holds
// "#1" or "|" itself is shown as it is.
std::string Message(long lId, const std::vector<std::string>& vArgs)
{
    return common::ErrorObject::FillPlaceholdersOnce(common::modLanguage::GetResString(lId), vArgs);
}

std::string IsoDateText(rt::Date dt)
{
    char sBuffer[32];
    std::snprintf(sBuffer, sizeof sBuffer, "%04d-%02d-%02d %02d:%02d:%02d", rt::Year(dt) % 10000,
                  rt::Month(dt) % 100, rt::Day(dt) % 100, rt::Hour(dt) % 100, rt::Minute(dt) % 100,
                  rt::Second(dt) % 100);
    return sBuffer;
}

// The declaration the file carries: the serialiser's declaration with the encoding name the
// original file format names inserted after its version.
std::string WithEncodingName(const std::string& sXml)
{
    static const std::string kVersion = "version=\"1.0\"";
    const std::size_t lAt = sXml.rfind(kVersion, sXml.find("?>"));
    if (sXml.rfind("<?xml", 0) != 0 || lAt == std::string::npos)
        return sXml;
    std::string sResult = sXml;
    sResult.insert(lAt + kVersion.size(), " encoding=\"UNICODE\"");
    return sResult;
}

// "The report templates were not written, because the file would not be readable again: #0."
constexpr long kResNotReadableAgain = 2295;
// "the template "#0" holds text that is not UTF-8"
constexpr long kResNotUtf8 = 2296;

// Raises when the loader would refuse sText, so that it is never written over a file that
// can be read: the one such text a view can give is one that is not UTF-8, and the first view
// that gave it is named (its name shown with the bad bytes replaced).
void RefuseUnreadable(const std::string& sText, Templates& oTemplates)
{
    px::Document oCheck;
    if (oCheck.LoadXml(sText))
        return;
    std::string sWhy = oCheck.LastParseError().Reason;
    for (const auto& oView : oTemplates) {
        if (rt::IsValidUtf8(oView->XmlNode().Xml()))
            continue;
        std::string sName = oView->Name();
        rt::MakeValidUtf8(sName);
        sWhy = Message(kResNotUtf8, {sName});
        break;
    }
    rt::Raise(rt::errors::InvalidProcedureCall, {}, Message(kResNotReadableAgain, {sWhy}));
}

// "line #0: #1": where the file's XML went wrong, and how
constexpr long kResAtLine = 2393;
// "no "Reports" element"
constexpr long kResNoReportsElement = 2394;

// "the template "#0" holds the character #1, which the file cannot hold"
constexpr long kResUnholdable = 2297;
// "there is not enough memory to read all the templates"
constexpr long kResNoMemory = 2390;

// The view's name as it can be shown: bytes that are not UTF-8 and control characters replaced.
std::string ShownName(std::string sName)
{
    rt::MakeValidUtf8(sName);
    while (const auto oAt = px::FirstUnholdable(sName))
        sName.replace(oAt->offset, oAt->length, "\xEF\xBF\xBD");
    return sName;
}

// Raises for a view whose text the file cannot hold: leaving it out would lose the template,
// and the file written before must stay.
void RefuseUnholdable(const ViewSettings& oView, const px::UnholdableCharacter& oFound)
{
    const std::string sWhy = oFound.notUtf8
                                 ? Message(kResNotUtf8, {ShownName(oView.Name())})
                                 : Message(kResUnholdable, {ShownName(oView.Name()), oFound.shown});
    rt::Raise(rt::errors::InvalidProcedureCall, {}, Message(kResNotReadableAgain, {sWhy}));
}

// Reads the digits at sText[nAt...] (at most nMax); none when there are none.
std::optional<int> Digits(const std::string& sText, std::size_t& nAt, std::size_t nMax = 4)
{
    int n = 0;
    std::size_t nCount = 0;
    while (nAt < sText.size() && nCount < nMax && sText[nAt] >= '0' && sText[nAt] <= '9') {
        n = n * 10 + (sText[nAt] - '0');
        ++nAt;
        ++nCount;
    }
    return nCount == 0 ? std::nullopt : std::optional<int>(n);
}

void SkipSpaces(const std::string& sText, std::size_t& nAt)
{
    while (nAt < sText.size() && sText[nAt] == ' ')
        ++nAt;
}

struct DateParts
{
    int nYear = 1899;
    int nMonth = 12;
    int nDay = 30;
};

// "yyyy-mm-dd", "d.m.yyyy" or "m/d/yyyy" at nAt; none (nAt unchanged) when there is none.
std::optional<DateParts> ReadDatePart(const std::string& sText, std::size_t& nAt)
{
    std::size_t n = nAt;
    const auto a = Digits(sText, n);
    if (!a || n >= sText.size())
        return std::nullopt;
    const std::size_t nFirstLength = n - nAt;
    const char cSep = sText[n];
    if (cSep != '-' && cSep != '.' && cSep != '/')
        return std::nullopt;
    ++n;
    const auto b = Digits(sText, n, 2);
    if (!b || n >= sText.size() || sText[n] != cSep)
        return std::nullopt;
    ++n;
    const std::size_t nYearAt = n;
    const auto c = Digits(sText, n);
    if (!c)
        return std::nullopt;
    DateParts o;
    if (cSep != '-' && nFirstLength > 2)
        return std::nullopt;
    if (cSep == '-') {
        if (nFirstLength != 4) // the year comes first here
            return std::nullopt;
        o = {*a, *b, *c};
    } else {
        int nYear = *c;
        // Two-digit years as the runtime reads them: 00-29 this century, 30-99 the last.
        if (n - nYearAt <= 2)
            nYear += nYear < 30 ? 2000 : 1900;
        o = cSep == '.' ? DateParts{nYear, *b, *a} : DateParts{nYear, *a, *b};
    }
    nAt = n;
    return o;
}

bool ValidDay(const DateParts& o)
{
    if (o.nYear < 100 || o.nYear > 9999 || o.nMonth < 1 || o.nMonth > 12 || o.nDay < 1)
        return false;
    // Counted here rather than from the next month's first day, which for December 9999 lies
    // beyond the calendar.
    static constexpr int aDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bLeap = (o.nYear % 4 == 0 && o.nYear % 100 != 0) || o.nYear % 400 == 0;
    return o.nDay <= aDays[o.nMonth - 1] + (o.nMonth == 2 && bLeap ? 1 : 0);
}

// "h:mm[:ss]" with an optional "AM"/"PM" at nAt, as seconds of the day; none when malformed.
std::optional<int> ReadTimePart(const std::string& sText, std::size_t& nAt)
{
    auto nHour = Digits(sText, nAt, 2);
    if (!nHour || nAt >= sText.size() || sText[nAt] != ':')
        return std::nullopt;
    ++nAt;
    const auto nMinute = Digits(sText, nAt, 2);
    if (!nMinute)
        return std::nullopt;
    int nSecond = 0;
    if (nAt < sText.size() && sText[nAt] == ':') {
        ++nAt;
        const auto o = Digits(sText, nAt, 2);
        if (!o)
            return std::nullopt;
        nSecond = *o;
    }
    SkipSpaces(sText, nAt);
    const std::string sRest = rt::UCase(sText.substr(nAt, 2));
    if (sRest == "AM" || sRest == "PM") {
        if (*nHour < 1 || *nHour > 12)
            return std::nullopt;
        *nHour = *nHour % 12 + (sRest == "PM" ? 12 : 0);
        nAt += 2;
    }
    if (*nHour > 23 || *nMinute > 59 || nSecond > 59)
        return std::nullopt;
    return *nHour * 3600 + *nMinute * 60 + nSecond;
}

} // namespace

std::optional<rt::Date> XmlHandler::ReadDate(const std::string& sText)
{
    const std::string sTrimmed = rt::Trim(sText);
    std::size_t nAt = 0;
    const auto oDay = ReadDatePart(sTrimmed, nAt);
    if (oDay && !ValidDay(*oDay))
        return std::nullopt;
    SkipSpaces(sTrimmed, nAt);
    std::optional<int> nSeconds;
    if (nAt < sTrimmed.size()) {
        nSeconds = ReadTimePart(sTrimmed, nAt);
        if (!nSeconds || nAt != sTrimmed.size())
            return std::nullopt;
    }
    if (!oDay && !nSeconds)
        return std::nullopt;
    const DateParts oParts = oDay.value_or(DateParts{});
    const rt::Date dtDay = rt::DateSerial(oParts.nYear, oParts.nMonth, oParts.nDay);
    return rt::Date::FromLinear(dtDay.Linear() + nSeconds.value_or(0) / 86400.0);
}

rt::Variant XmlHandler::ReadDateValue(const std::string& sText)
{
    if (const auto dt = ReadDate(sText))
        return rt::Variant(*dt);
    return rt::Variant(sText);
}

bool XmlHandler::DateConverts(const std::string& sText)
{
    return rt::Trim(sText).empty() || ReadDate(sText) || rt::IsDate(rt::Variant(sText));
}

std::string XmlHandler::ValueText(const rt::Variant& vValue)
{
    if (const bool* b = vValue.Get<bool>())
        return *b ? "True" : "False";
    if (const rt::Date* dt = vValue.Get<rt::Date>())
        return IsoDateText(*dt);
    return rt::CStr(vValue);
}

bool XmlHandler::ReadBool(const rt::Variant& vValue)
{
    if (vValue.IsEmpty())
        return false;
    if (const std::string* s = vValue.Get<std::string>()) {
        const std::string sTrimmed = rt::Trim(*s);
        if (sTrimmed.empty())
            return false;
        // The add-in once wrote the locale's words.
        if (rt::StrComp(sTrimmed, "Wahr", rt::CompareMethod::Text) == 0)
            return true;
        if (rt::StrComp(sTrimmed, "Falsch", rt::CompareMethod::Text) == 0)
            return false;
        return rt::CBool(rt::Variant(sTrimmed));
    }
    return rt::CBool(vValue);
}

std::int32_t XmlHandler::ReadLong(const rt::Variant& vValue)
{
    if (vValue.IsEmpty())
        return 0;
    if (const std::string* s = vValue.Get<std::string>(); s && rt::Trim(*s).empty())
        rt::Raise(rt::errors::TypeMismatch);
    return rt::CLng(vValue);
}

std::int16_t XmlHandler::ReadInt(const rt::Variant& vValue)
{
    if (vValue.IsEmpty())
        return 0;
    if (const std::string* s = vValue.Get<std::string>(); s && rt::Trim(*s).empty())
        rt::Raise(rt::errors::TypeMismatch);
    return rt::CInt(vValue);
}

std::string XmlHandler::ReadText(const rt::Variant& vValue)
{
    return vValue.IsEmpty() ? std::string() : rt::CStr(vValue);
}

px::Node XmlHandler::AddElement(px::Node& oParent, const std::string& sName,
                                const rt::Variant& vValue)
{
    px::Node oElement = m_oDocument.CreateElement(sName);
    const std::string sText = ValueText(vValue);
    if (!m_oUnholdable)
        m_oUnholdable = px::FirstUnholdable(sText);
    oElement.SetText(sText);
    return oParent.AppendChild(oElement);
}

void XmlHandler::CreateDomObject()
{
    common::Rethrowing(kModule, "CreateDomObject", [&] {
        m_oDocument = px::Document();
        m_oDocument.AppendChild(m_oDocument.CreateProcessingInstruction("xml", "version=\"1.0\""));
        m_oDocument.AppendChild(m_oDocument.CreateElement("Reports"));
    });
}

void XmlHandler::FindRootNode()
{
    m_oRoot = px::Node();
    m_oReportList = px::NodeList();
    m_bHasReportList = false;
    for (const px::Node& oNode : m_oDocument.ChildNodes()) {
        if (oNode.BaseName() == "Reports") {
            m_oRoot = oNode;
            m_oReportList = oNode.ChildNodes();
            m_bHasReportList = true;
            return;
        }
    }
}

void XmlHandler::ReadVersion()
{
    const auto sVersion = m_oRoot ? m_oRoot.GetAttribute("version") : std::nullopt;
    if (!sVersion) {
        m_lVersion = -1;
        return;
    }
    rt::ResumeNext oSteps;
    oSteps([&] { m_lVersion = rt::CLng(rt::Variant(*sVersion)); });
}

void XmlHandler::WriteVersion()
{
    rt::ResumeNext oSteps;
    oSteps([&] { m_oRoot.SetAttribute("version", std::to_string(kReportFileVersion)); });
}

void XmlHandler::Export(std::string& sText, Templates& oTemplates)
{
    common::Rethrowing(kModule, "Export", [&] {
        sText.clear();
        CreateDomObject();
        FindRootNode();
        WriteVersion();
        for (const auto& oView : oTemplates) {
            m_oUnholdable.reset();
            common::Logging(kModule, "Export", [&] {
                px::Node oReport = m_oDocument.CreateElement("Report");
                px::Node oWritten = oView->Update(m_oDocument, *this, oReport);
                // A view written as it was loaded carries its text past AddElement: a file
                // of an older version may hold references such as "&#27;" to characters
                // that XML 1.0 cannot hold, which no other reader takes.
                if (oWritten && !m_oUnholdable)
                    m_oUnholdable = oWritten.FirstUnholdableWithin();
                if (oWritten && !m_oUnholdable)
                    m_oRoot.AppendChild(oWritten);
            });
            if (m_oUnholdable)
                RefuseUnholdable(*oView, *m_oUnholdable);
        }
        sText = WithEncodingName(m_oDocument.Xml());
        RefuseUnreadable(sText, oTemplates);
    });
}

bool XmlHandler::Import(const std::string& sText, Templates& oTemplates)
{
    return common::Rethrowing(kModule, "Import", [&] {
        m_oDocument = px::Document();
        if (!m_oDocument.LoadXml(sText) &&
            m_oDocument.LastParseError().ErrorCode == px::ParseError::OutOfMemory)
            rt::Raise(rt::errors::OutOfMemory, {}, common::modLanguage::GetResString(kResNoMemory));
        FindRootNode();
        ReadVersion();
        common::modMain::G().g_lReportFileVersion = m_lVersion;
        if (!m_bHasReportList)
            return false;
        for (long i = 0; i < m_oReportList.Length(); ++i) {
            const px::Node oItem = m_oReportList.Item(i);
            bool bStopped = false;
            common::Logging(kModule, "Import", [&] {
                try {
                    if (oItem.Type() != px::NodeType::Element)
                        rt::Raise(rt::errors::TypeMismatch);
                    auto oView = std::make_shared<ViewSettings>();
                    oView->LoadPartly(oItem);
                    try {
                        oTemplates.Add(oView);
                    } catch (const rt::Error& e) {
                        // A duplicate name: the first template of a name wins, silently.
                        if (e.Number() != rt::errors::DuplicateKey)
                            throw;
                    }
                } catch (const rt::Error& e) {
                    // The runtime reports memory that ran out as error 7.
                    bStopped = e.Number() == rt::errors::OutOfMemory;
                    throw;
                } catch (const std::bad_alloc&) {
                    bStopped = true;
                    throw;
                } catch (const std::length_error&) {
                    bStopped = true;
                    throw;
                }
            });
            // Skipping on would drop every later template too, and a save would then write
            // the file without them.
            if (bStopped)
                rt::Raise(rt::errors::OutOfMemory, {},
                          common::modLanguage::GetResString(kResNoMemory));
        }
        return true;
    });
}

std::string XmlHandler::ImportFailure() const
{
    if (m_bHasReportList)
        return {};
    const px::ParseError& oError = m_oDocument.LastParseError();
    if (oError.ErrorCode == px::ParseError::None)
        return Message(kResNoReportsElement, {});
    if (oError.Line > 0)
        return Message(kResAtLine, {std::to_string(oError.Line), oError.Reason});
    return oError.Reason;
}

rt::Variant XmlHandler::GetNodeValue(const px::Node& oNode)
{
    if (!oNode)
        return {};
    rt::Variant vValue;
    rt::ResumeNext oSteps;
    oSteps([&] { vValue = rt::Variant(oNode.Text()); });
    return vValue;
}

rt::Variant XmlHandler::GetChildValue(const px::NodeList& oList, long lPosition)
{
    return GetNodeValue(oList.Item(lPosition));
}

} // namespace views
