#include "host/FolderPaths.h"

#include "host/AddInLibrary.h"
#include "host/HostTexts.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/ReplacingFile.h"
#include "platform/xml/Document.h"
#include "platform/xml/Node.h"
#include "platform/xml/NodeList.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

namespace host {

namespace pf = platform::forms;

namespace {

// The picker's window and its controls, as the add-in names them.
constexpr const char* kPickerForm = "frmDialog";
constexpr const char* kTree = "fg";

// The folder name a tree row shows: " Name" for a store, " Name (count)" for a folder.
std::string RowName(const pf::FlexGrid& oTree, int lRow)
{
    std::string sText = oTree.TextMatrix(lRow, 0);
    if (!sText.empty() && sText.front() == ' ')
        sText.erase(0, 1);
    if (oTree.RowOutlineLevel(lRow) == 0 || sText.empty() || sText.back() != ')')
        return sText;
    const auto nOpen = sText.rfind(" (");
    if (nOpen == std::string::npos)
        return sText;
    for (std::size_t i = nOpen + 2; i + 1 < sText.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(sText[i])))
            return sText;
    return sText.substr(0, nOpen);
}

// The row of sName among the rows directly under lParent (-1: the stores), or none.
std::optional<int> ChildRow(const pf::FlexGrid& oTree, int lParent, const std::string& sName)
{
    const int lLevel = lParent < 0 ? 0 : oTree.RowOutlineLevel(lParent) + 1;
    for (int r = lParent + 1; r < oTree.Rows(); ++r) {
        const int lRowLevel = oTree.RowOutlineLevel(r);
        if (lRowLevel < lLevel)
            break;
        if (lRowLevel == lLevel && RowName(oTree, r) == sName)
            return r;
    }
    return std::nullopt;
}

// The paths of the folders directly under lParent (-1: the stores), each after sPrefix.
std::string ChildPaths(const pf::FlexGrid& oTree, int lParent, const std::string& sPrefix)
{
    const int lLevel = lParent < 0 ? 0 : oTree.RowOutlineLevel(lParent) + 1;
    std::string sPaths;
    for (int r = lParent + 1; r < oTree.Rows(); ++r) {
        const int lRowLevel = oTree.RowOutlineLevel(r);
        if (lRowLevel < lLevel)
            break;
        if (lRowLevel == lLevel && !RowName(oTree, r).empty())
            sPaths += (sPaths.empty() ? "\"" : ", \"") + sPrefix + RowName(oTree, r) + "\"";
    }
    return sPaths;
}

// The row of the path, or the folders the person could have meant where it went astray.
std::optional<int> FindPath(pf::FlexGrid& oTree, const std::vector<std::string>& vNames,
                            std::string& sChoices)
{
    int lRow = -1;
    std::string sPrefix;
    for (const auto& sName : vNames) {
        // The folder's subfolders are read when it is expanded, as a person would see them.
        if (lRow >= 0 && oTree.IsCollapsed(lRow) == pf::OutlineState::Collapsed)
            oTree.UserToggleNode(lRow);
        const auto oChild = ChildRow(oTree, lRow, sName);
        if (!oChild) {
            sChoices = ChildPaths(oTree, lRow, sPrefix);
            return std::nullopt;
        }
        lRow = *oChild;
        sPrefix += sName + "/";
    }
    return lRow;
}

void Click(pf::Form& oWindow, const char* sButton)
{
    auto* pButton = dynamic_cast<pf::CommandButton*>(oWindow.FindControl(sButton).get());
    if (!pButton)
        throw std::runtime_error(std::string("the folder picker has no button ") + sButton);
    pButton->Click();
}

// The Folders element of the template sName in a report definitions document, or a null node.
platform::xml::Node FoldersOf(const platform::xml::Document& oDoc, const std::string& sName)
{
    const auto oReports = oDoc.DocumentElement().GetElementsByTagName("Report");
    for (long i = 0; i < oReports.Length(); ++i) {
        const auto oReport = oReports.Item(i);
        for (auto oChild = oReport.FirstChild(); oChild; oChild = oChild.NextSibling())
            if (oChild.NodeName() == "Name" && oChild.Text() == sName)
                for (auto oPart = oReport.FirstChild(); oPart; oPart = oPart.NextSibling())
                    if (oPart.NodeName() == "Folders")
                        return oPart;
    }
    return {};
}

} // namespace

std::optional<std::string> TemplateFolders(const std::filesystem::path& oFile,
                                           const std::string& sName)
{
    platform::xml::Document oDoc;
    if (!oDoc.Load(oFile.string()))
        return std::nullopt;
    const auto oFolders = FoldersOf(oDoc, sName);
    if (!oFolders)
        return std::nullopt;
    return oFolders.Xml();
}

std::vector<std::string> TemplateNames(const std::filesystem::path& oFile)
{
    std::vector<std::string> vNames;
    platform::xml::Document oDoc;
    if (!oDoc.Load(oFile.string()))
        return vNames;
    const auto oReports = oDoc.DocumentElement().GetElementsByTagName("Report");
    for (long i = 0; i < oReports.Length(); ++i)
        for (auto oPart = oReports.Item(i).FirstChild(); oPart; oPart = oPart.NextSibling())
            if (oPart.NodeName() == "Name") {
                vNames.push_back(oPart.Text());
                break;
            }
    return vNames;
}

