#include "dialogs/frmFilter.h"

#include "common/ErrorHandling.h"
#include "common/modLabelControls.h"
#include "common/modMain.h"
#include "common/modOutlookCalendar.h"
#include "dialogs/detail/DialogCommon.h"
#include "dialogs/detail/DialogSupport.h"
#include "engine/Filter.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "views/ViewSettings.h"

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {
constexpr const char* kModule = "frmFilter";
constexpr int kUnloadByCloseBox = 0;
constexpr std::uint32_t kDisabledBack = 0xEFEFEF;
constexpr std::uint32_t kEnabledBack = 0xFFFFFF;
// The pickers' display setting: the short date.
constexpr int kShortDate = 1;
constexpr int kBetweenIndex = 6;
constexpr int kContainsIndex = 3;
constexpr int kEqualsIndex = 1;

// The entries of the date-field list and the date engine's field codes.
constexpr engine::trDateField kDateFields[] = {engine::trDateField{}, engine::trDueDate,
                                               engine::trStartDate, engine::trEndDate};
// The entries of the preset list, in list order, and the engine's presets.
constexpr engine::trTimeFilter kRanges[] = {
    engine::trTimeFromDate,      engine::trTimeToDate,       engine::trTimeFromToday,
    engine::trTimeToToday,       engine::trTimeLastSevenDays, engine::trTimeNextSevenDays,
    engine::trTimeBetween,       engine::trTimeYesterday,    engine::trTimeToday,
    engine::trTimeTomorrow,      engine::trTimeLastWeek,     engine::trTimeThisWeek,
    engine::trTimeNextWeek,      engine::trTimeLastMonth,    engine::trTimeThisMonth,
    engine::trTimeNextMonth,     engine::trTimeLastYear,     engine::trTimeThisYear,
    engine::trTimeNextYear};

engine::trDateField DateFieldOf(int lIndex)
{
    if (lIndex < 0 || lIndex >= static_cast<int>(std::size(kDateFields)))
        return engine::trDateField{};
    return kDateFields[lIndex];
}

engine::trTimeFilter RangeOf(int lIndex)
{
    if (lIndex < 0 || lIndex >= static_cast<int>(std::size(kRanges)))
        return engine::trTimeNone;
    return kRanges[lIndex];
}

int IndexOfRange(engine::trTimeFilter eRange)
{
    for (int i = 0; i < static_cast<int>(std::size(kRanges)); ++i)
        if (kRanges[i] == eRange)
            return i;
    return -1;
}

int IndexOfDateField(engine::trDateField eField)
{
    for (int i = 1; i < static_cast<int>(std::size(kDateFields)); ++i)
        if (kDateFields[i] == eField)
            return i;
    return -1;
}

// The client's first day of the week (0 none, 1 Sunday ... 7 Saturday) on the picker's scale
// (0 Monday ... 6 Sunday, -1 the system's default).
int PickerWeekStart(std::int32_t lFirstDay)
{
    if (lFirstDay < 1 || lFirstDay > 7)
        return -1;
    return lFirstDay == 1 ? 6 : lFirstDay - 2;
}

// A comparison list's choice as the engine's comparison; no selection is none.
engine::trCompareValue CompareOf(const pf::ComboBox& oList)
{
    return static_cast<engine::trCompareValue>(std::max(oList.ListIndex(), 0));
}

// A value list as typed: "," also separates; one leading and one trailing ";" are cut.
std::vector<std::string> ValuesOf(std::string s)
{
    if (!s.empty() && s.front() == ';')
        s.erase(0, 1);
    if (!s.empty() && s.back() == ';')
        s.pop_back();
    return rt::Split(s, ";");
}

void ShowError(common::ErrorObject& oError)
{
    detail::ShowErrorBox(oError);
}

// Layout in twips.
constexpr int kMargin = 120;
constexpr int kCaptionWidth = 1300;
constexpr int kListWidth = 1700;
constexpr int kTextWidth = 3000;
constexpr int kRowHeight = 315;
constexpr int kRowStep = 420;
} // namespace

frmFilter::frmFilter() : frmFilter(frmCatList::MasterlistReader{}) {}

