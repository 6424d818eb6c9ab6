#include "host/RunFolders.h"

#include "host/FolderPaths.h"
#include "host/HostTexts.h"
#include "platform/runtime/Error.h"
#include "platform/xml/Document.h"
#include "platform/xml/Node.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <ostream>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace host {

namespace {

constexpr const char* kRoot = "RunFolders";
constexpr const char* kTemplate = "template";

// What a note holds: the template, its own Folders element and the names of the templates
// when the run began.
struct Note
{
    std::string sTemplate;
    std::string sFolders;
    std::vector<std::string> vNames;
};

constexpr const char* kNames = "Names";
constexpr const char* kName = "Name";

std::optional<Note> ReadNote(const std::filesystem::path& oNote)
{
    platform::xml::Document oDoc;
    if (!oDoc.Load(oNote.string()))
        return std::nullopt;
    const auto oRoot = oDoc.DocumentElement();
    const auto sTemplate = oRoot ? oRoot.GetAttribute(kTemplate) : std::nullopt;
    const auto oFolders = oRoot ? oRoot.FirstChild() : platform::xml::Node();
    if (!sTemplate || !oFolders || oFolders.NodeName() != "Folders")
        return std::nullopt;
    Note oNoted{*sTemplate, oFolders.Xml(), {}};
    for (auto oPart = oFolders.NextSibling(); oPart; oPart = oPart.NextSibling()) {
        if (oPart.NodeName() == kNames)
            for (auto oName = oPart.FirstChild(); oName; oName = oName.NextSibling())
                oNoted.vNames.push_back(oName.Text());
    }
    return oNoted;
}

std::string Reason(const std::exception& e)
{
    if (const auto* pError = dynamic_cast<const platform::runtime::Error*>(&e))
        return pError->Description();
    return e.what();
}

// The lock of a living run on the note, or -1 with nError: EWOULDBLOCK when another run
// holds it.
int TakeLock(const std::filesystem::path& oLock, int& nError)
{
    const int fd = ::open(oLock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    nError = errno;
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        nError = errno;
        ::close(fd);
        return -1;
    }
    return fd;
}

void GiveBack(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// The name the template of the note has now: its own, or, once renamed, that of the one
// template whose name is new since the run began (a rename takes one name and gives one);
// none when there is not exactly one.
std::optional<std::string> Follow(const std::filesystem::path& oReports, const Note& oNote)
{
    const auto vNow = TemplateNames(oReports);
    if (std::find(vNow.begin(), vNow.end(), oNote.sTemplate) != vNow.end())
        return oNote.sTemplate;
    std::vector<std::string> vNew;
    for (const auto& sName : vNow)
        if (std::find(oNote.vNames.begin(), oNote.vNames.end(), sName) == oNote.vNames.end())
            vNew.push_back(sName);
    if (vNew.size() != 1)
        return std::nullopt;
    return vNew.front();
}

void WriteNote(const std::filesystem::path& oReports, const Note& oNote)
{
    const auto oFile = RunFolders::NoteFile(oReports);
    platform::xml::Document oDoc;
    if (!oDoc.LoadXml(std::string("<") + kRoot + ">" + oNote.sFolders + "</" + kRoot + ">"))
        throw std::runtime_error(Say(HostText::FoldersNotNoted, {oFile.string(), "XML"}));
    auto oRoot = oDoc.DocumentElement();
    oRoot.SetAttribute(kTemplate, oNote.sTemplate);
    auto oNames = oRoot.AppendChild(oDoc.CreateElement(kNames));
    for (const auto& sName : oNote.vNames) {
        auto oName = oDoc.CreateElement(kName);
        oName.SetText(sName);
        oNames.AppendChild(oName);
    }
    try {
        oDoc.Save(oFile.string());
    } catch (const std::exception& e) {
        throw std::runtime_error(Say(HostText::FoldersNotNoted, {oFile.string(), Reason(e)}));
    }
}

// Puts the note's folders back; false, said on out, when they could not be.
bool Restore(const std::filesystem::path& oReports, const Note& oNote, std::ostream& out,
             bool bSayDone)
{
    const auto sNow = Follow(oReports, oNote);
    if (!sNow) {
        out << Say(HostText::FoldersNotPutBack, {oNote.sTemplate, Say(HostText::TemplateGone)})
            << "\n";
        return false;
    }
    try {
        if (RestoreTemplateFolders(oReports, *sNow, oNote.sFolders) && bSayDone)
            out << Say(HostText::FoldersPutBack, {*sNow}) << "\n";
    } catch (const std::exception& e) {
        out << Say(HostText::FoldersNotPutBack, {*sNow, Reason(e)}) << "\n";
        return false;
    }
    return true;
}

} // namespace

RunFolders::RunFolders(std::filesystem::path oReports) : m_oReports(std::move(oReports)) {}

RunFolders::~RunFolders()
{
    GiveBack(m_fdLock);
}

std::filesystem::path RunFolders::NoteFile(const std::filesystem::path& oReports)
{
    return oReports.parent_path() / (oReports.filename().string() + ".run-folders");
}

std::filesystem::path RunFolders::LockFile(const std::filesystem::path& oReports)
{
    return oReports.parent_path() / (oReports.filename().string() + ".lock");
}

void RunFolders::Keep(const std::string& sTemplate)
{
    const auto oFolders = TemplateFolders(m_oReports, sTemplate);
    if (!oFolders)
        return;
    int nError = 0;
    int fd = TakeLock(LockFile(m_oReports), nError);
    if (fd < 0 && nError == EWOULDBLOCK)
        throw std::runtime_error(Say(HostText::FoldersOfOtherRun, {NoteFile(m_oReports).string()}));
    if (fd < 0)
        throw std::runtime_error(Say(HostText::FoldersNotNoted, {LockFile(m_oReports).string(),
                                                                 std::strerror(nError)}));
    try {
        WriteNote(m_oReports, {sTemplate, *oFolders, TemplateNames(m_oReports)});
    } catch (...) {
        GiveBack(fd);
        throw;
    }
    std::lock_guard lock(m_mutex);
    GiveBack(m_fdLock);
    m_fdLock = fd;
    m_sTemplate = sTemplate;
    m_sFolders = *oFolders;
    m_vNames = TemplateNames(m_oReports);
}

void RunFolders::Release()
{
    std::lock_guard lock(m_mutex);
    if (!m_sTemplate)
        return;
    m_sTemplate.reset();
    std::error_code ec;
    std::filesystem::remove(NoteFile(m_oReports), ec);
    GiveBack(m_fdLock);
}

bool RunFolders::PutBack(std::ostream& out)
{
    Note oNote;
    {
        std::lock_guard lock(m_mutex);
        if (!m_sTemplate)
            return true;
        oNote = {*m_sTemplate, m_sFolders, m_vNames};
    }
    if (!Restore(m_oReports, oNote, out, false))
        return false;
    std::lock_guard lock(m_mutex);
    if (m_sTemplate) {
        m_sTemplate.reset();
        std::error_code ec;
        std::filesystem::remove(NoteFile(m_oReports), ec);
        GiveBack(m_fdLock);
    }
    return true;
}

void RunFolders::Recover(const std::filesystem::path& oReports, std::ostream& out)
{
    const auto oNoteFile = NoteFile(oReports);
    std::error_code ec;
    if (!std::filesystem::exists(oNoteFile, ec))
        return;
    // A note whose run still lives is that run's to put back.
    int nError = 0;
    int fd = TakeLock(LockFile(oReports), nError);
    if (fd < 0 && nError == EWOULDBLOCK)
        return;
    const auto oNote = ReadNote(oNoteFile);
    if (!oNote || Restore(oReports, *oNote, out, true))
        std::filesystem::remove(oNoteFile, ec);
    GiveBack(fd);
}

} // namespace host
