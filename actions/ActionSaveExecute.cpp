// The save action's run: file names with placeholders, the save, template and folder dialogs,
// the existing-file rules and the hand-over of the report grid to the writer of the format.
#include "actions/Action.h"
#include "actions/ActionSave.h"
#include "actions/ExportCSV.h"
#include "actions/ExportExcel.h"
#include "actions/ExportHTML.h"
#include "actions/ExportPDF.h"
#include "actions/IReportWindow.h"
#include "actions/detail/NotDone.h"
#include "actions/detail/SaveFileNames.h"
#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "common/Options.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "common/modRedemption.h"
#include "engine/ExportHtml.h"
#include "engine/Filter.h"
#include "engine/Records.h"
#include "platform/forms/CommonDialogs.h"
#include "platform/forms/Driver.h"
#include "platform/mapi/Session.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/DoEvents.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Utf8.h"
#include "platform/runtime/Variant.h"
#include "platform/win/FileComponent.h"
#include "shell/Application.h"
#include "views/Templates.h"
#include "views/ViewSettings.h"

#include <optional>

namespace actions {

using namespace detail;
namespace rt = platform::runtime;
namespace pf = platform::forms;

namespace {

constexpr const char* kModule = "ActionSave";
// "The file type #0 won't be supported." (text 20).
constexpr std::int32_t kUnsupportedFileType = -718605812;
// "No file was written ..." (text 9020).
constexpr long kNothingWrittenText = 9020;
// "The report was not saved: the file name ... holds the character ..." (text 9021).
constexpr long kControlInNameText = 9021;
constexpr int kHourglass = 11;
constexpr int kExclamation = 48;
// The placeholders in the order they are filled: category, date, period, user, subject, time.
constexpr std::int32_t kFillOrder[] = {1, 4, 0, 3, 2, 5};

views::ViewSettings* ViewOf(const ActionSave& oSave)
{
    auto* pAction = oSave.Parent();
    return pAction ? pAction->Parent() : nullptr;
}

IReportWindow* WindowOf(const ActionSave& oSave)
{
    auto* pView = ViewOf(oSave);
    auto* pTemplates = pView ? pView->Parent() : nullptr;
    return pTemplates ? dynamic_cast<IReportWindow*>(pTemplates->Parent()) : nullptr;
}

std::string PlaceholderValue(std::int32_t lIndex, const ActionSave& oSave)
{
    const auto filter = [&] {
        auto* pView = ViewOf(oSave);
        auto oFilter = pView ? pView->Filter() : nullptr;
        if (!oFilter)
            rt::Raise(rt::errors::ObjectNotSet);
        return oFilter;
    };
    switch (lIndex) {
    case 0:
        return rt::CStr(rt::Variant(filter()->FromDate())) + " - " +
               rt::CStr(rt::Variant(filter()->ToDate()));
    case 1:
        return filter()->CategoryString();
    case 2:
        return filter()->Subject();
    case 3:
        return rt::Trim(common::modRedemption::g_Session()->CurrentUserName());
    case 4:
        return rt::CStr(rt::Variant(rt::Today()));
    default:
        return rt::Format(rt::Variant(rt::Now()), "Short Time");
    }
}

// The class prefix of the HTML page, as the add-in's settings give it.
std::string HtmlClassPrefix()
{
    std::string sPrefix = "tlv_";
    rt::ResumeNext ignore;
    ignore([&] {
        if (auto* pApp = common::modMain::G().g_oApplication; pApp && pApp->AddinOptions())
            sPrefix = pApp->AddinOptions()->PrefixHtmlClass();
    });
    return sPrefix;
}

// The writer of a format, its parent link set to the save action.
std::unique_ptr<IExport> CreateExport(ActionSave& oSave, IReportWindow& oWindow)
{
    const std::int32_t lFormat = oSave.ReportFormat();
    if (lFormat == kCsv) {
        auto oExport = std::make_unique<ExportCSV>();
        oExport->AsIChild().Init(&oSave, {});
        return oExport;
    }
    if (lFormat == kHtml) {
        auto oExport = std::make_unique<ExportHTML>();
        oExport->AsIChild().Init(&oSave, {});
        oExport->SetClassPrefix(HtmlClassPrefix());
        return oExport;
    }
    if (lFormat == kPdf) {
        auto oExport = std::make_unique<ExportPDF>();
        oExport->AsIChild().Init(&oSave, {});
        return oExport;
    }
    if (lFormat != kXls && lFormat != kXlsx && lFormat != kXlsm)
        rt::Raise(rt::errors::InvalidProcedureCall);
    auto* pView = ViewOf(oSave);
    if (!pView)
        rt::Raise(rt::errors::ObjectNotSet);
    auto oExport = std::make_unique<ExportExcel>();
    oExport->AsIChild().Init(&oSave, {});
    oExport->SetColumns(pView->Fields(), pView->HasBooleanGrouping());
    oExport->SetRecords(oWindow.ReportRecords());
    return oExport;
}

// What a file looked like before the save, to tell whether the writer wrote it. The time alone
// cannot tell: a file replaced within the clock's resolution keeps its time, but the writers
// replace through a new file, which the file system tells apart.
std::optional<platform::win::FileVersion> Stamp(const std::string& sFile)
{
    return platform::win::FileComponent().fileVersion(sFile);
}

bool WrittenSince(const std::string& sFile,
                  const std::optional<platform::win::FileVersion>& tBefore)
{
    const auto tNow = Stamp(sFile);
    return tNow && (!tBefore || *tNow != *tBefore);
}

// Whether the file name holds a character no file name can hold (the settings' check is
// bypassed by a placeholder's value, a name typed into the file dialog, a template file edited
// by hand): then it is told, and nothing is written, so that nothing is mailed or printed
// under that name either.
bool RefusedName(const std::string& sFile)
{
    const auto oFound = rt::FirstNameRefusedCharacter(sFile);
    if (!oFound)
        return false;
    const std::string sWhy = common::ErrorObject::FillPlaceholders(
        common::modLanguage::GetResString(kControlInNameText),
        {rt::NameRefusedCharactersMarked(sFile), oFound->shown});
    // A save the person asked for that saves nothing: the run's end says so too.
    TellNotDone(rt::NameRefusedCharactersMarked(sFile), sWhy);
    pf::MsgBox(sWhy, kExclamation);
    return true;
}

// Puts the window's pointer back whatever way the save ends.
class PointerGuard
{
public:
    explicit PointerGuard(IReportWindow* pWindow) : m_pWindow(pWindow) {}
    PointerGuard(const PointerGuard&) = delete;
    PointerGuard& operator=(const PointerGuard&) = delete;
    ~PointerGuard()
    {
        if (!m_pWindow)
            return;
        rt::ResumeNext ignore;
        ignore([&] { m_pWindow->SetReportMousePointer(0); });
        ignore([] { rt::DoEvents(); });
    }

private:
    IReportWindow* m_pWindow;
};

} // namespace

std::string ActionSave::ReplacePlaceholders(const std::string& sText, bool bFileName,
                                            bool bKeepBr) const
{
    std::string sResult = sText;
    rt::ResumeNext ignore;
    for (const std::int32_t lIndex : kFillOrder) {
        ignore([&] {
            const std::string sPlaceholder = GetPlaceholder(lIndex);
            if (rt::InStr(sResult, sPlaceholder, rt::CompareMethod::Text) == 0)
                return;
            std::string sValue = PlaceholderValue(lIndex, *this);
            // The page's header and footer are markup: a value is text to show.
            if (bKeepBr && !bFileName)
                engine::ExportHtml::EncodeHtml(sValue);
            sResult = rt::Replace(sResult, sPlaceholder, sValue);
        });
    }
    if (bFileName) {
        for (const char* s : {"/", "\\", ":", "?", "\"", "<", ">", "|"})
            sResult = rt::Replace(sResult, s, "_");
    } else if (!bKeepBr) {
        sResult = rt::Replace(sResult, "<br>", "\r\n");
    }
    return sResult;
}

void ActionSave::Execute()
{
    TellingFailure([&] {
        IReportWindow* pWindow = nullptr;
        std::optional<PointerGuard> oPointer;
        common::Rethrowing(kModule, "Execute", [&](int& nLine) {
            nLine = 10;
            m_sSavedAs.clear();
            pWindow = WindowOf(*this);
            if (!pWindow)
                rt::Raise(rt::errors::ObjectNotSet);
            oPointer.emplace(pWindow);
            const auto oRecords = pWindow->ReportRecords();
            if (!oRecords || oRecords->Count() == 0)
                return;

            nLine = 20;
            platform::win::FileComponent oFiles;
            std::string sFolder = rt::Trim(m_sPath);
            const std::string sName = ReplacePlaceholders(m_sFilename, true, false);
            if (sFolder.empty() || sName.empty())
                m_lAction = 0;
            common::modMain::AddBackslash(sFolder);

            nLine = 30;
            // The settings as they are and with the placeholders' values: the text functions
            // would make bytes that are not UTF-8 into replacement characters unseen.
            if (RefusedName(sFolder + m_sFilename) || RefusedName(sFolder + sName))
                return;
            std::string sFile;
            if (m_lAction == 0) {
                sFile = ShowDialog(sFolder, sName);
            } else {
                if (!oFiles.folderExists(sFolder))
                    oFiles.createFolder(sFolder);
                sFile = sFolder + sName + ExtensionOf(m_lReportFormat);
                if (oFiles.fileExists(sFile))
                    sFile = m_lReportExists == 0 ? ShowDialog(sFolder, sName) : EditFileName(sFile);
            }
            if (sFile.empty() || RefusedName(sFile))
                return;

            nLine = 40;
            auto oExport = CreateExport(*this, *pWindow);
            const auto tBefore = Stamp(sFile);
            pWindow->SetReportMousePointer(kHourglass);
            rt::DoEvents();

            nLine = 50;
            oExport->Export(pWindow->ReportGrid(), sFile);
            // The open, print, send and delete actions work on SavedAs: it names only a file this
            // save wrote.
            if (WrittenSince(sFile, tBefore)) {
                m_sSavedAs = sFile;
            } else {
                const std::string sWhy = common::ErrorObject::FillPlaceholders(
                    common::modLanguage::GetResString(kNothingWrittenText), {sFile});
                TellNotDone(sFile, sWhy);
                pf::MsgBox(sWhy, kExclamation);
            }
        });
    });
}

std::string ActionSave::ShowDialog(const std::string& sFolder, const std::string& sName)
{
    return common::Rethrowing(kModule, "ShowDialog", [&](int& nLine) -> std::string {
        nLine = 10;
        pf::FileDialog::Request oRequest;
        oRequest.kind = pf::DialogKind::SaveFile;
        oRequest.initialFolder = sFolder;
        // The name as the file will be called: a name with dots of its own (a date, a version)
        // would otherwise seem to bring its type along. No name is offered as none, not as a
        // bare extension.
        oRequest.initialName = sName.empty() ? sName : sName + ExtensionOf(m_lReportFormat);
        oRequest.filters = SaveFilters(m_lReportFormat, common::modOLVersion::GetOutlookVersion());
        oRequest.languageId = common::modLanguage::GetLanguageID();
        oRequest.firstOption = m_lReportExists == 0;
        oRequest.secondOption = true;
        const std::string sFile = pf::ShowFileDialog(oRequest).path;
        rt::DoEvents();
        if (sFile.empty())
            return {};

        nLine = 20;
        const std::string sExtension = platform::win::FileComponent().extension(sFile);
        const auto lFormat = FormatOfExtension(sExtension);
        if (!lFormat) {
            common::ErrorObject oText;
            throw rt::Error(kUnsupportedFileType, {},
                            oText.GetMessageText(kUnsupportedFileType, {sExtension}));
        }
        if (*lFormat != m_lReportFormat) {
            // The view's template was made for its old format; a page needs one, so HTML
            // takes the add-in's own.
            m_sReportTemplate.clear();
            m_lReportFormat = *lFormat;
            if (m_lReportFormat == kHtml)
                SetDefaultHTMLTemplate();
        }
        return sFile;
    });
}

std::string ActionSave::EditFileName(const std::string& sFile) const
{
    return common::Rethrowing(kModule, "EditFileName", [&]() -> std::string {
        if (m_lReportExists == 2)
            return sFile;
        platform::win::FileComponent oFiles;
        const std::string sFolder = oFiles.parentFolder(sFile);
        const std::string sName = oFiles.fileName(sFile);
        if (m_lReportExists == 4) {
            // Two saves within one second would make the same name: the second one numbers.
            const std::string sStamped = sFolder + TimeStampedName(sName);
            if (!oFiles.fileExists(sStamped))
                return sStamped;
        }
        // Running number, also for a rule this version does not know: no rule but the
        // user's choice to overwrite replaces an existing report.
        return sFolder + GetNextFileName(oFiles, sName, sFolder);
    });
}

void ActionSave::PickPath()
{
    common::Rethrowing(kModule, "PickPath", [&] {
        pf::FolderDialog::Request oRequest;
        oRequest.root = 0;
        oRequest.initialFolder = m_sPath;
        oRequest.title = GetResource("2000");
        oRequest.prompt = GetResource("2001");
        const std::string sFolder = pf::ShowFolderDialog(oRequest);
        if (!sFolder.empty())
            SetPath(sFolder);
    });
}

void ActionSave::PickTemplate()
{
    common::Rethrowing(kModule, "PickTemplate", [&] {
        const auto aFilters =
            TemplateFilters(m_lReportFormat, common::modOLVersion::GetOutlookVersion());
        if (aFilters.empty())
            return;
        platform::win::FileComponent oFiles;
        pf::FileDialog::Request oRequest;
        oRequest.kind = pf::DialogKind::OpenFile;
        if (TemplateFits(m_lReportFormat, oFiles.extension(m_sReportTemplate))) {
            oRequest.initialFolder = oFiles.parentFolder(m_sReportTemplate);
            oRequest.initialName = oFiles.fileName(m_sReportTemplate);
        }
        oRequest.filters = aFilters;
        oRequest.languageId = common::modLanguage::GetLanguageID();
        oRequest.firstOption = true;
        const std::string sFile = pf::ShowFileDialog(oRequest).path;
        if (!sFile.empty() && TemplateFits(m_lReportFormat, oFiles.extension(sFile)))
            m_sReportTemplate = sFile;
    });
}

std::string ActionSave::GetResource(const std::string& Tag) const
{
    if (Tag.empty() || Tag.find_first_not_of("0123456789") != std::string::npos || Tag.size() > 6)
        return {};
    switch (std::stol(Tag) + common::modLanguage::GetLanguageOffset()) {
    case 2000:
        return "Verzeichnis";
    case 2001:
        return "Bitte wählen Sie ein Verzeichnis:";
    case 12000:
        return "Directory";
    case 12001:
        return "Please select a directory:";
    default:
        return {};
    }
}

} // namespace actions