frmFilter::frmFilter(frmCatList::MasterlistReader oMasterlistReader)
    : SectionDialog("frmFilter"), m_oMasterlistReader(std::move(oMasterlistReader))
{
    SetTag("2008");
    SetKeyPreview(true);
    CreateControls();
}

frmFilter::~frmFilter() = default;

void frmFilter::CreateControls()
{
    const char* aLabelTags[] = {"2024", "2029", "2235", "2236", "2030", "2237", "2037", "2025"};
    for (std::size_t i = 0; i < m_lbl.size(); ++i) {
        m_lbl[i] = Add<pf::Label>("lbl" + std::to_string(i));
        m_lbl[i]->SetTag(aLabelTags[i]);
    }
    int lTop = kMargin;
    const int lList = kMargin + kCaptionWidth;
    m_lbl[0]->Move(kMargin, lTop, kCaptionWidth, kRowHeight);
    m_cboDateField = Add<pf::ComboBox>("cboDateField");
    m_cboDateField->SetTag("2079,2053,2001,2002");
    m_cboDateField->Move(lList, lTop, kListWidth, kRowHeight);
    m_cboDateField->OnClick = [this] { EnableDateControls(); };
    m_cboDateRange = Add<pf::ComboBox>("cboDateRange");
    m_cboDateRange->SetTag("2089,2090,2238,2239,2054,2055,2011,2012,2013,2014,2015,2016,2017,"
                           "2018,2019,2020,2021,2022,2023");
    m_cboDateRange->Move(lList + kListWidth + kMargin, lTop, kTextWidth, kRowHeight);
    m_cboDateRange->OnClick = [this] { cboDateRange_Click(); };
    lTop += kRowStep;
    m_lbl[7]->Move(kMargin, lTop, kCaptionWidth, kRowHeight);
    m_dpFrom = Add<pf::DTPicker>("dpFrom");
    m_dpFrom->Move(lList, lTop, kListWidth, kRowHeight);
    m_dpFrom->OnChange = [this] { Picker_Change(true); };
    m_dpFrom->OnDropDown = [this] { Picker_DropDown(*m_dpFrom); };
    m_dpFrom->OnCloseUp = [this] { m_bPickerEntered = false; };
    m_lbl[6]->Move(lList + kListWidth + kMargin, lTop, kCaptionWidth / 2, kRowHeight);
    m_dpTo = Add<pf::DTPicker>("dpTo");
    m_dpTo->Move(lList + kListWidth + kMargin + kCaptionWidth / 2, lTop, kListWidth, kRowHeight);
    m_dpTo->OnChange = [this] { Picker_Change(false); };
    m_dpTo->OnDropDown = [this] { Picker_DropDown(*m_dpTo); };
    m_dpTo->OnCloseUp = [this] { m_bPickerEntered = false; };
    lTop += kRowStep;
    CreateConditionRows(lTop);
    m_cmdDeleteAll = Add<pf::CommandButton>("cmdDeleteAll");
    m_cmdDeleteAll->SetTag("2078");
    m_cmdDeleteAll->Move(kMargin, lTop, kListWidth, kRowHeight + 60);
    m_cmdDeleteAll->OnClick = [this] { cmdDeleteAll_Click(); };
    m_cmdOK = Add<pf::CommandButton>("cmdOK");
    m_cmdOK->SetTag("2027");
    m_cmdOK->Default = true;
    m_cmdOK->Move(lList + kListWidth + kMargin, lTop, kListWidth, kRowHeight + 60);
    m_cmdOK->OnClick = [this] { cmdOK_Click(); };
    m_cmdCancel = Add<pf::CommandButton>("cmdCancel");
    m_cmdCancel->SetTag("2028");
    m_cmdCancel->Cancel = true;
    m_cmdCancel->Move(lList + 2 * (kListWidth + kMargin), lTop, kListWidth, kRowHeight + 60);
    m_cmdCancel->OnClick = [this] { cmdCancel_Click(); };
    Move(0, 0, lList + 3 * (kListWidth + kMargin) + kMargin, lTop + kRowStep + 6 * kMargin);
}

