#pragma once

#include <string>

namespace platform::win {

/// What became of a shell request: whether the program was started, and why not.
struct ShellResult
{
    /// True only when the program was started (and a launcher that reports on its work,
    /// such as the document opener or the print spooler, reported success).
    bool started = false;
    /// The errno-style code of the failure; 0 on success.
    int error = 0;
    /// A sentence on the failure for logs and messages; empty on success.
    std::string detail;

    explicit operator bool() const noexcept { return started; }
};

/// The host shell's verbs on files, without a command interpreter in between. A file name in
/// one pair of surrounding double quotes is taken without them. The host's program names
/// "notepad.exe" (the user's editor: $VISUAL, else $EDITOR, else the desktop's opener) and
/// "excel.exe" (the desktop's opener, which opens workbooks) can be run.
/// Implementations: ProcessShell (starts real programs) and RecordingShell (a test double).
class Shell
{
public:
    virtual ~Shell() = default;

    /// The "open" verb: opens a document (or a URL with a scheme, such as "mailto:") in the
    /// user's program for it, shown normally.
    virtual ShellResult openDocument(const std::string& file) = 0;

    /// The "print" verb: prints a document without showing a window.
    virtual ShellResult printDocument(const std::string& file) = 0;

    /// The default verb with parameters: runs a program with the parameters (a text in one
    /// pair of surrounding double quotes is one argument as it stands; other text is split
    /// into arguments as a command line is: blanks separate, double quotes group, \" is a
    /// quote); a document without parameters is opened. A program that cannot be started, or
    /// an opener that reports a failure, gives a failed result.
    virtual ShellResult run(const std::string& file, const std::string& parameters) = 0;
};

/// The shell the system uses: a process-wide ProcessShell, unless a ScopedShell put another
/// one in its place.
Shell& currentShell();

/// Puts a shell in the place of the current one for as long as it lives (for tests and the
/// host). The shell must outlive the scope. Scopes nest.
class ScopedShell
{
public:
    explicit ScopedShell(Shell& shell);
    ~ScopedShell();
    ScopedShell(const ScopedShell&) = delete;
    ScopedShell& operator=(const ScopedShell&) = delete;

private:
    Shell* previous_;
};

} // namespace platform::win
