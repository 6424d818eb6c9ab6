// Where the temporary folder of a print is made, whatever TMPDIR holds.
#include "platform/printing/detail/PrintFolder.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::printing::detail {
namespace {

namespace fs = std::filesystem;

// Sets TMPDIR (or removes it) for the scope, and puts back what was there.
class TemporaryVariable
{
public:
    explicit TemporaryVariable(const std::optional<std::string>& value)
    {
        if (const char* old = std::getenv("TMPDIR"))
            old_ = old;
        if (value)
            ::setenv("TMPDIR", value->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }
    ~TemporaryVariable()
    {
        if (old_)
            ::setenv("TMPDIR", old_->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }
    TemporaryVariable(const TemporaryVariable&) = delete;
    TemporaryVariable& operator=(const TemporaryVariable&) = delete;

private:
    std::optional<std::string> old_;
};

TEST(PrintFolderTest, IsMadeWhereTmpdirSaysAndUnderTmpWhenItSaysNothing)
{
    const fs::path own = fs::path("/tmp") / ("tvprintfolder" + std::to_string(::getpid()));
    fs::create_directories(own);
    struct Case
    {
        const char* what;
        std::optional<std::string> tmpdir;
        fs::path expected; // the folder the print's folder is made in
    };
    // The folders as the shell's tools (mktemp) take the variable.
    const Case cases[] = {
        {"unset", std::nullopt, "/tmp"},
        {"empty", std::string(), "/tmp"},
        {"a folder", own.string(), own},
        {"a folder with a slash at its end", own.string() + "/", own},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TemporaryVariable variable(c.tmpdir);
        fs::path made;
        {
            const PrintFolder folder("tvprint");
            made = folder.path();
            EXPECT_EQ(fs::path(made).lexically_normal().parent_path(), c.expected);
            EXPECT_EQ(made.filename().string().rfind("tvprint-", 0), 0u) << made;
            struct stat st{};
            ASSERT_EQ(::stat(made.c_str(), &st), 0) << made;
            EXPECT_TRUE(S_ISDIR(st.st_mode));
            EXPECT_EQ(st.st_mode & 0777, 0700u);
        }
        EXPECT_FALSE(fs::exists(made));
    }
    fs::remove_all(own);
}

TEST(PrintFolderTest, ATmpdirThatNamesNoFolderIsNamedInTheFailure)
{
    const std::string missing = "/tmp/tvnowhere" + std::to_string(::getpid()) + "/x";
    const TemporaryVariable variable(missing);
    try {
        const PrintFolder folder("tvprint");
        FAIL() << "made " << folder.path();
    } catch (const platform::runtime::Error& e) {
        EXPECT_NE(e.Description().find("\"" + missing + "/tvprint-XXXXXX\""), std::string::npos)
            << e.Description();
    }
}

} // namespace
} // namespace platform::printing::detail
