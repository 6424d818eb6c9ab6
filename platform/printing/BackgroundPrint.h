#pragma once

#include "platform/printing/DeviceMode.h"
#include "platform/printing/PrintableDocument.h"

#include <optional>
#include <string>
#include <vector>

namespace platform::printing {

/// What a background print is to do, fixed when it is asked for.
struct PrintRequest
{
    /// The print queue.
    std::string printer;
    /// The document to print.
    std::string file;
    /// Settings for this job only, laid over the queue's stored ones; none: the stored ones.
    std::optional<DeviceMode> jobSettings;
    /// The page the document is rendered on (PrintableDocument).
    PageLayout page;
    /// The locale the rendered document shows numbers and dates in ("de-DE").
    std::string localeName;
};

/// Prints a document as the host's file association does: the program behind it prints on
/// its own while the caller goes on. The file is copied at once, so that it may be changed or
/// removed right after the call; the copy is made ready for printing (PrintableDocument) and
/// submitted to the queue on a thread of its own, under the document's file name as the job's
/// title. The user hears of the print at once, on the caller's thread (a runtime Notice of
/// kind Printed with that title and the queue). A failure on that thread cannot reach the caller:
/// it is written to the standard error stream and kept for TakeBackgroundPrintFailures. Throws
/// platform::runtime::Error 53 when the file is missing, and 75 when no copy can be made.
void PrintInBackground(PrintRequest request);

/// Waits until every print that PrintInBackground started has ended. The process waits so
/// before it exits (also when this is not called), and tests before they look at the queue.
void WaitForBackgroundPrints();

/// The failures of background prints since the last call, one sentence each, oldest first.
std::vector<std::string> TakeBackgroundPrintFailures();

} // namespace platform::printing
