#include "platform/runtime/FileFailure.h"

#include "platform/locale/Locale.h"
#include "platform/runtime/ReplaceTarget.h"

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstring>

namespace platform::runtime {

namespace {

struct Reason
{
    int error;
    const char* english;
    const char* german;
};

constexpr std::array kReasons = {
    Reason{EACCES, "you have no permission for it or for its folder",
           "Sie haben keine Berechtigung dafür oder für ihren Ordner"},
    Reason{EPERM, "you have no permission for it or for its folder",
           "Sie haben keine Berechtigung dafür oder für ihren Ordner"},
    Reason{EROFS, "its file system is read-only", "ihr Dateisystem ist schreibgeschützt"},
    Reason{ENOSPC, "there is no space left on the disk",
           "auf dem Datenträger ist kein Platz mehr frei"},
    Reason{EDQUOT, "your disk quota is used up", "Ihr Speicherkontingent ist aufgebraucht"},
    Reason{ENOENT, "it or its folder does not exist",
           "die Datei oder ihr Ordner existiert nicht"},
    Reason{EEXIST, "a file of that name exists already",
           "eine Datei dieses Namens existiert bereits"},
    Reason{EISDIR, "it is a folder", "es ist ein Ordner"},
    Reason{kNotAFile, "it is no file but a device, a pipe or a socket, which a save never replaces",
           "es ist keine Datei, sondern ein Gerät, eine Pipe oder ein Socket, was ein Speichern "
           "nie ersetzt"},
    Reason{ENOTDIR, "a part of its path is not a folder", "ein Teil des Pfades ist kein Ordner"},
};

struct Verb
{
    const char* english;
    const char* german;
};

// By FileAction.
constexpr std::array kVerbs = {
    Verb{"cannot be read", "kann nicht gelesen werden"},
    Verb{"cannot be written", "kann nicht geschrieben werden"},
    Verb{"cannot be created", "kann nicht angelegt werden"},
    Verb{"cannot be deleted", "kann nicht gelöscht werden"},
};

} // namespace

std::string FileFailureText(int error, FileAction action, const std::string& path)
{
    const bool german = platform::locale::Current().languageCode == "de";
    const Verb& verb = kVerbs[static_cast<std::size_t>(action)];
    std::string text = "\"" + path + "\" " + (german ? verb.german : verb.english) + ": ";
    for (const Reason& reason : kReasons) {
        if (reason.error == error) {
            return text + (german ? reason.german : reason.english) + ".";
        }
    }
    // A rarer failure: the system's own words, with its number for a search.
    return text + (german ? "Systemfehler " : "system error ") + std::to_string(error) + " (" +
           std::strerror(error) + ").";
}

} // namespace platform::runtime
