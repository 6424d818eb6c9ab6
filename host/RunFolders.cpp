#include "host/RunFolders.h"

#include "host/FolderPaths.h"
#include "host/HostTexts.h"
#include "platform/runtime/Error.h"
#include "platform/xml/Document.h"
#include "platform/xml/Node.h"

#include <exception>
#include <ostream>
#include <stdexcept>

namespace host {

namespace {

constexpr const char* kRoot = "RunFolders";
constexpr const char* kTemplate = "template";

// The template and the Folders element that a note holds, or nothing when it holds none.
std::optional<std::pair<std::string, std::string>> ReadNote(const std::filesystem::path& oNote)
{
    platform::xml::Document oDoc;
    if (!oDoc.Load(oNote.string()))
        return std::nullopt;
    const auto oRoot = oDoc.DocumentElement();
    const auto sTemplate = oRoot ? oRoot.GetAttribute(kTemplate) : std::nullopt;
    const auto oFolders = oRoot ? oRoot.FirstChild() : platform::xml::Node();
    if (!sTemplate || !oFolders || oFolders.NodeName() != "Folders")
        return std::nullopt;
    return std::pair{*sTemplate, oFolders.Xml()};
}

std::string Reason(const std::exception& e)
{
    if (const auto* pError = dynamic_cast<const platform::runtime::Error*>(&e))
        return pError->Description();
    return e.what();
}

} // namespace

RunFolders::RunFolders(std::filesystem::path oReports) : m_oReports(std::move(oReports)) {}

std::filesystem::path RunFolders::NoteFile(const std::filesystem::path& oReports)
{
    return oReports.parent_path() / (oReports.filename().string() + ".run-folders");
}

void RunFolders::Keep(const std::string& sTemplate)
{
    const auto oFolders = TemplateFolders(m_oReports, sTemplate);
    if (!oFolders)
        return;
    platform::xml::Document oNote;
    if (!oNote.LoadXml(std::string("<") + kRoot + ">" + *oFolders + "</" + kRoot + ">"))
        throw std::runtime_error(
            Say(HostText::FoldersNotNoted, {NoteFile(m_oReports).string(), "XML"}));
    oNote.DocumentElement().SetAttribute(kTemplate, sTemplate);
    try {
        oNote.Save(NoteFile(m_oReports).string());
    } catch (const std::exception& e) {
        throw std::runtime_error(
            Say(HostText::FoldersNotNoted, {NoteFile(m_oReports).string(), Reason(e)}));
    }
    std::lock_guard lock(m_mutex);
    m_sTemplate = sTemplate;
    m_sFolders = *oFolders;
}

void RunFolders::Release()
{
    std::lock_guard lock(m_mutex);
    if (!m_sTemplate)
        return;
    m_sTemplate.reset();
    std::error_code ec;
    std::filesystem::remove(NoteFile(m_oReports), ec);
}

bool RunFolders::PutBack(std::ostream& out)
{
    std::lock_guard lock(m_mutex);
    if (!m_sTemplate)
        return true;
    try {
        RestoreTemplateFolders(m_oReports, *m_sTemplate, m_sFolders);
    } catch (const std::exception& e) {
        out << Say(HostText::FoldersNotPutBack, {*m_sTemplate, Reason(e)}) << "\n";
        return false;
    }
    m_sTemplate.reset();
    std::error_code ec;
    std::filesystem::remove(NoteFile(m_oReports), ec);
    return true;
}

void RunFolders::Recover(const std::filesystem::path& oReports, std::ostream& out)
{
    const auto oNoteFile = NoteFile(oReports);
    std::error_code ec;
    if (!std::filesystem::exists(oNoteFile, ec))
        return;
    if (const auto oNote = ReadNote(oNoteFile)) {
        try {
            if (RestoreTemplateFolders(oReports, oNote->first, oNote->second))
                out << Say(HostText::FoldersPutBack, {oNote->first}) << "\n";
        } catch (const std::exception& e) {
            out << Say(HostText::FoldersNotPutBack, {oNote->first, Reason(e)}) << "\n";
            return;
        }
    }
    std::filesystem::remove(oNoteFile, ec);
}

} // namespace host
