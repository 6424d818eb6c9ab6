#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

namespace common {

/// The error handler's helper of every procedure: captures the error being handled, raises it
/// again to the caller with the procedure's source text added to the chain, or appends it to
/// the error log "error.txt" in the deliverable's data folder. One instance per handled error,
/// never shared.
class ErrorObject
{
public:
    /// The log never grows beyond this many characters: its newest ones are kept.
    static constexpr std::size_t kMaxLogChars = 102400;
    /// Raised in place of a captured error number 0.
    static constexpr std::int32_t kNumberForZero = static_cast<std::int32_t>(0x800A0000u);

    // Public read-only properties.

    /// The application title of this deliverable (names its data folder).
    std::string AppTitle() const;
    /// The folder of the log for sAppTitle (this deliverable's title when empty), ending
    /// with "/". Empty when the data folder cannot be found.
    std::string LogFilePath(const std::string& sAppTitle = {});
    const std::string& Description() const { return m_sDescription; }
    std::int32_t HelpContext() const { return m_lHelpContext; }
    const std::string& HelpFile() const { return m_sHelpFile; }
    std::int32_t LastDLLError() const { return m_lLastDLLError; }
    std::int32_t Number() const { return m_lNumber; }
    const std::string& Source() const { return m_sSource; }

    // Members internal to the deliverable.

    /// Snapshot of the error being handled (call inside a catch block): number, description,
    /// help file and context, last system error, and the source chain
    /// "<error's source>; <sSource>". An error without a source (one of the runtime's own)
    /// starts the chain with the deliverable's name. Sets bFlag to true.
    void CaptureError(const std::string& sSource, bool& bFlag);
    /// The same for a given exception.
    void CaptureError(const std::exception_ptr& pError, const std::string& sSource, bool& bFlag);
    /// Raises the captured error as the runtime's error type; number 0 becomes 0x800A0000.
    [[noreturn]] void ReRaise() const;
    /// CaptureError, then appends the log record to the error log. Never throws.
    void LogError(const std::string& sSource, bool& bFlag);
    /// The log record of the captured error: date and time, "  App: ", "  Msg: ", "  No : ",
    /// "  Src: " lines, each ended by CR LF, and one empty line.
    std::string FormatLogRecord() const;
    /// Writes sRecord to the log: appended while the log stays within kMaxLogChars
    /// characters, else the log is rewritten with its newest kMaxLogChars characters (the
    /// record included). Failures lose the record silently.
    void AppendToLog(const std::string& sRecord, bool bAppend);
    /// The message text of one of the system's own error numbers in the current language,
    /// its placeholders filled from vArgs. Never throws: a failure gives its description.
    std::string GetMessageText(std::int32_t lNumber, const std::vector<std::string>& vArgs = {});
    /// Replaces "#<i>" by vArgs[i] for i ascending (when the text has "#" and arguments were
    /// given), then every "|" by CR LF.
    static std::string FillPlaceholders(const std::string& sText,
                                        const std::vector<std::string>& vArgs = {});
    /// The same placeholders and line breaks filled in one pass over sText alone: an argument
    /// that holds "#1" or "|" itself (a name the user gave, a path) stays as it is. For texts
    /// whose arguments come from the user, where the step-by-step fill would rewrite them.
    static std::string FillPlaceholdersOnce(const std::string& sText,
                                            const std::vector<std::string>& vArgs = {});
    void SetDescription(const std::string& sDescription) { m_sDescription = sDescription; }
    void SetNumber(std::int32_t lNumber) { m_lNumber = lNumber; }
    /// The full path of the log file (empty when the data folder cannot be found).
    std::string GetLogFileName();
    /// Whether the log file exists; any failure gives false.
    bool LogFileExists();

private:
    void EnsureLogLocation();

    bool m_bLocated = false;
    std::string m_sLogFolder;
    std::string m_sLogFile;
    std::int32_t m_lNumber = 0;
    std::string m_sSource;
    std::string m_sDescription;
    std::int32_t m_lHelpContext = 0;
    std::string m_sHelpFile;
    std::int32_t m_lLastDLLError = 0;
};

} // namespace common