void frmFilter::CreateConditionRows(int& lTop)
{
    const int lList = kMargin + kCaptionWidth;
    const int lText = lList + kListWidth + kMargin;
    const char* aTextNames[] = {"txtCats", "txtSubject", "txtContact", "txtCompany", "txtLocation"};
    // The row caption of each text condition: the categories button, then labels.
    pf::Control* aCaptions[] = {nullptr, m_lbl[1].get(), m_lbl[2].get(), m_lbl[3].get(),
                                m_lbl[5].get()};
    m_cmdCategories = Add<pf::CommandButton>("cmdCategories");
    m_cmdCategories->SetTag("2026");
    m_cmdCategories->OnClick = [this] { cmdCategories_Click(); };
    aCaptions[0] = m_cmdCategories.get();
    for (int i = 0; i < 5; ++i) {
        const auto u = static_cast<std::size_t>(i);
        aCaptions[u]->Move(kMargin, lTop, kCaptionWidth - 60, kRowHeight);
        m_cboCompare[u] = Add<pf::ComboBox>("cboCompare" + std::to_string(i));
        m_cboCompare[u]->SetTag("2079,2041,2042,2094,2095");
        m_cboCompare[u]->Move(lList, lTop, kListWidth, kRowHeight);
        m_cboCompare[u]->OnClick = [this, i] { cboCompare_Click(i); };
        m_txt[u] = Add<pf::TextBox>(aTextNames[u]);
        m_txt[u]->Move(lText, lTop, kTextWidth, kRowHeight);
        m_txt[u]->OnChange = [this, i] { txtCondition_Change(i); };
        m_txt[u]->OnGotFocus = [this, u] {
            common::modMain::SelectAllText(m_txt[u].get());
        };
        // Categories, contact and company join their values.
        const int lJoin = i == kCategories ? 0 : i == kContact ? 1 : i == kCompany ? 2 : -1;
        if (lJoin >= 0) {
            auto& oJoin = m_chkJoin[static_cast<std::size_t>(lJoin)];
            oJoin = Add<pf::CheckBox>("chkJoin" + std::to_string(lJoin));
            oJoin->SetTag("2060");
            oJoin->Move(lText + kTextWidth + kMargin, lTop, kListWidth, kRowHeight);
        }
        lTop += kRowStep;
    }
    m_lbl[4]->Move(kMargin, lTop, kCaptionWidth, kRowHeight);
    m_cboTaskStatus[0] = Add<pf::ComboBox>("cboTaskStatus0");
    m_cboTaskStatus[0]->SetTag("2079,2041,2042");
    m_cboTaskStatus[0]->Move(lList, lTop, kListWidth, kRowHeight);
    m_cboTaskStatus[0]->OnClick = [this] { cboTaskStatus0_Click(); };
    m_cboTaskStatus[1] = Add<pf::ComboBox>("cboTaskStatus1");
    m_cboTaskStatus[1]->SetTag("2031,2032,2033,2034,2035");
    m_cboTaskStatus[1]->Move(lText, lTop, kTextWidth, kRowHeight);
    lTop += kRowStep + kMargin;
}

pf::ComboBox& frmFilter::cboCompare(int Index) const
{
    if (Index < 0 || Index >= static_cast<int>(m_cboCompare.size()))
        rt::Raise(rt::errors::SubscriptOutOfRange, kModule);
    return *m_cboCompare[static_cast<std::size_t>(Index)];
}

pf::TextBox& frmFilter::txtCondition(int Index) const
{
    if (Index < 0 || Index >= static_cast<int>(m_txt.size()))
        rt::Raise(rt::errors::SubscriptOutOfRange, kModule);
    return *m_txt[static_cast<std::size_t>(Index)];
}

pf::CheckBox& frmFilter::chkJoin(int Index) const
{
    if (Index < 0 || Index >= static_cast<int>(m_chkJoin.size()))
        rt::Raise(rt::errors::SubscriptOutOfRange, kModule);
    return *m_chkJoin[static_cast<std::size_t>(Index)];
}

pf::ComboBox& frmFilter::cboTaskStatus(int Index) const
{
    if (Index < 0 || Index >= static_cast<int>(m_cboTaskStatus.size()))
        rt::Raise(rt::errors::SubscriptOutOfRange, kModule);
    return *m_cboTaskStatus[static_cast<std::size_t>(Index)];
}

