#include "host/AnswerSource.h"

#include <cstdlib>
#include <istream>
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

} // namespace

AnswerSource::AnswerSource(std::istream& in, std::ostream& out, std::string sFile, Fatal fnFatal)
    : m_in(in), m_out(out), m_sFile(std::move(sFile)), m_fnFatal(std::move(fnFatal))
{
}

std::optional<std::string> AnswerSource::Next()
{
    std::string sLine;
    while (true) {
        if (!Scripted())
            m_out << "> " << std::flush;
        if (!std::getline(m_in, sLine)) {
            if (!Scripted())
                m_out << "\n";
            return std::nullopt;
        }
        ++m_nLine;
        sLine = Trim(sLine);
        if (sLine.empty() || (Scripted() && sLine.front() == '#'))
            continue;
        if (Scripted())
            m_out << "> " << sLine << "\n";
        return sLine;
    }
}

std::string AnswerSource::Required(const std::string& sWaiting)
{
    if (auto sLine = Next())
        return *sLine;
    m_fnFatal(Scripted() ? "the answers file " + m_sFile + " ended while " + sWaiting +
                               " waited for an answer"
                         : "the input ended while " + sWaiting + " waited for an answer");
    throw std::logic_error("the fatal handler returned");
}

void AnswerSource::Refuse(const std::string& sWhy)
{
    if (!Scripted()) {
        m_out << sWhy << "\n";
        return;
    }
    m_fnFatal("the answers file " + m_sFile + ", line " + std::to_string(m_nLine) + ": " + sWhy);
    throw std::logic_error("the fatal handler returned");
}

AnswerSource::Fatal ExitWithMessage(std::ostream& out, std::ostream& err)
{
    return [&out, &err](const std::string& sMessage) {
        out << std::flush;
        err << "tallyman: " << sMessage << "\n" << std::flush;
        std::_Exit(3);
    };
}

} // namespace host
