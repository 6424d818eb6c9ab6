#pragma once

#include "platform/win/detail/RegistryTree.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace platform::win::detail {

/// The one in-memory copy of a registry store file in this process, kept in step with the
/// file: read again whenever the file changed on disk, written through a temporary file under
/// an exclusive lock on a companion lock file.
class RegistryStore
{
public:
    /// The process-wide copy for a file; made on first use, shared by every Registry object.
    static std::shared_ptr<RegistryStore> forFile(const std::filesystem::path& file);

    /// Runs `reader` on the current keys. Raises the runtime's error 75 when the file cannot be
    /// read or is damaged.
    template <class Reader> auto read(Reader&& reader)
    {
        std::lock_guard lock(mutex_);
        refresh();
        return reader(std::as_const(tree_));
    }

    /// Runs `edit` on a copy of the current keys and, when it returns true, writes the copy and
    /// keeps it. The file stays as it was when anything fails (runtime errors as for reads, or
    /// the file error of the write).
    bool modify(const std::function<bool(RegistryTree&)>& edit);

    explicit RegistryStore(std::filesystem::path file);

private:
    struct Stamp
    {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long seconds = 0;
        long nanoseconds = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };

    Stamp currentStamp() const;
    void refresh();

    std::filesystem::path file_;
    std::mutex mutex_;
    RegistryTree tree_;
    std::optional<Stamp> stamp_;
};

} // namespace platform::win::detail
