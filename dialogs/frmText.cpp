#include "dialogs/frmText.h"

#include "actions/ActionSave.h"
#include "common/ErrorHandling.h"
#include "common/modLabelControls.h"
#include "dialogs/detail/DialogSupport.h"
#include "dialogs/frmAction.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"

#include <cstdint>

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {

constexpr const char* kModule = "frmText";
constexpr long kSemicolonMessage = 2254;

const detail::OwnTexts& Texts()
{
    static const detail::OwnTexts aTexts = {
        {2220, {" Kopf-/Fußzeile", " Header/Footer"}},
        {2221, {"&Kopfzeile", "&Header"}},
        {2222, {"&Fußzeile", "&Footer"}},
        {2223, {"Pla&tzhalter:", "&Placeholder:"}},
        {2224, {"Platzhalter &einfügen", "&Insert placeholder"}},
        {2251, {"&OK", "&OK"}},
        {2252, {"Abbrechen", "Cancel"}},
        {2253, {"Alles &löschen", "&Clear all"}},
        {kSemicolonMessage,
         {"Das Semikolon im Text dient als Trennzeichen für die linke, "
          "mittlere und rechte Kopf-/Fußzeile. "
          "Deswegen sind hier maximal zwei Semikolon im Text erlaubt.",
          "The semicolon is the delimiter for the left, "
          "the center, and the right header, or footer respectively. "
          "Hence not more than two semicolon are allowed here."}},
    };
    return aTexts;
}

// The stored marker, in any letter case and also in its XHTML spelling, as real line breaks.
std::string ShownText(const std::string& sStored)
{
    const std::string sText = rt::Replace(sStored, "<br>", "\r\n", 1, -1, rt::CompareMethod::Text);
    return rt::Replace(sText, "<br />", "\r\n", 1, -1, rt::CompareMethod::Text);
}

// Every kind of line break a text box may hold, as the stored marker.
std::string StoredText(const std::string& sShown)
{
    std::string sText = rt::Replace(sShown, "\r\n", "<br>");
    sText = rt::Replace(sText, "\n", "<br>");
    return rt::Replace(sText, "\r", "<br>");
}

bool IsWorkbookFormat(std::int32_t lFormat)
{
    return lFormat == 2 || lFormat == 4 || lFormat == 5;
}

// A workbook's header and footer have a left, a middle and a right part, divided at ";".
void CheckWorkbookParts(const std::string& sText, detail::OwnResources& oTexts)
{
    if (rt::Split(sText, ";").size() > 3)
        rt::Raise(kSemicolonMessage, {}, oTexts.GetResource(std::to_string(kSemicolonMessage)));
}

} // namespace

frmText::frmText()
    : Form("frmText"), m_oResources(std::make_unique<detail::OwnResources>(*this, Texts()))
{
    SetTag("2220");
    SetKeyPreview(true);
    for (int i = 0; i < 2; ++i) {
        m_lbl[i] = Add<pf::Label>("lbl(" + std::to_string(i) + ")");
        m_lbl[i]->SetTag(std::to_string(2221 + i));
        m_txt[i] = Add<pf::TextBox>("txt(" + std::to_string(i) + ")");
        m_txt[i]->OnGotFocus = [this, i] { txt_GotFocus(i); };
    }
    m_lblPlaceholder = Add<pf::Label>("lbl(8)");
    m_lblPlaceholder->SetTag("2223");
    m_cboPlaceholder = Add<pf::ComboBox>("cboPlaceholder");
    m_cboPlaceholder->SetTag("2195,2196,2198,2199,2200,2201");
    m_cmdAddPlaceholder = Add<pf::CommandButton>("cmdAddPlaceholder(1)");
    m_cmdAddPlaceholder->SetTag("2224");
    m_cmdOK = Add<pf::CommandButton>("cmdOK");
    m_cmdOK->SetTag("2251");
    m_cmdCancel = Add<pf::CommandButton>("cmdCancel");
    m_cmdCancel->SetTag("2252");
    m_cmdCancel->Cancel = true;
    m_cmdDeleteAll = Add<pf::CommandButton>("cmdDeleteAll");
    m_cmdDeleteAll->SetTag("2253");
    m_cmdOK->OnClick = [this] { cmdOK_Click(); };
    m_cmdCancel->OnClick = [this] { cmdCancel_Click(); };
    m_cmdDeleteAll->OnClick = [this] { cmdDeleteAll_Click(); };
    m_cmdAddPlaceholder->OnClick = [this] { cmdAddPlaceholder_Click(); };
    PlaceControls();
}

