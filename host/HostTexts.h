#pragma once

#include <string>
#include <vector>

namespace host {

/// The host's own texts: every line the host itself prints for the person, in German and in
/// English, kept in one table (HostTexts.cpp) so that no text is left in one language only.
enum class HostText
{
    WindowNotOpen,
    WindowClosed,
    Templates,
    ReadCount,
    ReadFolders,
    NoFolder,
    SavedAs,
    SaveFailed,
    ExportFolderMissing,
    AnswersIsFolder,
    AnswersUnreadable,
    DialogFolder,
    DialogName,
    DialogAnswerFile,
    ReadProgress,
    AutoSaved,
    AutoMailed,
    AutoPrinted,
    AutoDeleted,
    TypeHelp,
    LeftoversRemoved,
    WindowHelp,
    ItemWindowNone,
    ItemWindowNoMail,
    ItemWindowClosed,
    ItemWindowUsage,
    AnswersLine,
    AnswersEnded,
    InputEnded,
    WaitingWindow,
    WaitingQuestion,
    WaitingDialog,
    WaitingMenu,
    HelpNotShown,
    ProfileLine,
    AddInConnected,
    AddInDisconnected,
    RibbonLine,
    SampleGenerated,
    PrinterLine,
};

/// The language of the host's texts from now on: "de" for German, anything else English.
void SetTextLanguage(const std::string& sLanguage);
/// Whether the host's texts are German now.
bool TextsAreGerman();

/// The text in the current language, with "#0", "#1", ... replaced by the arguments ("#N"
/// without an argument stays as it is).
std::string Say(HostText id, const std::vector<std::string>& vArgs = {});

} // namespace host
