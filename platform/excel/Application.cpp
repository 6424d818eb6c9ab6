#include "platform/excel/Application.h"

#include "platform/excel/Workbook.h"
#include "platform/excel/Workbooks.h"
#include "platform/excel/detail/Raise.h"
#include "platform/excel/detail/State.h"
#include "platform/runtime/Error.h"
#include "platform/win/Shell.h"

#include <algorithm>
#include <cctype>
#include <mutex>

namespace platform::excel {
namespace {

struct Globals
{
    std::mutex mutex;
    std::string installedVersion = "16.0";
    // The application that runs: held strongly while visible (the user has it), else weakly.
    std::weak_ptr<detail::AppState> running;
    std::shared_ptr<detail::AppState> shown;
};

Globals& TheGlobals()
{
    static Globals globals;
    return globals;
}

bool IsOurProgId(std::string_view progId)
{
    constexpr std::string_view kProgId = "excel.application";
    return std::equal(
        progId.begin(), progId.end(), kProgId.begin(), kProgId.end(),
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

} // namespace

namespace detail {

long MajorVersion(const std::string& version)
{
    const std::string head = version.substr(0, 2);
    if (head == "8." || head == "9.") {
        return head[0] - '0';
    }
    if (head.size() == 2 && std::isdigit(static_cast<unsigned char>(head[0])) &&
        std::isdigit(static_cast<unsigned char>(head[1]))) {
        return std::stol(head);
    }
    return 0;
}

void ShowFile(const std::string& path)
{
    // Nothing is drawn here: the user's own program for the file shows it.
    const platform::win::ShellResult result = platform::win::currentShell().openDocument(path);
    if (!result) {
        Raise(kMethodFailed, Say("the workbook \"", "Die Arbeitsmappe \"") + path +
                                 Say("\" cannot be shown: ", "\" kann nicht angezeigt werden: ") +
                                 result.detail);
    }
}

} // namespace detail

Application::Application(std::shared_ptr<detail::AppState> state) : state_(std::move(state)) {}

Application::~Application() = default;

std::string Application::Version() const
{
    return state_->version;
}

bool Application::DisplayAlerts() const
{
    return state_->displayAlerts;
}

void Application::SetDisplayAlerts(bool value)
{
    state_->displayAlerts = value;
}

bool Application::Visible() const
{
    return state_->visible;
}

void Application::SetVisible(bool value)
{
    if (value && !state_->visible) {
        for (const auto& book : state_->books) {
            if (book->state_->source != detail::BookSource::New) {
                detail::ShowFile(book->FullName());
            }
        }
    }
    state_->visible = value;
    std::lock_guard lock(TheGlobals().mutex);
    if (TheGlobals().running.lock() == state_) {
        TheGlobals().shown = value ? state_ : nullptr;
    }
}

std::shared_ptr<excel::Workbooks> Application::Workbooks() const
{
    return std::make_shared<excel::Workbooks>(state_);
}

void Application::Quit()
{
    const auto books = state_->books;
    for (const auto& book : books) {
        book->Close(false);
    }
    state_->quit = true;
    state_->visible = false;
    std::lock_guard lock(TheGlobals().mutex);
    if (TheGlobals().running.lock() == state_) {
        TheGlobals().running.reset();
        TheGlobals().shown.reset();
    }
}

void Application::SetInstalledVersion(std::string version)
{
    std::lock_guard lock(TheGlobals().mutex);
    TheGlobals().installedVersion = std::move(version);
}

std::shared_ptr<Application> CreateObject(std::string_view progId)
{
    if (!IsOurProgId(progId)) {
        platform::runtime::Raise(429, "Excel",
                                 "no component is registered as \"" + std::string(progId) + "\"");
    }
    auto state = std::make_shared<detail::AppState>();
    std::lock_guard lock(TheGlobals().mutex);
    state->version = TheGlobals().installedVersion;
    // The newest application is the one a later GetObject finds, unless one is on screen.
    if (!TheGlobals().shown) {
        TheGlobals().running = state;
    }
    return std::make_shared<Application>(state);
}

std::shared_ptr<Application> GetObject(std::string_view progId)
{
    if (IsOurProgId(progId)) {
        std::lock_guard lock(TheGlobals().mutex);
        if (auto state = TheGlobals().running.lock(); state && !state->quit) {
            return std::make_shared<Application>(state);
        }
    }
    platform::runtime::Raise(429, "Excel",
                             "no running application of \"" + std::string(progId) + "\"");
}

} // namespace platform::excel