void frmFilter::Form_Load()
{
    common::Logging(kModule, "Form_Load", [&](int& nLine) {
        nLine = 1;
        m_oOwnView = std::make_shared<views::ViewSettings>();
        m_oOwnView->Copy(EditedView());
        nLine = 2;
        PrepareControls();
        nLine = 5;
        const auto oFilter = m_oOwnView->Filter();
        if (!oFilter) {
            ShowDefaults();
            return;
        }
        nLine = 6;
        m_bLoading = true;
        ShowFilter(*oFilter);
        m_bLoading = false;
    }, [&](common::ErrorObject& oError) {
        m_bLoading = false;
        ShowError(oError);
    });
}

void frmFilter::PrepareControls()
{
    common::modLabelControls::LocalizeForm(*this);
    for (auto* pList : {m_cboDateField.get(), m_cboDateRange.get(), m_cboTaskStatus[0].get(),
                        m_cboTaskStatus[1].get()})
        common::modLabelControls::LocalizeComboItems(*pList);
    for (const auto& oList : m_cboCompare)
        common::modLabelControls::LocalizeComboItems(*oList);
    detail::SetDialogFontSize(*this);
    rt::ResumeNext ignore;
    for (auto* pPicker : {m_dpFrom.get(), m_dpTo.get()}) {
        ignore([&] {
            pPicker->SetFirstDayOfWeek(PickerWeekStart(common::modOutlookCalendar::FirstDayOfWeek()));
        });
        ignore([&] { pPicker->SetFormat(kShortDate); });
    }
}

void frmFilter::ShowDefaults()
{
    m_cboDateField->SetListIndex(0);
    m_cboDateRange->SetListIndex(0);
    m_dpFrom->SetValue(rt::Today());
    m_dpTo->SetValue(rt::Today());
    for (const auto& oJoin : m_chkJoin)
        oJoin->SetValue(0);
    for (const auto& oList : m_cboCompare)
        oList->SetListIndex(0);
    m_cboTaskStatus[1]->SetListIndex(0);
    m_cboTaskStatus[0]->SetListIndex(0);
}

void frmFilter::ShowFilter(const engine::Filter& oFilter)
{
    if (oFilter.FilterOnField() < 1) {
        m_cboDateField->SetListIndex(0);
        m_cboDateRange->SetListIndex(0);
        m_dpFrom->SetValue(rt::Today());
        m_dpTo->SetValue(rt::Today());
    } else {
        m_cboDateRange->SetListIndex(IndexOfRange(oFilter.RestrictTime()));
        if (const int lField = IndexOfDateField(oFilter.FilterOnField()); lField > 0)
            m_cboDateField->SetListIndex(lField);
        m_dpFrom->SetValue(oFilter.FromDate().Serial() == 0 ? rt::Today() : oFilter.FromDate());
        m_dpTo->SetValue(oFilter.ToDate().Serial() == 0 ? rt::Today() : oFilter.ToDate());
    }
    ShowListCondition(kCategories, 0, oFilter.CategoryAND(), oFilter.CategoryCount(),
                      oFilter.CategoryString(), oFilter.CategoryCompare());
    m_txt[kSubject]->SetText(oFilter.Subject());
    m_cboCompare[kSubject]->SetListIndex(oFilter.SubjectCompare());
    ShowListCondition(kContact, 1, oFilter.ContactAND(), oFilter.ContactCount(),
                      oFilter.ContactString(), oFilter.ContactCompare());
    ShowListCondition(kCompany, 2, oFilter.CompanyAND(), oFilter.CompanyCount(),
                      oFilter.CompanyString(), oFilter.CompanyCompare());
    m_txt[kLocation]->SetText(oFilter.Location());
    m_cboCompare[kLocation]->SetListIndex(oFilter.LocationCompare());
    m_cboTaskStatus[0]->SetListIndex(oFilter.TaskStatusCompare());
    m_cboTaskStatus[1]->SetListIndex(oFilter.TaskStatusCompare() != 0 ? static_cast<int>(oFilter.TaskStatus()) : 0);
}

void frmFilter::ShowListCondition(int Index, int lJoin, bool bAnd, long lCount,
                                  const std::string& sJoined, long lCompare)
{
    m_chkJoin[static_cast<std::size_t>(lJoin)]->SetValue(bAnd ? 1 : 0);
    if (lCount > 0)
        m_txt[static_cast<std::size_t>(Index)]->SetText(sJoined);
    // Set after the text, so that the stored comparison wins over the text's own coupling.
    m_cboCompare[static_cast<std::size_t>(Index)]->SetListIndex(static_cast<int>(lCompare));
}

