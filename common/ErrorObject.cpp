#include "common/ErrorObject.h"

#include "common/Deliverable.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Error.h"
#include "platform/win/FileIo.h"

#include <filesystem>
#include <new>

namespace common {
namespace {

namespace rt = platform::runtime;

// Number of characters (code points) of UTF-8 text.
std::size_t CountChars(std::string_view sText)
{
    std::size_t n = 0;
    for (const char c : sText)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// The newest nChars characters of UTF-8 text.
std::string KeepLastChars(const std::string& sText, std::size_t nChars)
{
    std::size_t nHave = CountChars(sText);
    std::size_t nPos = 0;
    while (nHave > nChars && nPos < sText.size()) {
        ++nPos;
        while (nPos < sText.size() && (static_cast<unsigned char>(sText[nPos]) & 0xC0) == 0x80)
            ++nPos;
        --nHave;
    }
    return sText.substr(nPos);
}

void ReplaceAll(std::string& sText, std::string_view sWhat, std::string_view sWith)
{
    if (sWhat.empty())
        return;
    for (auto nPos = sText.find(sWhat); nPos != std::string::npos;
         nPos = sText.find(sWhat, nPos + sWith.size()))
        sText.replace(nPos, sWhat.size(), sWith);
}

// The current date and time in the user's short-date and time formats, as the runtime turns
// its Date and Time into text.
std::string LogTimestamp()
{
    return rt::CStr(rt::Variant(rt::Today())) + " " + rt::CStr(rt::Variant(rt::TimeNow()));
}

std::string ReadLogText(const std::string& sFile)
{
    auto sBytes = platform::win::readFileBytes(sFile);
    if (!sBytes)
        return {};
    if (sBytes->starts_with("\xEF\xBB\xBF"))
        sBytes->erase(0, 3);
    return *sBytes;
}

} // namespace

std::string ErrorObject::AppTitle() const
{
    return ThisDeliverable().sAppTitle;
}

std::string ErrorObject::LogFilePath(const std::string& sAppTitle)
{
    return modMain::GetDataPathFor(sAppTitle.empty() ? AppTitle() : sAppTitle);
}

void ErrorObject::EnsureLogLocation()
{
    if (m_bLocated)
        return;
    m_bLocated = true;
    m_sLogFolder = LogFilePath();
    m_sLogFile = m_sLogFolder.empty() ? std::string{} : m_sLogFolder + "error.txt";
}

void ErrorObject::CaptureError(const std::string& sSource, bool& bFlag)
{
    CaptureError(std::current_exception(), sSource, bFlag);
}

void ErrorObject::CaptureError(const std::exception_ptr& pError, const std::string& sSource,
                               bool& bFlag)
{
    bFlag = true;
    std::string sErrorSource;
    try {
        if (pError)
            std::rethrow_exception(pError);
        m_lNumber = 0;
        m_sDescription.clear();
        m_sHelpFile.clear();
        m_lHelpContext = 0;
        m_lLastDLLError = 0;
    } catch (const rt::Error& e) {
        m_lNumber = e.Number();
        m_sDescription = e.Description();
        m_sHelpFile = e.HelpFile();
        m_lHelpContext = e.HelpContext();
        m_lLastDLLError = e.LastDllError();
        sErrorSource = e.Source();
    } catch (const std::bad_alloc&) {
        m_lNumber = rt::errors::OutOfMemory;
        m_sDescription = std::string(rt::ErrorText(m_lNumber));
        m_sHelpFile.clear();
        m_lHelpContext = 0;
        m_lLastDLLError = 0;
    } catch (const std::exception& e) {
        // A failure of the C++ library below us: an internal error of the runtime.
        m_lNumber = 51;
        m_sDescription = e.what();
        m_sHelpFile.clear();
        m_lHelpContext = 0;
        m_lLastDLLError = 0;
    }
    // The runtime's own errors carry no source: the chain then starts with the project name.
    if (sErrorSource.empty())
        sErrorSource = ThisDeliverable().sName;
    m_sSource = sErrorSource + "; " + sSource;
}

void ErrorObject::ReRaise() const
{
    rt::Error oError(m_lNumber == 0 ? kNumberForZero : m_lNumber, m_sSource, m_sDescription,
                     m_sHelpFile, m_lHelpContext);
    oError.SetLastDllError(m_lLastDLLError);
    throw oError;
}

void ErrorObject::LogError(const std::string& sSource, bool& bFlag)
{
    CaptureError(sSource, bFlag);
    AppendToLog(FormatLogRecord(), true);
}

std::string ErrorObject::FormatLogRecord() const
{
    const std::string sCrLf = "\r\n";
    return LogTimestamp() + sCrLf + "  App: " + ThisDeliverable().sName + sCrLf +
           "  Msg: " + m_sDescription + sCrLf + "  No : " + std::to_string(m_lNumber) + sCrLf +
           "  Src: " + m_sSource + sCrLf + sCrLf;
}

void ErrorObject::AppendToLog(const std::string& sRecord, bool bAppend)
{
    try {
        EnsureLogLocation();
        if (m_sLogFile.empty())
            return;
        std::string sText = sRecord;
        const bool bExists = std::filesystem::is_regular_file(m_sLogFile);
        if (bAppend && bExists) {
            // Size and limit are both counted in characters of the file's text, so that the
            // limit still holds after the first rewrite.
            const std::string sOld = ReadLogText(m_sLogFile);
            if (CountChars(sOld) + CountChars(sRecord) > kMaxLogChars) {
                sText = KeepLastChars(sOld + sRecord, kMaxLogChars);
                bAppend = false;
            }
        }
        if (sText.empty())
            return;
        std::filesystem::create_directories(m_sLogFolder);
        if (bAppend)
            platform::win::appendToFile(m_sLogFile, sText);
        else
            platform::win::replaceFileContents(m_sLogFile, sText);
    } catch (...) {
        // The log is the last resort: a record that cannot be written is lost silently.
        return;
    }
}

std::string ErrorObject::GetMessageText(std::int32_t lNumber, const std::vector<std::string>& vArgs)
{
    try {
        const long lResID = static_cast<long>(lNumber) - ThisDeliverable().lErrorBase;
        return FillPlaceholders(modLanguage::GetResString(lResID), vArgs);
    } catch (const std::exception& e) {
        return e.what();
    }
}

std::string ErrorObject::FillPlaceholders(const std::string& sText,
                                          const std::vector<std::string>& vArgs)
{
    std::string sResult = sText;
    if (sResult.find('#') != std::string::npos)
        for (std::size_t i = 0; i < vArgs.size(); ++i)
            ReplaceAll(sResult, "#" + std::to_string(i), vArgs[i]);
    ReplaceAll(sResult, "|", "\r\n");
    return sResult;
}

std::string ErrorObject::FillPlaceholdersOnce(const std::string& sText,
                                              const std::vector<std::string>& vArgs)
{
    std::string sResult;
    sResult.reserve(sText.size());
    for (std::size_t i = 0; i < sText.size(); ++i) {
        const char ch = sText[i];
        const char chNext = i + 1 < sText.size() ? sText[i + 1] : '\0';
        if (ch == '#' && chNext >= '0' && chNext <= '9' &&
            static_cast<std::size_t>(chNext - '0') < vArgs.size()) {
            sResult += vArgs[static_cast<std::size_t>(chNext - '0')];
            ++i;
        } else if (ch == '|') {
            sResult += "\r\n";
        } else {
            sResult += ch;
        }
    }
    return sResult;
}

std::string ErrorObject::GetLogFileName()
{
    EnsureLogLocation();
    return m_sLogFile;
}

bool ErrorObject::LogFileExists()
{
    try {
        EnsureLogLocation();
        return !m_sLogFile.empty() && std::filesystem::is_regular_file(m_sLogFile);
    } catch (...) {
        return false;
    }
}

} // namespace common
