#pragma once

#include <iosfwd>
#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>

namespace host {

/// A stream buffer that passes text on to another one with every control character shown as
/// an escape, as Escaped shows it: C0 but tab and line feed, DEL and bytes outside well-formed
/// UTF-8 as "\xNN", C1 as "\uNNNN". Whatever reaches the terminal through it can give the
/// terminal no order, whichever path of the host printed it; a carriage return in a name from
/// a file or the store is shown as "\x0D" too. The host's own progress line returns the
/// cursor through ReturnCursor alone. A character split over two writes is held until its last
/// byte comes; one left unfinished at the end is shown as its bytes' escapes. Every thread may
/// write through it (the run's end says on its own threads how it ended). A write that the
/// target refuses (a full disk, a closed pipe) fails the stream's writes from then on, so that
/// the stream tells it.
class EscapingStreamBuf : public std::streambuf
{
public:
    explicit EscapingStreamBuf(std::streambuf& target) : m_target(target) {}
    ~EscapingStreamBuf() override;
    EscapingStreamBuf(const EscapingStreamBuf&) = delete;
    EscapingStreamBuf& operator=(const EscapingStreamBuf&) = delete;

    /// Returns the terminal's cursor to the start of the line: a raw carriage return, after the
    /// bytes of a character left unfinished (shown as escapes).
    void ReturnCursor();

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    void Take(unsigned char byte);
    void Finish(const std::string& sBytes);
    void Write(const std::string& s);

    std::streambuf& m_target;
    std::mutex m_mutex;     // held by each write, also into m_target
    std::string m_sPending; // the first bytes of a character not yet complete
    bool m_bFailed = false; // the target refused a write
};

/// Writes the host's own carriage return into the stream (`out << ReturnCursor`): raw through
/// an EscapingStreamBuf, which shows every other carriage return as an escape.
std::ostream& ReturnCursor(std::ostream& out);

/// Puts an EscapingStreamBuf between a stream and its buffer for as long as it lives.
class EscapedStream
{
public:
    explicit EscapedStream(std::ostream& stream);
    ~EscapedStream();
    EscapedStream(const EscapedStream&) = delete;
    EscapedStream& operator=(const EscapedStream&) = delete;

private:
    std::ostream& m_stream;
    std::streambuf* m_pOld;
    EscapingStreamBuf m_buffer;
};

} // namespace host
