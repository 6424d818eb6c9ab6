#pragma once

#include <cstdint>
#include <string>

namespace common {

/// The older error object that the field catalogue and the printer library carry in place of
/// ErrorObject. It captures the error being handled and raises it again exactly as ErrorObject
/// does (the source chain grows by "; " and the procedure's source text; number 0 is raised as
/// 0x800A0000), but writes no log: an error that leaves one of these libraries is logged by the
/// add-in. The catalogue's and the printer library's own code use only CaptureError and
/// ReRaise (through Rethrowing).
class ErrorObjectOld
{
public:
    /// Raised in place of a captured error number 0.
    static constexpr std::int32_t kNumberForZero = static_cast<std::int32_t>(0x800A0000u);

    // Public read-only properties.

    /// "Software\Kestrova\" + the deliverable's application title + "\Settings\".
    std::string GetRegistryPath() const;
    const std::string& Description() const { return m_sDescription; }
    std::int32_t HelpContext() const { return m_lHelpContext; }
    const std::string& HelpFile() const { return m_sHelpFile; }
    std::int32_t LastDLLError() const { return m_lLastDLLError; }
    std::int32_t Number() const { return m_lNumber; }
    const std::string& Source() const { return m_sSource; }

    // Members internal to the deliverable.

    /// Snapshot of the error being handled (call inside a catch block), as
    /// ErrorObject::CaptureError: number, description, help file and context, last system
    /// error, and the source chain "<error's source>; <sSource>". Sets bFlag to true.
    void CaptureError(const std::string& sSource, bool& bFlag);
    /// Raises the captured error as the runtime's error type; number 0 becomes 0x800A0000.
    [[noreturn]] void ReRaise() const;
    /// Only CaptureError: this variant writes no log.
    void LogError(const std::string& sSource, bool& bFlag) { CaptureError(sSource, bFlag); }
    /// Forgets the captured error: numbers 0, texts empty.
    void Clear();
    void SetDescription(const std::string& sDescription) { m_sDescription = sDescription; }
    void SetHelpContext(std::int32_t lHelpContext) { m_lHelpContext = lHelpContext; }
    void SetHelpFile(const std::string& sHelpFile) { m_sHelpFile = sHelpFile; }
    void SetLastDLLError(std::int32_t lLastDLLError) { m_lLastDLLError = lLastDLLError; }
    void SetNumber(std::int32_t lNumber) { m_lNumber = lNumber; }
    void SetSource(const std::string& sSource) { m_sSource = sSource; }
    /// There is no log: always false.
    bool LogFileExists() const { return false; }
    /// There is no log: always the empty text.
    std::string GetLogFileName() const { return {}; }

private:
    std::int32_t m_lNumber = 0;
    std::string m_sSource;
    std::string m_sDescription;
    std::int32_t m_lHelpContext = 0;
    std::string m_sHelpFile;
    std::int32_t m_lLastDLLError = 0;
};

} // namespace common
