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
};

/// A print the way it goes to the queue, fixed on the caller's thread when it is asked for.
struct PreparedPrint
{
    PrintRequest request;
    /// The page the document is rendered on: the queue's stored settings as they are now with
    /// the job's settings laid over them (LaidOver).
    PageLayout page;
    /// The locale of the caller when the print was asked for ("de-DE"): the rendered document
    /// shows numbers and dates as the run does, whatever the locale is when it renders.
    std::string localeName;
};

/// A print that ended without reaching the queue.
struct PrintFailure
{
    /// The document as it was asked to be printed.
    std::string file;
    /// The print queue.
    std::string printer;
    /// Why, in the words of the part that failed.
    std::string reason;
};

/// What PrintInBackground will print: the page and the locale of the request as they are now.
/// Throws platform::runtime::Error errors::PrinterNotFound when the queue does not exist.
PreparedPrint PreparePrint(PrintRequest request);

/// Prints a document as the host's file association does: the program behind it prints on
/// its own while the caller goes on. The file is copied at once, so that it may be changed or
/// removed right after the call; the copy is made ready for printing (PrintableDocument) and
/// submitted to the queue on a thread of its own, under the document's file name as the job's
/// title, on the page and in the locale of PreparePrint. The user hears at once, on the
/// caller's thread, that the document was sent to the printer (a runtime Notice of kind Printed
/// with that title and the queue): that is all that is known then. A failure on that thread
/// cannot reach the caller: it is kept for TakeBackgroundPrintFailures, whose caller tells the
/// user. Throws platform::runtime::Error 53 when the file is missing, 75 when no copy can be
/// made, and errors::PrinterNotFound when the queue does not exist.
void PrintInBackground(PrintRequest request);

/// Waits until every print that PrintInBackground started has ended. The process waits so
/// before it exits (also when this is not called), and tests before they look at the queue.
void WaitForBackgroundPrints();

/// Whether a print that PrintInBackground started has not ended yet.
bool BackgroundPrintsRunning();

/// For a process that must end now: ends the prints that PrintInBackground started and that
/// have not ended, at once (the programs that make them ready for the printer are ended, the
/// copies removed), and answers them, oldest first, each with `reason`. Their threads are not
/// waited for.
std::vector<PrintFailure> CutOffBackgroundPrints(const std::string& reason);

/// The failures of background prints since the last call, oldest first.
std::vector<PrintFailure> TakeBackgroundPrintFailures();

/// Whether a print that PrintInBackground started has failed since the process started
/// (whether or not its failure was taken).
bool AnyBackgroundPrintFailed();

} // namespace platform::printing
