#include "host/TerminalOutput.h"

#include "host/AnswerSource.h"

namespace host {

namespace {

// The bytes a UTF-8 sequence with this lead byte has; 0 for a byte no sequence starts with.
std::size_t LengthOfLead(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// Whether `byte` may follow the bytes of `sBegun` in a well-formed sequence (no overlong
// form, no surrogate, nothing beyond U+10FFFF).
bool MayFollow(const std::string& sBegun, unsigned char byte)
{
    const auto lead = static_cast<unsigned char>(sBegun[0]);
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (sBegun.size() == 1) {
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
        else if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    }
    return byte >= low && byte <= high;
}

} // namespace

EscapingStreamBuf::~EscapingStreamBuf()
{
    // What is left cannot be finished any more: its bytes are shown.
    const std::lock_guard lock(m_mutex);
    Write(Escaped(m_sPending));
    m_target.pubsync();
}

void EscapingStreamBuf::Write(const std::string& s)
{
    const auto n = static_cast<std::streamsize>(s.size());
    if (m_target.sputn(s.data(), n) != n)
        m_bFailed = true;
}

void EscapingStreamBuf::Finish(const std::string& sBytes)
{
    const auto c = static_cast<unsigned char>(sBytes[0]);
    // Most of what is printed is plain text.
    if (sBytes.size() == 1 && ((c >= 0x20 && c != 0x7F && c < 0x80) || c == '\t' || c == '\n')) {
        if (traits_type::eq_int_type(m_target.sputc(static_cast<char>(c)), traits_type::eof()))
            m_bFailed = true;
    } else
        Write(Escaped(sBytes));
}

void EscapingStreamBuf::Take(unsigned char byte)
{
    if (!m_sPending.empty()) {
        if (!MayFollow(m_sPending, byte)) {
            // The begun sequence is broken: its lead is shown, the rest taken anew.
            std::string sRest = m_sPending.substr(1) + static_cast<char>(byte);
            Finish(m_sPending.substr(0, 1));
            m_sPending.clear();
            for (char c : sRest)
                Take(static_cast<unsigned char>(c));
            return;
        }
        m_sPending += static_cast<char>(byte);
        if (m_sPending.size() == LengthOfLead(static_cast<unsigned char>(m_sPending[0]))) {
            Finish(m_sPending);
            m_sPending.clear();
        }
        return;
    }
    if (LengthOfLead(byte) > 0)
        m_sPending = static_cast<char>(byte);
    else
        Finish(std::string(1, static_cast<char>(byte)));
}

void EscapingStreamBuf::ReturnCursor()
{
    const std::lock_guard lock(m_mutex);
    Write(Escaped(m_sPending));
    m_sPending.clear();
    if (traits_type::eq_int_type(m_target.sputc('\r'), traits_type::eof()))
        m_bFailed = true;
}

EscapingStreamBuf::int_type EscapingStreamBuf::overflow(int_type ch)
{
    if (traits_type::eq_int_type(ch, traits_type::eof()))
        return traits_type::not_eof(ch);
    const std::lock_guard lock(m_mutex);
    Take(static_cast<unsigned char>(traits_type::to_char_type(ch)));
    return m_bFailed ? traits_type::eof() : ch;
}

std::streamsize EscapingStreamBuf::xsputn(const char* s, std::streamsize n)
{
    const std::lock_guard lock(m_mutex);
    for (std::streamsize i = 0; i < n; ++i)
        Take(static_cast<unsigned char>(s[i]));
    return m_bFailed ? 0 : n;
}

int EscapingStreamBuf::sync()
{
    const std::lock_guard lock(m_mutex);
    if (m_target.pubsync() != 0)
        m_bFailed = true;
    return m_bFailed ? -1 : 0;
}

std::ostream& ReturnCursor(std::ostream& out)
{
    // The stream has no buffer of its own: what was written before is in the escaping buffer's
    // target already, so the return comes in its place.
    if (auto* pEscaping = dynamic_cast<EscapingStreamBuf*>(out.rdbuf()))
        pEscaping->ReturnCursor();
    else
        out.put('\r');
    return out;
}

EscapedStream::EscapedStream(std::ostream& stream)
    : m_stream(stream), m_pOld(stream.rdbuf()), m_buffer(*m_pOld)
{
    m_stream.rdbuf(&m_buffer);
}

EscapedStream::~EscapedStream()
{
    m_stream.flush();
    m_stream.rdbuf(m_pOld);
}

} // namespace host
