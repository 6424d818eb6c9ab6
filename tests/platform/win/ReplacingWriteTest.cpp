// One contract for both ways the platform replaces a file through a temporary file and a
// rename: the file component's replaceFileContents and the runtime's ReplacingFile.
#include "platform/runtime/Error.h"
#include "platform/runtime/ReplacingFile.h"
#include "platform/win/FileIo.h"

#include "WinFixture.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>
#include <vector>

namespace platform::win {
namespace {

namespace fs = std::filesystem;
namespace rt = platform::runtime;

// Replaces `path` with `bytes`; gives the failure's message and whether it was the
// permission error of its kind ("" and false when the write succeeded).
struct Outcome
{
    std::string message;
    bool permission = false;
    /// The errno value of the file component's failure; 0 for the runtime's (its message
    /// says it in words).
    int error = 0;
};
using ReplaceFunction = Outcome (*)(const fs::path&, const std::string&);

Outcome ThroughFileIo(const fs::path& path, const std::string& bytes)
{
    try {
        replaceFileContents(path, bytes);
    } catch (const std::system_error& error) {
        return {error.what(), error.code().value() == EACCES, error.code().value()};
    }
    return {};
}

Outcome ThroughReplacingFile(const fs::path& path, const std::string& bytes)
{
    try {
        rt::ReplacingFile file(path.string(), "Test");
        file.Write(bytes);
        file.Commit();
    } catch (const rt::Error& error) {
        return {error.Description(), error.Number() == rt::errors::PermissionDenied};
    }
    return {};
}

class ReplacingWriteTest : public testing::WinFixture,
                           public ::testing::WithParamInterface<ReplaceFunction>
{
protected:
    Outcome Replace(const fs::path& path, const std::string& bytes)
    {
        return GetParam()(path, bytes);
    }
    std::size_t FilesIn(const fs::path& folder) const
    {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
};

TEST_P(ReplacingWriteTest, ReadOnlyFileIsRefusedAndKept)
{
    // No write bit at all is read-only for everyone; 0444 also for the superuser.
    for (const auto mode : {fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                            fs::perms::owner_read}) {
        const auto file = writeRaw("report.csv", "old report");
        fs::permissions(file, mode);
        const Outcome outcome = Replace(file, "new report");
        EXPECT_TRUE(outcome.permission) << outcome.message;
        EXPECT_NE(outcome.message.find("report.csv"), std::string::npos) << outcome.message;
        fs::permissions(file, fs::perms::owner_all);
        EXPECT_EQ(readRaw(file), "old report");
        EXPECT_EQ(FilesIn(root()), 1u) << "temporary file left behind";
        fs::remove(file);
    }
}

TEST_P(ReplacingWriteTest, LinkStaysAndItsFileGetsTheText)
{
    fs::create_directories(root() / "real");
    const auto file = writeRaw("real/report.html", "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    struct Case
    {
        const char* link;
        fs::path target; // as written into the link
    };
    for (const Case& c : {Case{"absolute.html", file}, Case{"relative.html", "real/report.html"},
                          Case{"twice.html", "absolute.html"}}) {
        const auto link = root() / c.link;
        fs::create_symlink(c.target, link);
        EXPECT_EQ(Replace(link, std::string("via ") + c.link).message, "");
        EXPECT_TRUE(fs::is_symlink(link)) << c.link;
        EXPECT_EQ(readRaw(file), std::string("via ") + c.link);
        EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    }
    EXPECT_EQ(FilesIn(root() / "real"), 1u) << "temporary file left behind";
}

TEST_P(ReplacingWriteTest, LinkToAMissingFileCreatesThatFile)
{
    fs::create_directories(root() / "out");
    const auto link = root() / "report.xlsx";
    fs::create_symlink("out/new.xlsx", link);
    EXPECT_EQ(Replace(link, "made").message, "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readRaw(root() / "out/new.xlsx"), "made");
}

TEST_P(ReplacingWriteTest, LinkToAReadOnlyFileIsRefused)
{
    const auto file = writeRaw("report.txt", "kept");
    fs::permissions(file, fs::perms::owner_read);
    const auto link = root() / "link.txt";
    fs::create_symlink(file, link);
    const Outcome outcome = Replace(link, "lost");
    EXPECT_TRUE(outcome.permission) << outcome.message;
    EXPECT_NE(outcome.message.find("link.txt"), std::string::npos) << outcome.message;
    fs::permissions(file, fs::perms::owner_all);
    EXPECT_EQ(readRaw(file), "kept");
    EXPECT_TRUE(fs::is_symlink(link));
}

// What a path is, without following a link: its kind, its node and, for a file, its text.
struct Node
{
    bool exists = false;
    mode_t type = 0;
    ino_t inode = 0;
    std::string text;
    bool operator==(const Node&) const = default;
};

Node NodeAt(const fs::path& path)
{
    struct stat st
    {
    };
    if (::lstat(path.c_str(), &st) != 0)
        return {};
    Node node{true, st.st_mode & S_IFMT, st.st_ino, {}};
    if (S_ISREG(st.st_mode))
        node.text = std::string(std::istreambuf_iterator<char>(std::ifstream(path).rdbuf()), {});
    return node;
}

// A character device of this test's own (the numbers of /dev/null), so that a save that
// wrongly replaced it would replace only this node; false where no device can be made.
bool MakeDevice(const fs::path& path)
{
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

// A socket bound at the path; the descriptor stays open for the test.
int MakeSocket(const fs::path& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = path.string();
    if (fd < 0 || name.size() >= sizeof(address.sun_path))
        return -1;
    name.copy(address.sun_path, name.size());
    return ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 ? fd : -1;
}

TEST_P(ReplacingWriteTest, OnlyAFileIsEverReplacedWhateverKindOfNodeThePathOrItsLinkNames)
{
    // The words of the runtime's refusal and the errno of the file component's, by kind.
    struct Refusal
    {
        const char* words;
        int error;
    };
    const Refusal kFolder{"it is a folder", EISDIR};
    const Refusal kNoFile{"it is no file but a device, a pipe or a socket", ENODEV};
    const Refusal kMissing{"it or its folder does not exist", ENOENT};
    const Refusal kReadOnly{"you have no permission", EACCES};

    fs::create_directories(root() / "nodes");
    const auto nodes = root() / "nodes";
    writeRaw("nodes/file.csv", "old");
    writeRaw("nodes/readonly.csv", "kept");
    fs::permissions(nodes / "readonly.csv", fs::perms::owner_read);
    fs::create_directories(nodes / "folder.csv");
    ASSERT_EQ(::mkfifo((nodes / "fifo.csv").c_str(), 0600), 0);
    const bool device = MakeDevice(nodes / "device.csv");
    const int socket = MakeSocket(nodes / "socket.csv");
    ASSERT_GE(socket, 0);

    struct Case
    {
        const char* name;
        std::optional<Refusal> refusal; // nothing: written
    };
    std::vector<Case> cases = {
        {"file.csv", std::nullopt},    {"new.csv", std::nullopt},
        {"missing/new.csv", kMissing}, {"folder.csv", kFolder},
        {"fifo.csv", kNoFile},         {"socket.csv", kNoFile},
        {"readonly.csv", kReadOnly},
    };
    if (device)
        cases.push_back({"device.csv", kNoFile});
    // Each through a (relative) link beside the nodes as well.
    const auto linkTo = [&](std::size_t i) { return root() / ("link-" + std::to_string(i)); };
    for (std::size_t i = 0; i < cases.size(); ++i)
        fs::create_symlink(fs::path("nodes") / cases[i].name, linkTo(i));
    for (std::size_t run = 0; run < 2 * cases.size(); ++run) {
        const bool viaLink = run >= cases.size();
        const std::size_t i = run % cases.size();
        const Case& c = cases[i];
        const fs::path node = nodes / c.name;
        const fs::path path = viaLink ? linkTo(i) : node;
        SCOPED_TRACE(path.string());
        const Node nodeBefore = NodeAt(node);
        const Node pathBefore = NodeAt(path);
        const Outcome outcome = Replace(path, "new");
        if (!c.refusal) {
            EXPECT_EQ(outcome.message, "");
            EXPECT_EQ(NodeAt(node).text, "new");
            EXPECT_EQ(NodeAt(path).type, viaLink ? S_IFLNK : S_IFREG);
            continue;
        }
        EXPECT_NE(outcome.message, "") << "written";
        if (outcome.error != 0)
            EXPECT_EQ(outcome.error, c.refusal->error) << outcome.message;
        else
            EXPECT_NE(outcome.message.find(c.refusal->words), std::string::npos)
                << outcome.message;
        // Nothing changed: the node the path names and the path itself.
        EXPECT_TRUE(NodeAt(node) == nodeBefore);
        EXPECT_TRUE(NodeAt(path) == pathBefore);
    }
    ::close(socket);
    // No temporary file was left beside any of them.
    std::size_t nodesLeft = 0;
    for (const auto& entry : fs::directory_iterator(nodes))
        nodesLeft += entry.path().filename().string().find(".tmp-") == std::string::npos;
    EXPECT_EQ(nodesLeft, FilesIn(nodes));
    fs::permissions(nodes / "readonly.csv", fs::perms::owner_all);
}

// The id of a process that has ended: a child that exits at once, waited for.
pid_t EndedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST_P(ReplacingWriteTest, ASaveRemovesTheLeftoversOfKilledWritersAndNothingElse)
{
    const std::string dead = std::to_string(EndedProcess());
    const std::string alive = std::to_string(::getpid());
    const std::vector<std::string> gone = {".big.csv.tmp-" + dead + "-0",
                                           ".big.html.tmp-" + dead + "-12",
                                           ".big.xlsx.tmp-" + dead + "-Ab12Cd",
                                           ".big.xlsm.tmp-" + dead + "-Ab12Cd.Xy34Zw",
                                           ".reports.xml.Qw3rTy"};
    const std::vector<std::string> kept = {".big.csv.tmp-" + alive + "-7",
                                           ".reports.xml.Zz99Yy",
                                           ".bashrc.backup",
                                           ".big.csv.tmp-x-1",
                                           "big.csv.tmp-" + dead + "-1",
                                           "notes.txt"};
    for (const auto& name : gone)
        writeRaw(name, "partial");
    for (const auto& name : kept)
        writeRaw(name, "someone's");
    // The older form names no process: only an hour without a write tells it is left over.
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
    fs::last_write_time(root() / ".reports.xml.Qw3rTy", old);
    fs::last_write_time(root() / ".bashrc.backup", old);
    // A folder and a link of our form are no temporary files of ours.
    fs::create_directory(root() / (".dir.csv.tmp-" + dead + "-1"));
    fs::create_symlink(root() / "notes.txt", root() / (".link.csv.tmp-" + dead + "-1"));

    const Outcome outcome = Replace(root() / "other.csv", "report");
    EXPECT_EQ(outcome.message, "");
    for (const auto& name : gone)
        EXPECT_FALSE(fs::exists(root() / name)) << name;
    for (const auto& name : kept)
        EXPECT_TRUE(fs::exists(root() / name)) << name;
    EXPECT_TRUE(fs::is_directory(root() / (".dir.csv.tmp-" + dead + "-1")));
    EXPECT_TRUE(fs::is_symlink(root() / (".link.csv.tmp-" + dead + "-1")));
    EXPECT_EQ(readRaw(root() / "other.csv"), "report");
}

INSTANTIATE_TEST_SUITE_P(BothHelpers, ReplacingWriteTest,
                         ::testing::Values(&ThroughFileIo, &ThroughReplacingFile),
                         [](const auto& info) {
                             return info.param == &ThroughFileIo ? std::string("FileIo")
                                                                 : std::string("ReplacingFile");
                         });

} // namespace
} // namespace platform::win
