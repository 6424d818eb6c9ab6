#pragma once

#include "host/TextFit.h"

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

namespace host {

/// Where a person's commands come from: the terminal, asked with a prompt, or an answers file
/// (`--answers FILE`, one command a line; blank lines and lines starting with "#" are
/// skipped). At the terminal a command that does not fit is explained and asked again; in an
/// answers file it ends the run, as does a missing answer, with a message naming the line.
class AnswerSource
{
public:
    /// Ends the run with a message; must not return (the host prints and exits; a test
    /// throws).
    using Fatal = std::function<void(const std::string& sMessage)>;

    /// Commands from `in`; `sFile` names the answers file, empty for the terminal; `nWidth`
    /// the columns that explanations are wrapped to.
    AnswerSource(std::istream& in, std::ostream& out, std::string sFile, Fatal fnFatal,
                 int nWidth = TerminalWidth());

    /// The next command, trimmed; nothing at the end of the input. At the terminal it
    /// prompts with "> "; from a file it echoes "> command" so that the run reads as a
    /// transcript. A line that TextRefusal refuses is refused (see Refuse), never handed on.
    std::optional<std::string> Next();
    /// The next command where one must come: the end of the input ends the run, saying what
    /// was waiting for an answer.
    std::string Required(const std::string& sWaiting);
    /// A command that does not fit: explained at the terminal (wrapped to its width); in a file
    /// it ends the run.
    void Refuse(const std::string& sWhy);
    /// Whether the commands come from an answers file.
    bool Scripted() const { return !m_sFile.empty(); }

private:
    std::istream& m_in;
    std::ostream& m_out;
    std::string m_sFile;
    Fatal m_fnFatal;
    int m_nLine = 0;
    int m_nWidth;
};

/// The longest line the host takes as a command, in bytes: room for any name or text a
/// person types (a template's name, a header, a path), short enough that a line without end
/// is never held in memory.
inline constexpr std::size_t kMaxLineBytes = 64 * 1024;

/// What ReadLine found.
enum class LineRead
{
    Line,    ///< a line, without its "\n" (the last one may lack it)
    TooLong, ///< a line longer than the bound: its first bytes are read, the rest is not
    End,     ///< the end of the input, nothing read
};

/// Reads the next line of `in` into `sLine`, holding at most `nMax` bytes of it. A line that
/// does not fit stops the read where it stops fitting: SkipLine passes its rest without
/// holding it. A NUL is a byte of the line like any other (TextRefusal refuses it), never the
/// end of the input; a source that fails leaves `in` bad, which no end of the input does.
LineRead ReadLine(std::istream& in, std::string& sLine, std::size_t nMax = kMaxLineBytes);

/// Passes the rest of the current line of `in`, its "\n" included, without holding it.
void SkipLine(std::istream& in);

/// The text with every character that is not printable text shown as an escape: a control
/// character of one byte (C0 but the tab and the line feed, DEL) and every byte outside
/// well-formed UTF-8 as "\xNN", a longer one (C1, U+FFFE, U+FFFF) as "\uNNNN". Whatever the
/// host prints from data or input goes through it, so that neither a store nor an answers file
/// can send the terminal an order (move the cursor, recolour, retitle).
std::string Escaped(const std::string& s);

/// The refusal of a text that is not well-formed UTF-8, naming its first byte that is none;
/// nothing for UTF-8 text. Text enters the host only as UTF-8, because what it reaches (the
/// report definitions above all) is read back as UTF-8.
std::optional<std::string> NonUtf8Refusal(const std::string& s);

/// The refusal of a text that a person may not give: one that is not UTF-8 (as
/// NonUtf8Refusal), or one that holds a control character (U+0000-U+001F but the tab,
/// U+007F-U+009F) or U+FFFE or U+FFFF, which the report definitions cannot hold and a terminal
/// would take as an order. Nothing for a text that may be taken.
std::optional<std::string> TextRefusal(const std::string& s);

/// The host's way to end a run: prints "tallyman: " and the message to `err`, flushes the
/// streams, runs the run's end (RunEnd: the host's changes undone, announced prints waited
/// for) and leaves the process with exit status 3, without unwinding through the add-in (its
/// own error handling must not take the failure for one of its own and carry on).
AnswerSource::Fatal ExitWithMessage(std::ostream& out, std::ostream& err);

} // namespace host