std::vector<std::string> TemplateSaveFolders(const std::filesystem::path& oFile)
{
    std::vector<std::string> vFolders;
    platform::xml::Document oDoc;
    if (!oDoc.Load(oFile.string()))
        return vFolders;
    const auto oSaves = oDoc.DocumentElement().GetElementsByTagName("ActionSave");
    for (long i = 0; i < oSaves.Length(); ++i)
        for (auto oPart = oSaves.Item(i).FirstChild(); oPart; oPart = oPart.NextSibling())
            if (oPart.NodeName() == "Path" && !oPart.Text().empty() &&
                std::find(vFolders.begin(), vFolders.end(), oPart.Text()) == vFolders.end())
                vFolders.push_back(oPart.Text());
    return vFolders;
}

bool RestoreTemplateFolders(const std::filesystem::path& oFile, const std::string& sName,
                            const std::string& sFoldersXml)
{
    platform::xml::Document oDoc;
    platform::xml::Document oKept;
    if (!oDoc.Load(oFile.string()) || !oKept.LoadXml(sFoldersXml))
        return false;
    auto oFolders = FoldersOf(oDoc, sName);
    if (!oFolders || oFolders.Xml() == sFoldersXml)
        return false;
    while (auto oChild = oFolders.FirstChild())
        oFolders.RemoveChild(oChild);
    for (auto oChild = oKept.DocumentElement().FirstChild(); oChild; oChild = oChild.NextSibling())
        oFolders.AppendChild(oChild);
    // The file keeps its own declaration and whatever stands around its root element, so that
    // it reads byte for byte as the add-in wrote it, the folders apart.
    std::ifstream oIn(oFile, std::ios::binary);
    const std::string sOld{std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
    const auto oRoot = oDoc.DocumentElement();
    const std::string sEndTag = "</" + oRoot.NodeName() + ">";
    auto nStart = sOld.find("<" + oRoot.NodeName());
    while (nStart != std::string::npos &&
           std::string(" \t\r\n/>")
                   .find(sOld[std::min(sOld.size() - 1, nStart + 1 + oRoot.NodeName().size())]) ==
               std::string::npos)
        nStart = sOld.find("<" + oRoot.NodeName(), nStart + 1);
    const auto nEnd = sOld.rfind(sEndTag);
    if (nStart == std::string::npos || nEnd == std::string::npos || nEnd < nStart) {
        oDoc.Save(oFile.string());
        return true;
    }
    platform::runtime::ReplacingFile oNew(oFile.string(), "RestoreTemplateFolders");
    oNew.Write(sOld.substr(0, nStart) + oRoot.Xml() + sOld.substr(nEnd + sEndTag.size()));
    oNew.Commit();
    return true;
}

std::vector<std::string> SplitFolderPath(const std::string& sPath)
{
    std::vector<std::string> vNames(1);
    for (std::size_t i = 0; i < sPath.size(); ++i) {
        const char c = sPath[i];
        if (c == '\\') {
            if (i + 1 >= sPath.size() || (sPath[i + 1] != '/' && sPath[i + 1] != '\\'))
                throw std::invalid_argument(Say(HostText::FolderPathQuote, {sPath}));
            vNames.back() += sPath[++i];
        } else if (c == '/') {
            vNames.emplace_back();
        } else {
            vNames.back() += c;
        }
    }
    for (const auto& sName : vNames)
        if (sName.empty())
            throw std::invalid_argument(Say(HostText::FolderPathEmptyName, {sPath}));
    return vNames;
}

void AnswerFolderPicker(pf::Form& oWindow, const std::vector<std::string>& vPaths)
{
    auto* pTree = dynamic_cast<pf::GridControl*>(oWindow.FindControl(kTree).get());
    if (!pTree)
        throw std::runtime_error("the folder picker shows no folder tree");
    auto& oTree = pTree->Grid();
    // Every path is found before any is ticked: a path that is not there leaves the picker as
    // the person left it, ticks and all. Rows are looked up again for the ticks, since finding
    // a path expands folders, which moves the rows below them.
    for (const auto& sPath : vPaths) {
        std::string sChoices;
        if (!FindPath(oTree, SplitFolderPath(sPath), sChoices))
            throw std::runtime_error(Say(HostText::NoFolderPath, {sPath, sChoices}));
    }
    for (const auto& sPath : vPaths) {
        std::string sChoices;
        const int row = FindPath(oTree, SplitFolderPath(sPath), sChoices).value();
        if (oTree.CellChecked(row, 0) != pf::CheckState::TreeChecked)
            oTree.UserToggleCheck(row, 0);
    }
    Click(oWindow, "cmdOK");
}

void PickFolders(const AddInLibrary& oLibrary, const std::vector<std::string>& vPaths)
{
    auto* pWindow = oLibrary.ReportWindow();
    auto* pBar = pWindow && pWindow->IsLoaded()
                     ? dynamic_cast<pf::MenuBar*>(pWindow->FindControl("MenuBar1").get())
                     : nullptr;
    if (!pBar)
        throw std::runtime_error(Say(HostText::WindowNotOpen));
    for (const auto& sPath : vPaths)
        SplitFolderPath(sPath);
    // The add-in shows the picker from inside its command; the failure of an answer reaches
    // the add-in as an error of the picker, so it is kept here and reported afterwards.
    std::optional<std::string> sFailure;
    bool bShown = false;
    pf::Driver::current().QueueModal(kPickerForm, [&](pf::Form& oPicker) {
        bShown = true;
        try {
            AnswerFolderPicker(oPicker, vPaths);
        } catch (const std::exception& e) {
            // The command line's folders are all or nothing: the picker picks none of them.
            sFailure = e.what();
            if (oPicker.IsLoaded() && oPicker.Visible())
                Click(oPicker, "cmdCancel");
        }
    });
    const bool bClicked = pBar->Click("select");
    if (sFailure)
        throw std::runtime_error(*sFailure);
    if (!bClicked || !bShown)
        throw std::runtime_error("the report window did not show the folder picker");
}

} // namespace host
