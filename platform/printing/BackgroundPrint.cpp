#include "platform/printing/BackgroundPrint.h"

#include "platform/locale/Locale.h"
#include "platform/printing/Spooler.h"
#include "platform/printing/detail/PrintFolder.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/FileFailure.h"
#include "platform/runtime/Notices.h"
#include "platform/win/RunProgram.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <filesystem>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform::printing {

namespace {

namespace fs = std::filesystem;
namespace rt = platform::runtime;

constexpr const char* kSource = "PrintInBackground";

// The prints under way: each thread with the flag it sets when it is done. Joined when the
// process ends, so that no print is cut off by the exit.
class Prints
{
public:
    ~Prints() { WaitForAll(); }

    void Start(const PrintRequest& request, const fs::path& copy, std::function<void()> work)
    {
        std::lock_guard lock(mutex_);
        JoinFinished();
        auto job = std::make_shared<Job>();
        job->file = request.file;
        job->printer = request.printer;
        job->folder = copy.parent_path();
        jobs_.push_back(job);
        threads_.push_back({std::thread([work = std::move(work), job] {
                                work();
                                job->done.store(true);
                            }),
                            job});
    }

    std::vector<PrintFailure> CutOff(const std::string& reason)
    {
        std::lock_guard lock(mutex_);
        std::vector<PrintFailure> cut;
        // Their ends are told here; what the ended programs make of it is not news.
        cutOff_ = true;
        platform::win::endRunningPrograms();
        for (const auto& job : jobs_) {
            if (job->done.load())
                continue;
            std::error_code ec;
            fs::remove_all(job->folder, ec);
            cut.push_back({job->file, job->printer, reason});
        }
        return cut;
    }

    void WaitForAll()
    {
        std::list<Entry> running;
        {
            std::lock_guard lock(mutex_);
            running.swap(threads_);
        }
        for (auto& entry : running)
            entry.thread.join();
    }

    void Fail(PrintFailure failure)
    {
        std::lock_guard lock(mutex_);
        if (!cutOff_)
            failures_.push_back(std::move(failure));
        anyFailed_ = true;
    }

    bool AnyFailed()
    {
        std::lock_guard lock(mutex_);
        return anyFailed_;
    }

    bool Running()
    {
        std::lock_guard lock(mutex_);
        return std::any_of(jobs_.begin(), jobs_.end(),
                           [](const auto& job) { return !job->done.load(); });
    }

    std::vector<PrintFailure> TakeFailures()
    {
        std::lock_guard lock(mutex_);
        return std::exchange(failures_, {});
    }

private:
    // A print until it ended, also while WaitForAll joins its thread.
    struct Job
    {
        std::atomic<bool> done{false};
        std::string file;
        std::string printer;
        fs::path folder; // the copy's own
    };
    struct Entry
    {
        std::thread thread;
        std::shared_ptr<Job> job;
    };

    void JoinFinished()
    {
        for (auto it = threads_.begin(); it != threads_.end();) {
            if (!it->job->done.load()) {
                ++it;
                continue;
            }
            it->thread.join();
            it = threads_.erase(it);
        }
        jobs_.remove_if([](const auto& job) { return job->done.load(); });
    }

    std::mutex mutex_;
    std::list<Entry> threads_;
    std::list<std::shared_ptr<Job>> jobs_;
    bool cutOff_ = false;
    std::vector<PrintFailure> failures_;
    bool anyFailed_ = false;
};

Prints& ThePrints()
{
    static Prints prints;
    return prints;
}

// The copy lies in a folder of its own, under the document's own name, which the queue shows
// as the job's title; the folder goes with the last holder of the copy.
struct Copy
{
    detail::PrintFolder folder{"tallyman-job"};
    fs::path path;
};

std::shared_ptr<const Copy> CopyOf(const std::string& file)
{
    auto copy = std::make_shared<Copy>();
    copy->path = copy->folder.path() / fs::path(file).filename();
    std::error_code ec;
    if (!fs::copy_file(file, copy->path, ec))
        rt::Raise(rt::errors::PathFileAccess, kSource,
                  rt::FileFailureText(ec.value(), rt::FileAction::Read, file));
    return copy;
}

void Print(const PreparedPrint& print, const Copy& copy)
{
    const PrintRequest& request = print.request;
    try {
        const PrintableDocument document(copy.path.string(), print.page, print.localeName,
                                         request.file);
        const std::string title = copy.path.filename().string();
        Spooler spooler;
        if (request.jobSettings)
            spooler.PrintFile(request.printer, document.path(), title, *request.jobSettings);
        else
            spooler.PrintFile(request.printer, document.path(), title);
    } catch (const rt::Error& e) {
        ThePrints().Fail({request.file, request.printer, e.Description()});
    } catch (const std::exception& e) {
        ThePrints().Fail({request.file, request.printer, e.what()});
    }
}

} // namespace

PreparedPrint PreparePrint(PrintRequest request)
{
    // The page is the one the job will be printed on, as the queue's settings are now.
    const auto stored = Spooler().ReadDeviceMode(request.printer);
    if (!stored)
        rt::Raise(errors::PrinterNotFound, kSource,
                  "There is no printer \"" + request.printer + "\".");
    PreparedPrint print;
    print.page =
        PageLayout::Of(request.jobSettings ? LaidOver(*stored, *request.jobSettings) : *stored);
    print.localeName = platform::locale::Current().name;
    print.request = std::move(request);
    return print;
}

void PrintInBackground(PrintRequest request)
{
    std::error_code ec;
    if (!fs::is_regular_file(request.file, ec))
        rt::Raise(rt::errors::FileNotFound, kSource, "File not found: " + request.file);
    PreparedPrint print = PreparePrint(std::move(request));
    auto copy = CopyOf(print.request.file);
    // The user hears here, on the thread that listens, that the print is on its way; whether
    // it reaches the queue is known only later.
    platform::runtime::Notify({platform::runtime::Notice::Kind::Printed,
                               copy->path.filename().string(), print.request.printer});
    const PrintRequest asked = print.request;
    const fs::path copyPath = copy->path;
    ThePrints().Start(asked, copyPath,
                      [print = std::move(print), copy = std::move(copy)] { Print(print, *copy); });
}

void WaitForBackgroundPrints()
{
    ThePrints().WaitForAll();
}

bool BackgroundPrintsRunning()
{
    return ThePrints().Running();
}

std::vector<PrintFailure> CutOffBackgroundPrints(const std::string& reason)
{
    return ThePrints().CutOff(reason);
}

std::vector<PrintFailure> TakeBackgroundPrintFailures()
{
    return ThePrints().TakeFailures();
}

bool AnyBackgroundPrintFailed()
{
    return ThePrints().AnyFailed();
}

} // namespace platform::printing
