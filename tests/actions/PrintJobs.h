#pragma once

#include "tests/platform/printing/CupsFixture.h"

#include <cups/cups.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace actions::test {

/// Why the printing tests cannot run: the test queue the print server lacks; "" when both
/// are there.
inline std::string MissingTestQueues()
{
    namespace testing = platform::printing::testing;
    const auto vNames = platform::printing::Spooler().PrinterNames();
    for (const char* sQueue : {testing::kPdfQueue, testing::kNullQueue})
        if (std::find(vNames.begin(), vNames.end(), sQueue) == vNames.end())
            return std::string("no print server with the queue ") + sQueue +
                   "; scripts/start-cups.sh (run as root) sets it up";
    return {};
}

using platform::printing::testing::Output;

using platform::printing::testing::BackgroundJob;
using platform::printing::testing::NewestJob;

/// The titles of this user's jobs on a queue newer than job `lAfter`.
inline std::vector<std::string> JobTitlesSince(const std::string& sQueue, int lAfter)
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, sQueue.c_str(), 1, CUPS_WHICHJOBS_ALL);
    std::vector<std::string> vTitles;
    for (int i = 0; i < count; ++i)
        if (jobs[i].id > lAfter)
            vTitles.emplace_back(jobs[i].title ? jobs[i].title : "");
    cupsFreeJobs(count, jobs);
    return vTitles;
}

/// One attribute of a job as the print server keeps it, as text; "" when it has none.
inline std::string JobAttribute(int lJob, const char* sName)
{
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const std::string sUri = "ipp://localhost/jobs/" + std::to_string(lJob);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, sUri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    std::string sValue;
    if (ipp_attribute_t* attr = ippFindAttribute(response, sName, IPP_TAG_ZERO)) {
        std::array<char, 1024> text{};
        ippAttributeString(attr, text.data(), text.size());
        sValue = text.data();
    }
    ippDelete(response);
    return sValue;
}

/// The PDF that cups-pdf made of a job whose title begins with the stem; empty when none.
inline std::filesystem::path PrintedPdf(const std::string& sStem)
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(platform::printing::testing::CupsPdfOutputFolder(), ec))
        if (entry.path().filename().string().rfind(sStem, 0) == 0)
            return entry.path();
    return {};
}

} // namespace actions::test
