#include "actions/ExportHTML.h"

#include "actions/ActionSave.h"
#include "common/ErrorHandling.h"
#include "engine/ExportHtml.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"

#include <cmath>

namespace actions {

namespace rt = platform::runtime;
namespace forms = platform::forms;

namespace {

constexpr const char* kModule = "ExportHTML";
constexpr const char* kIconKey = "Icon";
constexpr const char* kTitle = "Kestrova - Outlook Tallyman";
constexpr const char* kNbsp = "&nbsp;";

// Cell texts are shown, never read as markup: "<" and ">", and "&" too, so that an item's
// literal "&amp;" or "&nbsp;" is shown as it stands, not as the character it names (the
// writer leaves references it finds as they are).
std::string Escaped(const std::string& sText)
{
    std::string sResult;
    sResult.reserve(sText.size());
    for (char ch : sText) {
        if (ch == '&')
            sResult += "&amp;";
        else if (ch == '<')
            sResult += "&lt;";
        else if (ch == '>')
            sResult += "&gt;";
        else
            sResult += ch;
    }
    return sResult;
}

std::string StyleOf(forms::Alignment eAlignment, long lPixels)
{
    const char* sAlign = "left";
    switch (eAlignment) {
    case forms::Alignment::CenterTop:
    case forms::Alignment::CenterCenter:
    case forms::Alignment::CenterBottom:
        sAlign = "center";
        break;
    case forms::Alignment::RightTop:
    case forms::Alignment::RightCenter:
    case forms::Alignment::RightBottom:
        sAlign = "right";
        break;
    default:
        break;
    }
    return std::string("style='text-align:") + sAlign + "; width:" + std::to_string(lPixels) +
           "px;'";
}

// A column the table shows: visible and given some width.
bool Shown(const forms::FlexGrid& fg, int c)
{
    return !fg.ColHidden(c) && fg.ColWidth(c) >= 1;
}

// Adds the column group; returns the table width in pixels, or -1 when no column qualifies.
long AddColGroups(engine::ExportHtml& oWriter, const forms::FlexGrid& fg)
{
    long lTableWidth = 0;
    int lCount = 0;
    for (int c = 0; c < fg.Cols(); ++c) {
        if (!Shown(fg, c) || fg.ColKey(c) == kIconKey)
            continue;
        ++lCount;
        const auto lPixels = std::lround(
            forms::Form::ScaleX(fg.ColWidth(c), forms::ScaleMode::Twips, forms::ScaleMode::Pixels));
        lTableWidth += lPixels;
        oWriter.AddColGroup(StyleOf(fg.ColAlignment(c), lPixels));
    }
    return lCount == 0 ? -1 : lTableWidth;
}

void AddCaptionRow(engine::ExportHtml& oWriter, const forms::FlexGrid& fg,
                   const std::string& sHeaderClass)
{
    oWriter.AddRow();
    for (int c = 1; c < fg.Cols(); ++c) {
        if (!Shown(fg, c))
            continue;
        std::string sText = Escaped(fg.TextMatrix(0, c));
        if (sText.empty())
            sText = kNbsp;
        // Column 1's caption also stands above the outline column.
        oWriter.AddCol(sText, c == 1 ? sHeaderClass + " colspan='2'" : sHeaderClass);
    }
}

void AddDataRow(engine::ExportHtml& oWriter, const forms::FlexGrid& fg, int r,
                const std::string& sCellClass)
{
    oWriter.AddRow();
    for (int c = 0; c < fg.Cols(); ++c) {
        if (!Shown(fg, c))
            continue;
        std::string sText = fg.TextMatrix(r, c);
        sText = sText.empty() ? std::string(kNbsp) : Escaped(sText);
        oWriter.AddCol(sText, sCellClass);
    }
}

void AddSubtotalRow(engine::ExportHtml& oWriter, const forms::FlexGrid& fg, int r,
                    const std::string& sClass)
{
    oWriter.AddRow();
    for (int c = 0; c < fg.Cols(); ++c) {
        if (c == 1 || !Shown(fg, c))
            continue;
        const std::string& sCell = fg.TextMatrix(r, c);
        std::string sText = rt::Trim(sCell).empty() ? std::string(kNbsp) : Escaped(sCell);
        // The subtotal label in the outline column also takes column 1's place.
        oWriter.AddCol(sText, c == 0 ? sClass + " colspan='2'" : sClass);
    }
}

} // namespace

void ExportHTML::Init(platform::runtime::Object* lParentPtr, const std::string&)
{
    common::ChildLink<ActionSave>::Init(lParentPtr);
}

void ExportHTML::Export(forms::FlexGrid& fg, const std::string& File, const rt::Variant&)
{
    common::Rethrowing(kModule, "IExport_Export", [&](int& nLine) {
        nLine = 10;
        const std::string sHeaderClass = "class='" + m_sClassPrefix + "columnheader'";
        const std::string sSubtotalStem = m_sClassPrefix + "subtotal_";
        const std::string sCellClass = "class='" + m_sClassPrefix + "cell'";
        ActionSave* oSave = Parent();
        if (!oSave)
            rt::Raise(rt::errors::ObjectNotSet);
        const bool bSubtotalsOnly = oSave->PrintSubtotalsOnly();

        nLine = 20;
        engine::ExportHtml oWriter;
        oWriter.Init(fg.Rows() - 1);
        oWriter.SetTitle(kTitle);
        std::string sHeader = oSave->ReplacePlaceholders(oSave->ReportHeader(), false, true);
        oWriter.SetHeader(sHeader);
        oWriter.SetFooter(oSave->ReplacePlaceholders(oSave->ReportFooter(), false, true));

        nLine = 30;
        const long lTableWidth = AddColGroups(oWriter, fg);
        if (lTableWidth < 0)
            return;
        oWriter.SetTableWidth(lTableWidth);
        AddCaptionRow(oWriter, fg, sHeaderClass);

        nLine = 40;
        const int aGroupCols[3] = {fg.ColIndex("g1"), fg.ColIndex("g2"), fg.ColIndex("g3")};
        int lLevel = 0;
        for (int r = 1; r < fg.Rows(); ++r) {
            if (!fg.IsSubtotal(r)) {
                if (!bSubtotalsOnly)
                    AddDataRow(oWriter, fg, r, sCellClass);
                continue;
            }
            // The level's number names the row's CSS class; an outline level that is no
            // group key's column keeps the previous subtotal row's number.
            const int lOutline = fg.RowOutlineLevel(r);
            if (lOutline == 0)
                lLevel = 0;
            for (int i = 0; i < 3; ++i) {
                if (aGroupCols[i] >= 0 && lOutline == aGroupCols[i])
                    lLevel = i + 1;
            }
            AddSubtotalRow(oWriter, fg, r,
                           "class='" + sSubtotalStem + std::to_string(lLevel) + "'");
        }

        nLine = 50;
        oWriter.Export(File, oSave->ReportTemplate());
    });
}

} // namespace actions
