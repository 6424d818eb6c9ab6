#include "host/RunFolders.h"

#include "host/FolderPaths.h"
#include "host/HostTexts.h"
#include "platform/runtime/Error.h"
#include "platform/xml/Document.h"
#include "platform/xml/Node.h"

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
constexpr const char* kRun = "Run";

// What a note holds: the template, its own Folders element and the run's (empty when the
// run's folders did not apply yet).
struct Note
{
    std::string sTemplate;
    std::string sFolders;
    std::string sRunFolders;
};

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
    const auto oRun = oFolders.NextSibling();
    if (oRun && oRun.NodeName() == kRun && oRun.FirstChild())
        oNoted.sRunFolders = oRun.FirstChild().Xml();
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
// template that holds the run's folders; none when neither is found.
std::optional<std::string> Follow(const std::filesystem::path& oReports, const Note& oNote)
{
    if (TemplateFolders(oReports, oNote.sTemplate))
        return oNote.sTemplate;
    if (oNote.sRunFolders.empty())
        return std::nullopt;
    const auto vNames = TemplatesWithFolders(oReports, oNote.sRunFolders);
    if (vNames.size() != 1)
        return std::nullopt;
    return vNames.front();
}

void WriteNote(const std::filesystem::path& oReports, const Note& oNote)
{
    const auto oFile = RunFolders::NoteFile(oReports);
    platform::xml::Document oDoc;
    const std::string sRun =
        oNote.sRunFolders.empty() ? "" : std::string("<") + kRun + ">" + oNote.sRunFolders + "</" + kRun + ">";
    if (!oDoc.LoadXml(std::string("<") + kRoot + ">" + oNote.sFolders + sRun + "</" + kRoot + ">"))
        throw std::runtime_error(Say(HostText::FoldersNotNoted, {oFile.string(), "XML"}));
    oDoc.DocumentElement().SetAttribute(kTemplate, oNote.sTemplate);
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
        WriteNote(m_oReports, {sTemplate, *oFolders, {}});
    } catch (...) {
        GiveBack(fd);
        throw;
    }
    std::lock_guard lock(m_mutex);
    GiveBack(m_fdLock);
    m_fdLock = fd;
    m_sTemplate = sTemplate;
    m_sFolders = *oFolders;
    m_sRunFolders.clear();
}

void RunFolders::Applied()
{
    Note oNote;
    {
        std::lock_guard lock(m_mutex);
        if (!m_sTemplate)
            return;
        oNote = {*m_sTemplate, m_sFolders, {}};
    }
    const auto oRun = TemplateFolders(m_oReports, oNote.sTemplate);
    if (!oRun || *oRun == oNote.sFolders)
        return;
    oNote.sRunFolders = *oRun;
    // Without them a renamed template is not found: the note then says so at the end.
    try {
        WriteNote(m_oReports, oNote);
    } catch (const std::exception&) {
        return;
    }
    std::lock_guard lock(m_mutex);
    if (m_sTemplate)
        m_sRunFolders = oNote.sRunFolders;
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
        oNote = {*m_sTemplate, m_sFolders, m_sRunFolders};
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