void frmFilter::EnableDateControls()
{
    rt::ResumeNext ignore;
    ignore([&] {
        if (m_cboDateField->ListIndex() == 0) {
            m_cboDateRange->SetEnabled(false);
            m_dpFrom->SetEnabled(false);
            m_dpTo->SetEnabled(false);
            return;
        }
        m_cboDateRange->SetEnabled(true);
        const engine::trTimeFilter eRange = RangeOf(m_cboDateRange->ListIndex());
        const bool bFromOnly = eRange == engine::trTimeFromDate || eRange == engine::trTimeFromToday;
        const bool bToOnly = eRange == engine::trTimeToDate || eRange == engine::trTimeToToday;
        m_dpFrom->SetEnabled(!bToOnly);
        m_dpTo->SetEnabled(!bFromOnly);
    });
}

void frmFilter::cboDateRange_Click()
{
    EnableDateControls();
    if (m_bLoading)
        return;
    m_bLoading = true;
    rt::ResumeNext ignore;
    ignore([&] {
        if (m_dpTo->Value() < m_dpFrom->Value())
            m_dpTo->SetValue(m_dpFrom->Value());
    });
    ignore([&] {
        // The engine computes the preset's window on the private copy only.
        auto oFilter = m_oOwnView->Filter();
        oFilter->SetTimeCondition(DateFieldOf(m_cboDateField->ListIndex()),
                                  RangeOf(m_cboDateRange->ListIndex()), rt::Variant(m_dpFrom->Value()),
                                  rt::Variant(m_dpTo->Value()));
        if (oFilter->FromDate().Serial() > 0)
            m_dpFrom->SetValue(oFilter->FromDate());
        if (oFilter->ToDate().Serial() > 0)
            m_dpTo->SetValue(oFilter->ToDate());
    });
    m_bLoading = false;
}

void frmFilter::Picker_Change(bool bFromChanged)
{
    // A date set while the calendar is closed shows once the picker is entered again.
    if (!m_bPickerEntered)
        m_bRefreshPending = true;
    if (m_bLoading || RangeOf(m_cboDateRange->ListIndex()) == engine::trTimeNone)
        return;
    m_bLoading = true;
    rt::ResumeNext ignore;
    ignore([&] { m_cboDateRange->SetListIndex(kBetweenIndex); });
    ignore([&] {
        // The other picker follows, so that the window never ends before it starts.
        if (m_dpTo->Value() >= m_dpFrom->Value())
            return;
        if (bFromChanged)
            m_dpTo->SetValue(m_dpFrom->Value());
        else
            m_dpFrom->SetValue(m_dpTo->Value());
    });
    m_bLoading = false;
}

void frmFilter::Picker_DropDown(pf::DTPicker& oPicker)
{
    m_bPickerEntered = true;
    if (!m_bRefreshPending)
        return;
    m_bRefreshPending = false;
    rt::ResumeNext ignore;
    ignore([&] { oPicker.Refresh(); });
}

void frmFilter::cboTaskStatus0_Click()
{
    rt::ResumeNext ignore;
    ignore([&] {
        const bool bNone = m_cboTaskStatus[0]->ListIndex() == 0;
        m_cboTaskStatus[1]->SetEnabled(!bNone);
        m_cboTaskStatus[1]->SetBackColor(bNone ? kDisabledBack : kEnabledBack);
    });
}

void frmFilter::cboCompare_Click(int Index)
{
    if (m_bLoading)
        return;
    rt::ResumeNext ignore;
    ignore([&] {
        if (m_cboCompare[static_cast<std::size_t>(Index)]->ListIndex() <= 0)
            m_txt[static_cast<std::size_t>(Index)]->SetText({});
    });
}

void frmFilter::txtCondition_Change(int Index)
{
    rt::ResumeNext ignore;
    ignore([&] {
        auto& oList = *m_cboCompare[static_cast<std::size_t>(Index)];
        if (!m_txt[static_cast<std::size_t>(Index)]->Text().empty() && oList.ListIndex() <= 0)
            oList.SetListIndex(kContainsIndex);
    });
}

