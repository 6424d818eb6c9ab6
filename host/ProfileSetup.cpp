#include "host/ProfileSetup.h"

#include "host/HostTexts.h"
#include "platform/mapi/MsgFile.h"
#include "platform/runtime/FileFailure.h"
#include "platform/store/KnownProperties.h"
#include "platform/store/LocalTime.h"
#include "platform/store/Profile.h"
#include "platform/store/SampleProfile.h"
#include "platform/store/StoreError.h"
#include "platform/win/SpecialFolders.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <stdexcept>
#include <string>
#include <sys/statvfs.h>
#include <unistd.h>

namespace host {

namespace fs = std::filesystem;

fs::path SettingsFolder()
{
    // The add-in finds its data folder the same way (the platform's application-data folder),
    // so that both act on one reports.xml.
    const std::string sBase =
        platform::win::specialFolderPath(platform::win::SpecialFolder::ApplicationData);
    if (sBase.empty())
        throw std::runtime_error(Say(HostText::NoSettingsFolder));
    return fs::path(sBase) / "Kestrova" / "Tallyman";
}

fs::path SampleProfileFolder()
{
    return SettingsFolder() / "SampleProfile";
}

void MakeSettingsFolder()
{
    namespace rt = platform::runtime;
    const fs::path oFolder = SettingsFolder();
    std::error_code ec;
    fs::create_directories(oFolder, ec);
    if (ec || !fs::is_directory(oFolder, ec))
        throw std::runtime_error(
            Say(HostText::SettingsFolderUnusable,
                {oFolder.string(), rt::FileFailureText(ec ? ec.value() : ENOTDIR,
                                                       rt::FileAction::Create, oFolder.string())}));
    if (::access(oFolder.c_str(), W_OK | X_OK) != 0)
        throw std::runtime_error(
            Say(HostText::SettingsFolderUnusable,
                {oFolder.string(),
                 rt::FileFailureText(errno, rt::FileAction::Write, oFolder.string())}));
}

namespace {
platform::store::CivilDate Today()
{
    namespace st = platform::store;
    const auto now = st::UtcToLocal(st::SysTime{static_cast<std::int64_t>(std::time(nullptr))});
    return st::CivilFromDay(st::DayOf(now));
}
// A mail template for the report mails: a subject, a body with the report's placeholder and
// a recipient, in the language of the first run.
void WriteMailTemplate(const fs::path& oFile, const std::string& sLanguage)
{
    namespace st = platform::store;
    const bool bGerman = sLanguage == "de";
    const std::string sBody = bGerman ? "Hallo,\r\nanbei der Bericht: [@kestrova report]\r\n"
                                      : "Hello,\r\nplease find the report: [@kestrova report]\r\n";
    platform::mapi::MsgFileContent oMail;
    oMail.properties = {{st::props::PR_SUBJECT, st::PropValue{bGerman ? "Bericht" : "Report"}},
                        {st::props::PR_BODY, st::PropValue{sBody}},
                        {0x1009001E, st::PropValue{"{\\rtf1\\ansi " + sBody + "}"}}};
    oMail.recipients = {{st::RecipientType::To, "Team", "team@kestrova.example", true}};
    platform::mapi::WriteMsgFile(oFile.string(), oMail);
}

// Whether the process of that id has ended (a name that is no process id counts as alive: the
// folder is none of ours).
bool ProcessEnded(const std::string& sPid)
{
    if (sPid.empty() || sPid.size() > 9 ||
        sPid.find_first_not_of("0123456789") != std::string::npos)
        return false;
    return ::kill(static_cast<pid_t>(std::stol(sPid)), 0) != 0 && errno == ESRCH;
}

// A first start that was killed left its half-made profile beside the folder: those of ended
// processes go; one of a process still at work stays.
void RemoveDeadWork(const fs::path& oFolder)
{
    const std::string sPrefix = oFolder.filename().string() + ".new-";
    std::error_code ec;
    for (const auto& oEntry : fs::directory_iterator(oFolder.parent_path(), ec)) {
        const std::string sName = oEntry.path().filename().string();
        std::error_code ecRemove;
        if (sName.rfind(sPrefix, 0) == 0 && ProcessEnded(sName.substr(sPrefix.size())))
            fs::remove_all(oEntry.path(), ecRemove);
    }
}

// Moves the finished profile into its place; false when another first start was quicker and
// its profile stands there already.
bool MoveIntoPlace(const fs::path& oWork, const fs::path& oFolder)
{
    std::error_code ec;
    if (fs::is_directory(oFolder, ec) && fs::is_empty(oFolder, ec))
        fs::remove(oFolder, ec); // empty, as checked before; another start may fill it meanwhile
    fs::rename(oWork, oFolder, ec);
    if (!ec)
        return true;
    if (platform::store::Profile::Exists(oFolder))
        return false;
    throw fs::filesystem_error("rename", oWork, oFolder, ec);
}

// Why a file of a profile cannot serve, in the host's language; empty when nothing shows.
std::string FileProblem(const fs::path& oFile)
{
    namespace rt = platform::runtime;
    std::error_code ec;
    if (std::ifstream oIn(oFile, std::ios::binary); !oIn || fs::is_directory(oFile, ec))
        return rt::FileFailureText(fs::is_directory(oFile, ec) ? EISDIR : errno,
                                   rt::FileAction::Read, oFile.string());
    if (fs::file_size(oFile, ec) == 0 && !ec)
        return Say(HostText::ProfileFileEmpty, {oFile.string()});
    return {};
}

// The reason a file of a profile failed to open.
std::string OpenFailure(const fs::path& oFile)
{
    struct statvfs oSpace = {};
    if (::statvfs(oFile.parent_path().c_str(), &oSpace) == 0 && oSpace.f_bavail == 0)
        return platform::runtime::FileFailureText(ENOSPC, platform::runtime::FileAction::Write,
                                                  oFile.string());
    return Say(HostText::ProfileFileDamaged, {oFile.string()});
}

} // namespace

std::string FileSystemFailureText(const fs::filesystem_error& e)
{
    return platform::runtime::FileFailureText(e.code().value(),
                                              platform::runtime::FileAction::Create,
                                              (e.path2().empty() ? e.path1() : e.path2()).string());
}

void CheckProfileOpens(const fs::path& oFolder)
{
    namespace st = platform::store;
    fs::path oFile = oFolder / "profile.db";
    const auto fnRefuse = [&oFolder](const std::string& sWhy) {
        throw std::runtime_error(Say(HostText::ProfileNotOpened, {oFolder.string(), sWhy}));
    };
    try {
        // A file that is empty or unreadable is said so and never opened: opening would
        // change it.
        if (const std::string sWhy = FileProblem(oFile); !sWhy.empty())
            fnRefuse(sWhy);
        const auto oProfile = st::Profile::Open(oFolder);
        for (const auto& [sEntryId, sFileName] : oProfile->StoreFiles()) {
            oFile = oFolder / sFileName;
            if (const std::string sWhy = FileProblem(oFile); !sWhy.empty())
                fnRefuse(sWhy);
            oProfile->OpenStore(sEntryId);
        }
    } catch (const st::StoreError&) {
        fnRefuse(OpenFailure(oFile));
    }
}

fs::path SampleMailTemplate(const fs::path& oProfile)
{
    return oProfile / "Report.oft";
}

bool EnsureSampleProfile(const fs::path& oFolder, const fs::path& oDataFolder,
                         const std::string& sReportsXml, const std::string& sLanguage)
{
    // Also when another start has finished the profile meanwhile.
    RemoveDeadWork(oFolder);
    if (platform::store::Profile::Exists(oFolder))
        return false;
    if (fs::exists(oFolder) && !fs::is_empty(oFolder))
        throw std::runtime_error(Say(HostText::FolderHoldsOtherFiles, {oFolder.string()}));
    try {
        fs::create_directories(oFolder.parent_path());
    } catch (const fs::filesystem_error& e) {
        throw std::runtime_error(FileSystemFailureText(e));
    }
    const fs::path oWork =
        oFolder.parent_path() / (oFolder.filename().string() + ".new-" + std::to_string(getpid()));
    std::error_code ec;
    fs::remove_all(oWork, ec);
    try {
        platform::store::SampleProfileOptions oOptions;
        oOptions.anchor = Today();
        if (!sReportsXml.empty() && !oDataFolder.empty()) {
            oOptions.dataFolder = oDataFolder;
            oOptions.reportsXml = sReportsXml;
            oOptions.language = sLanguage;
        }
        platform::store::GenerateSampleProfile(oWork, oOptions);
        WriteMailTemplate(SampleMailTemplate(oWork), sLanguage);
        if (!MoveIntoPlace(oWork, oFolder)) {
            fs::remove_all(oWork, ec);
            return false;
        }
    } catch (const fs::filesystem_error& e) {
        fs::remove_all(oWork, ec);
        throw std::runtime_error(FileSystemFailureText(e));
    } catch (...) {
        fs::remove_all(oWork, ec);
        throw;
    }
    return true;
}

} // namespace host