void frmText::PlaceControls()
{
    // Header and footer under their labels, the placeholder list with its insert button
    // below them; OK, Cancel and Clear all one above the other at the right.
    constexpr int kMargin = 120, kTextWidth = 5400, kButtonWidth = 1335, kButtonHeight = 375,
                  kStep = 480, kInsertWidth = 1935;
    int lTop = kMargin;
    for (int i = 0; i < 2; ++i) {
        m_lbl[i]->Move(kMargin, lTop, kTextWidth, 255);
        m_txt[i]->Move(kMargin, lTop + 255, kTextWidth, 315);
        lTop += 690;
    }
    m_lblPlaceholder->Move(kMargin, lTop, kTextWidth, 255);
    m_cboPlaceholder->Move(kMargin, lTop + 285, kTextWidth - kInsertWidth - kMargin, 315);
    m_cmdAddPlaceholder->Move(kMargin + kTextWidth - kInsertWidth, lTop + 255, kInsertWidth,
                              kButtonHeight);
    const int lButtons = 2 * kMargin + kTextWidth;
    m_cmdOK->Move(lButtons, kMargin + 255, kButtonWidth, kButtonHeight);
    m_cmdCancel->Move(lButtons, kMargin + 255 + kStep, kButtonWidth, kButtonHeight);
    m_cmdDeleteAll->Move(lButtons, kMargin + 255 + 2 * kStep, kButtonWidth, kButtonHeight);
    detail::SetClientSize(*this, lButtons + kButtonWidth + kMargin,
                          lTop + 255 + kButtonHeight + kMargin);
}

frmText::~frmText() = default;

frmAction* frmText::Parent() const
{
    return dynamic_cast<frmAction*>(m_pParent);
}

void frmText::Init(rt::Object* lParentPtr, const std::string& /*sKey*/)
{
    m_pParent = lParentPtr;
}

void frmText::Form_Load()
{
    common::Logging(
        kModule, "Form_Load",
        [&](int& nLine) {
            nLine = 1;
            common::modLabelControls::LocalizeResourceForm(*m_oResources);
            common::modLabelControls::LocalizeComboItems(*m_cboPlaceholder);
            nLine = 2;
            detail::SetDialogFontSize(*this);
            nLine = 3;
            Header = ShownText(Header);
            Footer = ShownText(Footer);
            nLine = 4;
            m_txt[0]->SetText(Header);
            m_txt[1]->SetText(Footer);
            // The header box is first in the tab order and so has the focus when the editor opens.
            m_pCurrent = m_txt[0].get();
        },
        detail::ShowError);
}

void frmText::txt_GotFocus(int Index)
{
    m_pCurrent = m_txt.at(Index).get();
}

void frmText::cmdAddPlaceholder_Click()
{
    common::Logging(
        kModule, "cmdAddPlaceholder_Click",
        [&] {
            const int lIndex = m_cboPlaceholder->ListIndex();
            if (lIndex == -1)
                return;
            if (!SaveAction)
                rt::Raise(rt::errors::ObjectNotSet);
            auto* pBox = m_pCurrent ? m_pCurrent : m_txt[0].get();
            // Appended at the end, wherever the caret is.
            pBox->SetText(pBox->Text() + SaveAction->GetPlaceholder(lIndex));
        },
        detail::ShowError);
}

void frmText::cmdDeleteAll_Click()
{
    rt::ResumeNext ignore;
    ignore([&] { m_txt[0]->SetText({}); });
    ignore([&] { m_txt[1]->SetText({}); });
}

void frmText::cmdOK_Click()
{
    common::Logging(
        kModule, "cmdOK_Click",
        [&](int& nLine) {
            nLine = 1;
            std::string sHeader = m_txt[0]->Text();
            std::string sFooter = m_txt[1]->Text();
            nLine = 2;
            detail::RefuseUnprintable(sHeader, m_txt[0].get(), true);
            detail::RefuseUnprintable(sFooter, m_txt[1].get(), true);
            if (!SaveAction)
                rt::Raise(rt::errors::ObjectNotSet);
            if (IsWorkbookFormat(SaveAction->ReportFormat())) {
                auto& oTexts = static_cast<detail::OwnResources&>(*m_oResources);
                CheckWorkbookParts(sHeader, oTexts);
                CheckWorkbookParts(sFooter, oTexts);
            }
            nLine = 3;
            // The members change only once the texts passed, so that a refused OK keeps them.
            Header = StoredText(sHeader);
            Footer = StoredText(sFooter);
            nLine = 4;
            Confirmed = true;
            Unload();
        },
        detail::ShowError);
}

void frmText::cmdCancel_Click()
{
    rt::ResumeNext ignore;
    Confirmed = false;
    ignore([&] { Unload(); });
}

void frmText::Form_QueryUnload(int& /*Cancel*/, int UnloadMode)
{
    if (UnloadMode == static_cast<int>(pf::UnloadMode::FormControlMenu))
        Confirmed = false;
}

void frmText::Form_KeyDown(int& KeyCode, int /*Shift*/)
{
    detail::HandleHelpKey(KeyCode, "action.html");
}

} // namespace dialogs
