#pragma once

#include "platform/printing/BackgroundPrint.h"
#include "platform/printing/Spooler.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <pwd.h>
#include <sstream>
#include <string>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace platform::printing::testing {

/// The queues that scripts/start-cups.sh sets up: a PDF printer and one that prints nothing.
inline constexpr const char* kPdfQueue = "TallymanPDF";
inline constexpr const char* kNullQueue = "TallymanNull";

/// The standard output of a command, or "" when it cannot run.
inline std::string Output(const std::string& sCommand)
{
    std::string sOut;
    if (FILE* pipe = ::popen(sCommand.c_str(), "r")) {
        std::array<char, 4096> buffer{};
        for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
            sOut.append(buffer.data(), n);
        ::pclose(pipe);
    }
    return sOut;
}

/// A home folder of the test process's own, made before the first print-server call: the
/// print server's client library reads the user's saved options from the home folder it sees
/// first, so every test of a process shares this one and starts with its options file removed.
/// Keeps the tests away from the real user's printer settings and lets test processes run in
/// parallel.
inline const std::filesystem::path& ProcessHome()
{
    struct Home
    {
        std::filesystem::path path;
        Home()
        {
            auto pattern =
                (std::filesystem::temp_directory_path() / "tv-cups-home-XXXXXX").string();
            if (::mkdtemp(pattern.data()) != nullptr)
                path = pattern;
            ::setenv("HOME", path.c_str(), 1);
            // These would override the default printer that the tests set.
            ::unsetenv("LPDEST");
            ::unsetenv("PRINTER");
        }
        ~Home()
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Home home;
    return home.path;
}

// Made while the test program starts, before any test can reach the print server's library.
inline const bool kProcessHomeReady = !ProcessHome().empty();

/// Where cups-pdf writes the PDF files of the current user's jobs: the "Out" setting of
/// /etc/cups/cups-pdf.conf (Debian: "${HOME}/PDF", where HOME is the job owner's home folder
/// from the passwd entry, not the environment's), or cups-pdf's built-in
/// "/var/spool/cups-pdf/${USER}" when the setting is missing.
inline std::filesystem::path CupsPdfOutputFolder()
{
    std::string out = "/var/spool/cups-pdf/${USER}";
    std::ifstream conf("/etc/cups/cups-pdf.conf");
    std::string line;
    while (std::getline(conf, line)) {
        std::istringstream words(line);
        std::string key;
        std::string value;
        if (words >> key >> value && key == "Out")
            out = value;
    }
    const passwd* pw = ::getpwuid(::getuid());
    const auto replace = [&out](const std::string& variable, const std::string& value) {
        for (auto at = out.find(variable); at != std::string::npos; at = out.find(variable))
            out.replace(at, variable.size(), value);
    };
    replace("${HOME}", pw ? pw->pw_dir : "");
    replace("${USER}", pw ? pw->pw_name : "");
    return out;
}

/// The newest job of this user on a queue with that title (any title when empty); 0 when
/// there is none.
inline int NewestJob(const std::string& queue, const std::string& title)
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.c_str(), 1, CUPS_WHICHJOBS_ALL);
    int id = 0;
    for (int i = 0; i < count; ++i)
        if ((title.empty() || (jobs[i].title && title == jobs[i].title)) && jobs[i].id > id)
            id = jobs[i].id;
    cupsFreeJobs(count, jobs);
    return id;
}

/// The job that a print in the background submitted, once every such print has ended: the
/// newest of this user on the queue with that title; 0 when there is none.
inline int BackgroundJob(const std::string& queue, const std::string& title)
{
    WaitForBackgroundPrints();
    return NewestJob(queue, title);
}

/// Waits until the job has ended (completed, cancelled or aborted) and returns its final state,
/// or 0 when it has not ended within the time limit.
inline int WaitForJob(const std::string& queue, int jobId, std::chrono::seconds limit)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        cups_job_t* jobs = nullptr;
        const int count =
            cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.c_str(), 1, CUPS_WHICHJOBS_ALL);
        int state = 0;
        for (int i = 0; i < count; ++i)
            if (jobs[i].id == jobId)
                state = jobs[i].state;
        cupsFreeJobs(count, jobs);
        if (state >= IPP_JSTATE_CANCELED)
            return state;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return 0;
}

/// Pins TZ and locale, gives each test a fresh data folder and empty printer settings of the
/// user, and skips the test with a message when no print server with the test queues answers.
class CupsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("TZ", "Europe/Berlin", 1);
        ::tzset();
        std::setlocale(LC_ALL, "C");
        const auto& home = ProcessHome();
        ASSERT_FALSE(home.empty()) << "no temporary home folder";
        std::error_code ignored;
        std::filesystem::remove(home / ".cups" / "lpoptions", ignored);
        data_ = home / ("data-" + std::to_string(++counter_));
        std::filesystem::create_directories(data_);
        ::setenv("XDG_CONFIG_HOME", data_.c_str(), 1);

        const auto names = Spooler().PrinterNames();
        for (const char* queue : {kPdfQueue, kNullQueue})
            if (std::find(names.begin(), names.end(), queue) == names.end())
                GTEST_SKIP() << "no print server with the queue " << queue
                             << " answers; scripts/start-cups.sh (run as root) sets it up";
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(data_, ignored);
        ::unsetenv("XDG_CONFIG_HOME");
    }

    /// The user's saved printer options file of this process.
    static std::filesystem::path OptionsFile() { return ProcessHome() / ".cups" / "lpoptions"; }

    /// The whole content of a file; empty when it cannot be read.
    static std::string ReadFile(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    /// The PDF file that cups-pdf made of the job with this title (it names the file after the
    /// title), or an empty path when there is none.
    static std::filesystem::path FindPrintedPdf(const std::string& title)
    {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(CupsPdfOutputFolder(), ec))
            if (entry.path().filename().string().rfind(title, 0) == 0)
                return entry.path();
        return {};
    }

    /// The data folder of this test.
    const std::filesystem::path& data() const { return data_; }

    /// Writes a small PostScript page into the data folder and returns its path.
    std::filesystem::path WritePage(const std::string& name) const
    {
        const auto path = data_ / name;
        std::ofstream(path) << "%!PS\n/Helvetica findfont 20 scalefont setfont\n"
                               "72 700 moveto (Tallyman test page) show showpage\n";
        return path;
    }

private:
    std::filesystem::path data_;
    static inline int counter_ = 0;
};

} // namespace platform::printing::testing
