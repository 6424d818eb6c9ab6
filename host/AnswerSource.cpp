#include "host/AnswerSource.h"

#include "host/HostTexts.h"
#include "host/RunEnd.h"

#include <algorithm>
#include <cstdlib>
#include <istream>
#include <limits>
#include <ostream>
#include <stdexcept>

namespace host {

namespace {

std::string Trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// The length of the well-formed UTF-8 sequence at s[at], or 0 when none starts there.
std::size_t SequenceLength(const std::string& s, std::size_t at)
{
    const auto byte = [&s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    std::size_t n = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        n = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (at + n > s.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = 2; i < n; ++i)
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    return n;
}

// The code point of the well-formed sequence of n bytes at s[at].
char32_t CodePoint(const std::string& s, std::size_t at, std::size_t n)
{
    const auto byte = [&s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    if (n == 1)
        return byte(at);
    char32_t cp = byte(at) & (0xFF >> (n + 1));
    for (std::size_t i = 1; i < n; ++i)
        cp = (cp << 6) | (byte(at + i) & 0x3F);
    return cp;
}

// Control characters (C0 but the tab, DEL, C1) and the two non-characters at the end of the
// first plane: no text of a report holds them, and a terminal takes the controls as orders.
bool IsControl(char32_t cp)
{
    return (cp < 0x20 && cp != '\t') || (cp >= 0x7F && cp <= 0x9F) || cp == 0xFFFE || cp == 0xFFFF;
}

std::string Hex(char32_t value, int nDigits)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out(static_cast<std::size_t>(nDigits), '0');
    for (int i = nDigits - 1; i >= 0; --i, value >>= 4)
        out[static_cast<std::size_t>(i)] = kHex[value & 0xF];
    return out;
}

// How an escaped character is shown: "\x1B" for a byte, "\u0085" for a longer sequence.
std::string Shown(char32_t cp, std::size_t n)
{
    return n == 1 ? "\\x" + Hex(cp, 2) : "\\u" + Hex(cp, 4);
}

// Escaped, and also the line feed when bKeepLineFeed is false.
std::string Escape(const std::string& s, bool bKeepLineFeed)
{
    std::string out;
    for (std::size_t at = 0; at < s.size();) {
        const auto c = static_cast<unsigned char>(s[at]);
        const std::size_t n = c < 0x80 ? 1 : SequenceLength(s, at);
        if (n == 0) {
            // A byte that is no text: shown, never sent raw.
            out += Shown(c, 1);
            ++at;
            continue;
        }
        const char32_t cp = CodePoint(s, at, n);
        if (IsControl(cp) && !(bKeepLineFeed && cp == '\n'))
            out += Shown(cp, n);
        else
            out.append(s, at, n);
        at += n;
    }
    return out;
}

// A refused text on one line, whatever it holds.
std::string Visible(const std::string& s)
{
    return Escape(s, false);
}

} // namespace

std::string Escaped(const std::string& s)
{
    return Escape(s, true);
}

std::optional<std::string> NonUtf8Refusal(const std::string& s)
{
    for (std::size_t at = 0; at < s.size();) {
        const auto c = static_cast<unsigned char>(s[at]);
        const std::size_t n = c < 0x80 ? 1 : SequenceLength(s, at);
        if (n == 0)
            return Say(HostText::NotUtf8, {Visible(s), Visible(s.substr(at, 1))});
        at += n;
    }
    return std::nullopt;
}

std::optional<std::string> TextRefusal(const std::string& s)
{
    if (auto oRefusal = NonUtf8Refusal(s))
        return oRefusal;
    for (std::size_t at = 0; at < s.size();) {
        // Well-formed here: NonUtf8Refusal found nothing.
        const std::size_t n = static_cast<unsigned char>(s[at]) < 0x80
                                  ? 1
                                  : std::max<std::size_t>(SequenceLength(s, at), 1);
        if (IsControl(CodePoint(s, at, n)))
            return Say(HostText::ControlCharacter, {Visible(s), Visible(s.substr(at, n))});
        at += n;
    }
    return std::nullopt;
}

LineRead ReadLine(std::istream& in, std::string& sLine, std::size_t nMax)
{
    sLine.clear();
    const std::istream::sentry oSentry(in, true);
    if (!oSentry)
        return LineRead::End;
    using Traits = std::istream::traits_type;
    auto* pBuffer = in.rdbuf();
    for (bool bAny = false;; bAny = true) {
        Traits::int_type c = Traits::eof();
        try {
            c = pBuffer->sbumpc();
        } catch (...) {
            // As the stream's own reads do: a failing source marks the stream bad.
            in.setstate(std::ios::badbit);
            return LineRead::End;
        }
        if (Traits::eq_int_type(c, Traits::eof())) {
            in.setstate(std::ios::eofbit);
            return bAny ? LineRead::Line : LineRead::End;
        }
        const char ch = Traits::to_char_type(c);
        if (ch == '\n')
            return LineRead::Line;
        if (sLine.size() >= nMax)
            return LineRead::TooLong;
        sLine += ch;
    }
}

void SkipLine(std::istream& in)
{
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
}

AnswerSource::AnswerSource(std::istream& in, std::ostream& out, std::string sFile, Fatal fnFatal,
                           int nWidth)
    : m_in(in), m_out(out), m_sFile(std::move(sFile)), m_fnFatal(std::move(fnFatal)),
      m_nWidth(nWidth)
{
}

std::optional<std::string> AnswerSource::Next()
{
    std::string sLine;
    while (true) {
        if (!Scripted())
            m_out << "> " << std::flush;
        const LineRead eRead = ReadLine(m_in, sLine);
        if (eRead == LineRead::End) {
            if (m_in.bad()) {
                // A read that failed is no end of the input: what was to come is unknown.
                m_fnFatal(Say(HostText::InputUnreadable));
                throw std::logic_error("the fatal handler returned");
            }
            if (!Scripted())
                m_out << "\n";
            return std::nullopt;
        }
        ++m_nLine;
        if (eRead == LineRead::TooLong) {
            // Refused whole: at the terminal its rest is passed unread, in an answers file
            // the refusal ends the run.
            if (!Scripted())
                SkipLine(m_in);
            Refuse(Say(HostText::LineTooLong, {std::to_string(kMaxLineBytes)}));
            continue;
        }
        // An editor may begin a text file with a byte-order mark: it is no part of a command.
        if (m_nLine == 1 && sLine.rfind("\xEF\xBB\xBF", 0) == 0)
            sLine.erase(0, 3);
        sLine = Trim(sLine);
        if (sLine.empty() || (Scripted() && sLine.front() == '#'))
            continue;
        if (const auto oRefusal = TextRefusal(sLine)) {
            Refuse(*oRefusal);
            continue;
        }
        if (Scripted())
            m_out << "> " << Escaped(sLine) << "\n";
        return sLine;
    }
}

std::string AnswerSource::Required(const std::string& sWaiting)
{
    if (auto sLine = Next())
        return *sLine;
    m_fnFatal(Scripted() ? Say(HostText::AnswersEnded, {m_sFile, sWaiting})
                         : Say(HostText::InputEnded, {sWaiting}));
    throw std::logic_error("the fatal handler returned");
}

void AnswerSource::Refuse(const std::string& sWhy)
{
    if (!Scripted()) {
        // Wrapped like every other line the host prints.
        m_out << WrapText(sWhy, m_nWidth);
        return;
    }
    m_fnFatal(Say(HostText::AnswersLine, {m_sFile, std::to_string(m_nLine), Escaped(sWhy)}));
    throw std::logic_error("the fatal handler returned");
}

AnswerSource::Fatal ExitWithMessage(std::ostream& out, std::ostream& err)
{
    return [&out, &err](const std::string& sMessage) {
        out << std::flush;
        err << "tallyman: " << sMessage << "\n" << std::flush;
        // The run ends here, the add-in in the middle of a command: the run's end undoes the
        // host's own changes and waits for the prints that were announced, then the process
        // leaves without unwinding through the add-in.
        if (auto* pEnd = RunEnd::Current())
            pEnd->Leave(ExitCode::InputFailed);
        std::_Exit(ToInt(ExitCode::InputFailed));
    };
}

} // namespace host
