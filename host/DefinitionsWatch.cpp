#include "host/DefinitionsWatch.h"

#include "host/HostTexts.h"

#include <sys/stat.h>
#include <utility>

namespace host {

DefinitionsWatch::DefinitionsWatch(std::filesystem::path oFile) : m_oFile(std::move(oFile)) {}

bool DefinitionsWatch::FileState::operator==(const FileState& o) const
{
    return bExists == o.bExists && device == o.device && inode == o.inode && size == o.size &&
           changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
}

DefinitionsWatch::FileState DefinitionsWatch::StateNow() const
{
    FileState oState;
    struct stat oStat = {};
    if (::stat(m_oFile.c_str(), &oStat) != 0)
        return oState;
    oState.bExists = true;
    oState.device = oStat.st_dev;
    oState.inode = oStat.st_ino;
    oState.size = oStat.st_size;
    oState.changed = oStat.st_mtim;
    return oState;
}

void DefinitionsWatch::Begin()
{
    m_oBefore = StateNow();
    m_sWhy.clear();
}

void DefinitionsWatch::NoteNotWritten(const std::string& sFile, const std::string& sWhy)
{
    std::error_code ec;
    if (std::filesystem::equivalent(sFile, m_oFile, ec) || sFile == m_oFile.string()) {
        m_sWhy = sWhy;
        m_oUnkept = StateNow();
    }
}

void DefinitionsWatch::NoteNotRead(const std::string& sFile)
{
    std::error_code ec;
    if (std::filesystem::equivalent(sFile, m_oFile, ec) || sFile == m_oFile.string())
        m_bNotRead = true;
}

bool DefinitionsWatch::Kept() const
{
    return !m_oUnkept || !(StateNow() == *m_oUnkept);
}

std::string DefinitionsWatch::ClosedText()
{
    const FileState oNow = StateNow();
    if (oNow.bExists && !(oNow == m_oBefore))
        return Say(HostText::WindowClosed);
    m_oUnkept = oNow;
    // The writer's own words mostly name the file already.
    const std::string sFile = m_oFile.string();
    std::string sWhy = m_sWhy;
    if (sWhy.find(sFile) == std::string::npos) {
        while (!sWhy.empty() && (sWhy.back() == '.' || sWhy.back() == ' '))
            sWhy.pop_back();
        sWhy = Say(HostText::FileNotWritten,
                   {sFile, sWhy.empty() ? Say(HostText::NotWrittenReason) : sWhy});
    }
    return Say(HostText::ViewNotKept, {sWhy});
}

} // namespace host
