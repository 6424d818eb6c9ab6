#include "views/cMapiProps.h"

#include "common/Deliverable.h"
#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "common/modRedemption.h"
#include "platform/forms/Driver.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Folders.h"
#include "platform/mapi/Session.h"
#include "platform/mapi/Store.h"
#include "platform/mapi/Stores.h"
#include "platform/outlook/NameSpace.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "views/ViewSettings.h"

namespace views {

namespace rt = platform::runtime;
using fieldcatalogue::cField;
using fieldcatalogue::cFields;

namespace {

constexpr const char* kModule = "cMapiProps";
// A default folder the profile lacks (#0 which one), with no other folder of its kind and
// with one (#1 its name).
constexpr long kResNoDefaultFolder = 2381;
constexpr long kResStandInFolder = 2382;
constexpr int kExclamation = 48;

std::weak_ptr<cMapiProps>& RootCache()
{
    static std::weak_ptr<cMapiProps> oCache;
    return oCache;
}

// The kind of item a default folder holds by the client's numbers (journal 11: journal
// entries, tasks 13: tasks, calendar 9: appointments); -1 for the others.
long ItemTypeOfDefaultFolder(std::int32_t lFolderType)
{
    switch (lFolderType) {
    case 9:
        return 1;
    case 11:
        return 4;
    case 13:
        return 3;
    default:
        return -1;
    }
}

// The first folder below oParent, depth first in the store's order, that holds items of that
// kind; null when none does.
std::shared_ptr<platform::mapi::Folder>
FirstFolderHolding(const std::shared_ptr<platform::mapi::Folder>& oParent, long lItemType)
{
    const auto oChildren = oParent->GetFolders();
    for (const auto& oChild : *oChildren) {
        if (oChild->DefaultItemType() == lItemType)
            return oChild;
        if (auto oFound = FirstFolderHolding(oChild, lItemType))
            return oFound;
    }
    return nullptr;
}

std::shared_ptr<cField> Lookup(const std::shared_ptr<cFields>& oFields, const std::string& sKey)
{
    return oFields ? oFields->Item(rt::Variant(sKey)) : nullptr;
}

} // namespace

std::shared_ptr<cMapiProps> RootMapiProps()
{
    return RootCache().lock();
}

void SetRootMapiProps(std::shared_ptr<cMapiProps> oMapiProps)
{
    RootCache() = oMapiProps;
}

std::shared_ptr<cField> cMapiProps::FindField(const std::string& Key) const
{
    for (const auto* oFields : {&m_oAppointmentFields, &m_oJournalFields, &m_oTaskFields})
        if (auto oField = Lookup(*oFields, Key))
            return oField;
    if (m_colUserFields.Contains(Key))
        return m_colUserFields.Item(Key);
    return nullptr;
}

void cMapiProps::PrepareViewFields(ViewSettings& oView) const
{
    rt::ResumeNext oSteps;
    oSteps([&] {
        auto oFields = oView.Fields();
        for (std::int32_t i = oFields->Count(); i >= 1; --i) {
            oSteps([&] {
                if (!FindField(oFields->Item(rt::Variant(i))->Key()))
                    oFields->Remove(rt::Variant(i));
            });
        }
    });
    for (std::int32_t l = 0; l <= 2; ++l) {
        oSteps([&] {
            GroupBy* oGroup = oView.GroupByLevel(l);
            if (oGroup && oGroup->Apply() && !FindField(oGroup->ColKey))
                oGroup->SetApply(false);
        });
    }
    for (std::int32_t l = 0; l <= 2; ++l) {
        oSteps([&] {
            SortBy* oSort = oView.SortByLevel(l);
            if (oSort && oSort->Apply && !FindField(oSort->ColKey))
                oSort->Apply = false;
        });
    }
    oSteps([&] { oView.SortSettings(); });
}

std::shared_ptr<fieldcatalogue::Application> cMapiProps::Catalogue() const
{
    return m_fnCatalogue ? m_fnCatalogue() : nullptr;
}

void cMapiProps::LoadStandardProperties()
{
    common::Rethrowing(kModule, "LoadStandardProperties", [&](int& nLine) {
        nLine = 1;
        const auto oCatalogue = Catalogue();
        if (!oCatalogue)
            rt::Raise(rt::errors::ObjectNotSet);
        nLine = 2;
        auto oAppointments =
            oCatalogue->GetFields(common::modRedemption::g_Session()->GetDefaultFolder(9));
        nLine = 3;
        auto oJournal = oCatalogue->GetFields(TryDefFolder(11));
        nLine = 4;
        auto oTasks = oCatalogue->GetFields(TryDefFolder(13));
        m_oAppointmentFields = std::move(oAppointments);
        m_oJournalFields = std::move(oJournal);
        m_oTaskFields = std::move(oTasks);
    });
}

std::shared_ptr<platform::mapi::Folder> cMapiProps::TryDefFolder(std::int32_t lFolderType)
{
    std::shared_ptr<platform::mapi::Folder> oFolder;
    std::string sWhy;
    const bool bFound = common::Logging(
        kModule, "TryDefFolder",
        [&] { oFolder = common::modRedemption::g_Session()->GetDefaultFolder(lFolderType); },
        [&](common::ErrorObject& oError) { sWhy = oError.Description(); });
    if (bFound)
        return oFolder;
    const bool bFallback = common::Logging(kModule, "TryDefFolder", [&] {
        const auto& oNameSpace = common::modMain::G().g_oNameSpace;
        if (!oNameSpace)
            rt::Raise(rt::errors::ObjectNotSet);
        oFolder = common::modRedemption::GetRdoFolder(oNameSpace->GetDefaultFolder(lFolderType));
    });
    if (bFallback)
        return oFolder;
    // The profile has no such default folder. The built-in fields of a kind are the same in
    // every folder of that kind: another one of the default store gives them, so that the
    // templates keep their columns of that kind. Without one the catalogue stays empty. The
    // other catalogues, the templates and their folders are read all the same.
    std::shared_ptr<platform::mapi::Folder> oStandIn;
    common::Logging(kModule, "TryDefFolder", [&] {
        const auto oRoot = common::modRedemption::g_Session()->GetStores()->DefaultStore();
        oStandIn = FirstFolderHolding(oRoot->RootFolder(), ItemTypeOfDefaultFolder(lFolderType));
    });
    TellMissingFolder(lFolderType, sWhy, oStandIn ? oStandIn->Name() : std::string());
    return oStandIn;
}

void cMapiProps::TellMissingFolder(std::int32_t lFolderType, const std::string& sWhy,
                                   const std::string& sStandIn)
{
    // Every template load asks again; the user hears of it once.
    if (!m_setToldMissing.insert(lFolderType).second)
        return;
    const std::string sText =
        sStandIn.empty()
            ? common::ErrorObject::FillPlaceholders(
                  common::modLanguage::GetResString(kResNoDefaultFolder), {sWhy})
            : common::ErrorObject::FillPlaceholders(
                  common::modLanguage::GetResString(kResStandInFolder), {sWhy, sStandIn});
    platform::forms::MsgBox(sText, kExclamation, common::ThisDeliverable().sAppTitle);
}

void cMapiProps::LoadUserProperties(engine::FolderDataList& colFolders)
{
    m_colUserFields = FieldCollection();
    try {
        m_oCatalogue = Catalogue();
        cLimitedFolderLoop oLoop;
        oLoop.Init(this, m_lChunkSize);
        oLoop.LoopFolders(colFolders);
        m_oCatalogue.reset();
    } catch (...) {
        m_oCatalogue.reset();
        common::ErrorObject oError;
        bool bFlag = false;
        oError.LogError(common::SourceText(kModule, "LoadUserProperties", 0), bFlag);
        oError.ReRaise();
    }
}

void cMapiProps::CallFromLoopFolders(std::shared_ptr<platform::mapi::Folder>& F)
{
    if (!F || !m_oCatalogue)
        return;
    rt::ResumeNext oSteps;
    std::shared_ptr<cFields> oFields;
    oSteps([&] { oFields = m_oCatalogue->GetUserFields(F); });
    if (!oFields)
        return;
    for (std::int32_t i = 1; i <= oFields->Count(); ++i) {
        oSteps([&] {
            auto oField = oFields->Item(rt::Variant(i));
            // The first folder's field of a key is kept.
            if (oField && !m_colUserFields.Contains(oField->Key()))
                m_colUserFields.Add(oField, oField->Key());
        });
    }
}

void cMapiProps::Init(rt::Object* lParentPtr, const std::string&)
{
    m_pParent = lParentPtr;
}

} // namespace views
