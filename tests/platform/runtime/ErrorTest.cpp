#include "platform/runtime/Error.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/FileFailure.h"
#include "platform/runtime/ReplaceTarget.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace rt = platform::runtime;

TEST(ErrorTest, RuntimeNumbersHaveTheirTexts)
{
    platform::locale::SetCurrent("en-US");
    const struct
    {
        std::int32_t number;
        const char* text;
    } cases[] = {
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {9, "Subscript out of range"},
        {11, "Division by zero"},
        {13, "Type mismatch"},
        {53, "File not found"},
        {91, "Object variable or With block variable not set"},
        {94, "Invalid use of Null"},
        {424, "Object required"},
        {438, "Object doesn't support this property or method"},
        {457, "This key is already associated with an element of this collection"},
        {12345, "Application-defined or object-defined error"},
        {rt::ObjectErrorBase + 1, "Application-defined or object-defined error"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rt::ErrorText(c.number), c.text) << c.number;
    }
    EXPECT_TRUE(rt::HasErrorText(457));
    EXPECT_FALSE(rt::HasErrorText(12345));
}

TEST(ErrorTest, AGermanRuntimeGivesItsTextsInGerman)
{
    platform::locale::SetCurrent("de-DE");
    EXPECT_EQ(rt::ErrorText(13), "Typen unverträglich");
    EXPECT_EQ(rt::ErrorText(91), "Objektvariable oder With-Blockvariable nicht festgelegt");
    EXPECT_EQ(rt::ErrorText(12345), "Anwendungs- oder objektdefinierter Fehler");
    EXPECT_EQ(rt::Error(53).Description(), "Datei nicht gefunden");
    // A description of the raiser's own stays as it is.
    EXPECT_EQ(rt::Error(53, "src", "own text").Description(), "own text");
    platform::locale::SetCurrent("en-US");
    EXPECT_EQ(rt::ErrorText(13), "Type mismatch");
}

TEST(ErrorTest, RaiseFillsTheRuntimeTextOnlyWhenDescriptionIsEmpty)
{
    platform::locale::SetCurrent("en-US");
    try {
        rt::Raise(13, "modTest.Proc");
        FAIL() << "Raise returned";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.Number(), 13);
        EXPECT_EQ(e.Source(), "modTest.Proc");
        EXPECT_EQ(e.Description(), "Type mismatch");
        EXPECT_STREQ(e.what(), "Type mismatch");
    }
    try {
        rt::Raise(rt::ObjectErrorBase + 513, "src", "own text", "help.chm", 42);
        FAIL() << "Raise returned";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.Number(), -2147221504 + 513);
        EXPECT_EQ(e.Description(), "own text");
        EXPECT_EQ(e.HelpFile(), "help.chm");
        EXPECT_EQ(e.HelpContext(), 42);
    }
}

TEST(ErrorTest, RaiseWithNumberZeroIsAnInvalidCall)
{
    try {
        rt::Raise(0);
        FAIL() << "Raise returned";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.Number(), 5);
    }
}

TEST(ErrorTest, CapturesErrnoAtCreation)
{
    errno = ENOENT;
    const rt::Error error(53);
    errno = 0;
    EXPECT_EQ(error.LastDllError(), ENOENT);
    EXPECT_EQ(error.Description(), "File not found");
}

TEST(ErrorTest, CommonFileFailuresAreSaidInTheUsersLanguageNamingTheFile)
{
    const struct
    {
        int error;
        rt::FileAction action;
        const char* english;
        const char* german;
    } cases[] = {
        {EACCES, rt::FileAction::Write, "\"/r/x.csv\" cannot be written: you have no permission",
         "\"/r/x.csv\" kann nicht geschrieben werden: Sie haben keine Berechtigung"},
        {EROFS, rt::FileAction::Write, "its file system is read-only",
         "ihr Dateisystem ist schreibgeschützt"},
        {ENOSPC, rt::FileAction::Write, "there is no space left on the disk",
         "auf dem Datenträger ist kein Platz mehr frei"},
        {ENOENT, rt::FileAction::Read, "\"/r/x.csv\" cannot be read: it or its folder does not",
         "\"/r/x.csv\" kann nicht gelesen werden: die Datei oder ihr Ordner existiert nicht"},
        {EEXIST, rt::FileAction::Create, "cannot be created: a file of that name exists already",
         "kann nicht angelegt werden: eine Datei dieses Namens existiert bereits"},
        {EISDIR, rt::FileAction::Delete, "cannot be deleted: it is a folder",
         "kann nicht gelöscht werden: es ist ein Ordner"},
        {rt::kNotAFile, rt::FileAction::Write,
         "cannot be written: it is no file but a device, a pipe or a socket",
         "kann nicht geschrieben werden: es ist keine Datei, sondern ein Gerät, eine Pipe"},
        {EIO, rt::FileAction::Write, "system error 5 (", "Systemfehler 5 ("},
    };
    for (const auto& c : cases) {
        platform::locale::SetCurrent("en-US");
        const std::string english = rt::FileFailureText(c.error, c.action, "/r/x.csv");
        platform::locale::SetCurrent("de-DE");
        const std::string german = rt::FileFailureText(c.error, c.action, "/r/x.csv");
        EXPECT_NE(english.find(c.english), std::string::npos) << english;
        EXPECT_NE(german.find(c.german), std::string::npos) << german;
        EXPECT_NE(german.find("/r/x.csv"), std::string::npos) << german;
    }
    platform::locale::SetCurrent("en-US");
}
