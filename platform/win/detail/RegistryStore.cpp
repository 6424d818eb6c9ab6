#include "platform/win/detail/RegistryStore.h"

#include "platform/win/FileIo.h"
#include "platform/win/detail/Errors.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace platform::win::detail {
namespace {

constexpr std::string_view kSource = "Registry";

// Holds an exclusive lock on the store's lock file while a write reads, edits and replaces
// the store, so that two processes do not lose each other's changes.
class FileLock
{
public:
    explicit FileLock(const std::filesystem::path& path)
        : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666))
    {
        if (fd_ < 0) {
            raiseFileError(errno, kSource, "cannot open the registry lock " + path.string());
        }
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                const int error = errno;
                ::close(fd_);
                raiseFileError(error, kSource, "cannot lock " + path.string());
            }
        }
    }
    ~FileLock() { ::close(fd_); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_;
};

} // namespace

std::shared_ptr<RegistryStore> RegistryStore::forFile(const std::filesystem::path& file)
{
    static std::mutex mutex;
    static std::map<std::string, std::weak_ptr<RegistryStore>> stores;
    const auto key = std::filesystem::absolute(file).lexically_normal().string();
    std::lock_guard lock(mutex);
    if (auto existing = stores[key].lock()) {
        return existing;
    }
    auto store = std::make_shared<RegistryStore>(key);
    stores[key] = store;
    return store;
}

RegistryStore::RegistryStore(std::filesystem::path file) : file_(std::move(file)) {}

RegistryStore::Stamp RegistryStore::currentStamp() const
{
    struct stat info
    {
    };
    if (::stat(file_.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            raiseFileError(errno, kSource, "cannot examine the registry store " + file_.string());
        }
        return {};
    }
    return {true,         info.st_dev,         info.st_ino,
            info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

void RegistryStore::refresh()
{
    const auto stamp = currentStamp();
    if (stamp_ == stamp) {
        return;
    }
    std::optional<std::string> bytes;
    try {
        bytes = readFileBytes(file_);
    } catch (const std::system_error& error) {
        raiseFileError(error.code().value(), kSource,
                       "cannot read the registry store " + file_.string());
    }
    std::size_t errorLine = 0;
    auto tree = RegistryTree::parse(bytes.value_or(std::string()), errorLine);
    if (!tree) {
        raiseFileError(EILSEQ, kSource,
                       "the registry store " + file_.string() + " is damaged at line " +
                           std::to_string(errorLine));
    }
    tree_ = std::move(*tree);
    stamp_ = stamp;
}

bool RegistryStore::modify(const std::function<bool(RegistryTree&)>& edit)
{
    std::lock_guard lock(mutex_);
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    if (error) {
        raiseFileError(error.value(), kSource,
                       "cannot create the registry folder " + file_.parent_path().string());
    }
    FileLock fileLock(file_.string() + ".lock");
    refresh();
    auto copy = tree_;
    if (!edit(copy)) {
        return false;
    }
    try {
        replaceFileContents(file_, copy.text());
    } catch (const std::system_error& failure) {
        raiseFileError(failure.code().value(), kSource,
                       "cannot write the registry store " + file_.string());
    }
    tree_ = std::move(copy);
    stamp_ = currentStamp();
    return true;
}

} // namespace platform::win::detail
