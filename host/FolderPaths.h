#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform::forms {
class Form;
}

namespace host {

class AddInLibrary;

/// The names of a folder path "Store/Folder/Subfolder": "/" separates the names, "\/" is a
/// slash and "\\" a backslash inside a name. Throws std::invalid_argument for an empty path,
/// an empty name, or a backslash before anything else.
std::vector<std::string> SplitFolderPath(const std::string& sPath);

/// Answers the folder picker's window as a person would: finds each path in its tree, store
/// by store row and folder by folder row (expanding folders on the way), ticks the last row of
/// each and confirms with OK. When a path is not in the tree it throws std::runtime_error
/// naming the path and the folders there are, and leaves the picker open as it was (no tick
/// changed), so that the person may give another path.
void AnswerFolderPicker(platform::forms::Form& oWindow, const std::vector<std::string>& vPaths);

/// Gives the report window the folders of the paths: the window's "select" command, with the
/// folder picker answered by AnswerFolderPicker. Throws std::runtime_error when the window is
/// not open or a path is not found.
void PickFolders(const AddInLibrary& oLibrary, const std::vector<std::string>& vPaths);

/// The folders that the template sName keeps in the report definitions file oFile, as the
/// XML of its Folders element; nothing when the file or the template has none.
std::optional<std::string> TemplateFolders(const std::filesystem::path& oFile,
                                           const std::string& sName);
/// The names of the templates in oFile, in the file's order; none when it cannot be read.
std::vector<std::string> TemplateNames(const std::filesystem::path& oFile);
/// The folders the templates in the report definitions file oFile save their reports into
/// (their save action's path), each once; none when the file cannot be read.
std::vector<std::string> TemplateSaveFolders(const std::filesystem::path& oFile);
/// Gives the template sName in oFile the folders of sFoldersXml (from TemplateFolders) again,
/// writing the file through a temporary file when they differ; everything else in the file
/// stays. True when the file was changed.
bool RestoreTemplateFolders(const std::filesystem::path& oFile, const std::string& sName,
                            const std::string& sFoldersXml);

} // namespace host