void frmFilter::cmdCategories_Click()
{
    common::Logging(kModule, "cmdCategories_Click", [&] {
        auto oList = m_oMasterlistReader ? std::make_unique<frmCatList>(m_oMasterlistReader)
                                         : std::make_unique<frmCatList>();
        const std::string sResult = oList->ShowForm(m_txt[kCategories]->Text());
        if (!oList->Confirmed)
            return;
        m_txt[kCategories]->SetText(sResult);
        if (m_cboCompare[kCategories]->ListIndex() == 0 && !sResult.empty())
            m_cboCompare[kCategories]->SetListIndex(kEqualsIndex);
    }, ShowError);
}

void frmFilter::cmdDeleteAll_Click()
{
    common::Logging(kModule, "cmdDeleteAll_Click", [&] {
        m_cboDateField->SetListIndex(0);
        for (std::size_t i = 0; i < m_cboCompare.size(); ++i) {
            m_cboCompare[i]->SetListIndex(0);
            m_txt[i]->SetText({});
        }
        m_cboTaskStatus[0]->SetListIndex(0);
    }, ShowError);
}

void frmFilter::cmdOK_Click()
{
    common::Logging(kModule, "cmdOK_Click", [&] {
        // The opener's view, not the private copy: only OK reaches it.
        const auto oTarget = EditedView().Filter();
        if (!oTarget)
            rt::Raise(rt::errors::ObjectNotSet, kModule, "The view has no filter.");
        // A condition's text reaches the report's file name and the page's header: it is
        // refused before the view takes any of it.
        for (const auto& oText : m_txt)
            detail::RefuseUnprintable(oText->Text(), oText.get());
        WriteConditions(*oTarget);
        Confirmed = true;
        Unload();
    }, ShowError);
}

void frmFilter::WriteConditions(engine::Filter& oTarget) const
{
    const engine::trDateField eField = DateFieldOf(m_cboDateField->ListIndex());
    const engine::trTimeFilter eRange =
        eField != 0 ? RangeOf(m_cboDateRange->ListIndex()) : engine::trTimeNone;
    oTarget.SetTimeCondition(eField, eRange, rt::Variant(m_dpFrom->Value()),
                             rt::Variant(m_dpTo->Value()));
    const auto listCondition = [&](int Index, int lJoin, auto setter) {
        const std::string s = rt::Replace(m_txt[static_cast<std::size_t>(Index)]->Text(), ",", ";");
        const engine::trCompareValue c =
            s.empty() ? engine::trnone : CompareOf(*m_cboCompare[static_cast<std::size_t>(Index)]);
        (oTarget.*setter)(c, ValuesOf(s), m_chkJoin[static_cast<std::size_t>(lJoin)]->Value() != 0);
    };
    const auto textCondition = [&](int Index, auto setter) {
        const std::string& s = m_txt[static_cast<std::size_t>(Index)]->Text();
        const engine::trCompareValue c =
            s.empty() ? engine::trnone : CompareOf(*m_cboCompare[static_cast<std::size_t>(Index)]);
        (oTarget.*setter)(c, s);
    };
    listCondition(kCategories, 0, &engine::Filter::SetCategoryCondition);
    textCondition(kSubject, &engine::Filter::SetSubjectCondition);
    listCondition(kContact, 1, &engine::Filter::SetContactCondition);
    listCondition(kCompany, 2, &engine::Filter::SetCompanyCondition);
    textCondition(kLocation, &engine::Filter::SetLocationCondition);
    oTarget.SetTaskStatusCondition(m_cboTaskStatus[0]->ListIndex(), m_cboTaskStatus[1]->ListIndex());
}

void frmFilter::cmdCancel_Click()
{
    Confirmed = false;
    rt::ResumeNext ignore;
    ignore([&] { Unload(); });
}

void frmFilter::Form_QueryUnload(int& /*Cancel*/, int UnloadMode)
{
    if (UnloadMode == kUnloadByCloseBox)
        Confirmed = false;
}

void frmFilter::Form_KeyDown(int& KeyCode, int /*Shift*/)
{
    detail::HandleHelpKey(KeyCode, "filter.html");
}

} // namespace dialogs
