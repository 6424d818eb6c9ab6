#pragma once

// For tests of code that must not open a pipe: should it open one after all, the test goes on
// instead of waiting for good.
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace platformtest {

/// While it lives, opens the other end of the pipe at a path (when it is one) as soon as a
/// reader is there, and closes it, so that a read of the pipe ends with nothing read.
class PipeOpener
{
public:
    explicit PipeOpener(std::string path)
        : path_(std::move(path)), thread_([this] { Open(); })
    {
    }
    ~PipeOpener()
    {
        done_ = true;
        thread_.join();
    }
    PipeOpener(const PipeOpener&) = delete;
    PipeOpener& operator=(const PipeOpener&) = delete;

private:
    void Open()
    {
        for (int i = 0; std::filesystem::is_fifo(path_) && !done_ && i < 3000; ++i) {
            const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::close(fd);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    std::string path_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

} // namespace platformtest
