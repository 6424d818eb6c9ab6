// The stand-in for the mail client process: it loads the report add-in, connects it and
// clicks its report button, as the client would.
#include "host/ExitCodes.h"
#include "host/GuiHost.h"
#include "host/HostOptions.h"
#include "host/HostSession.h"
#include "host/HostTexts.h"
#include "host/RunEnd.h"
#include "host/TerminalOutput.h"
#include "platform/printing/BackgroundPrint.h"

#include <csignal>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The code a run ends with once what it printed is out: a report that never reached the
// standard output (a full disk, a closed pipe) was not shown, and the run says so.
int WithOutputWritten(int nExit)
{
    if (std::cout.flush())
        return nExit;
    std::cerr << "tallyman: " << host::Say(host::HostText::OutputNotWritten) << "\n";
    return host::RunEnd::MorePressing(nExit, host::ToInt(host::ExitCode::NotKept));
}

} // namespace

int main(int argc, char** argv)
{
    // Names from a store, texts from a file and arguments are printed: none of them may give
    // the terminal an order.
    const host::EscapedStream oOut(std::cout);
    const host::EscapedStream oErr(std::cerr);
    host::HostOptions oOptions;
    const std::vector<std::string> vArgs(argv + 1, argv + argc);
    // What is said about the command line itself is said in the language it asks for.
    host::SetTextLanguage(host::LanguageOfArguments(vArgs, host::LanguageOfEnvironment()));
    try {
        oOptions = host::ParseOptions(vArgs, host::LanguageOfEnvironment());
    } catch (const std::invalid_argument& e) {
        std::cerr << "tallyman: " << e.what() << "\n\n" << host::Usage();
        return host::ToInt(host::ExitCode::Usage);
    }
    if (oOptions.bHelp) {
        std::cout << host::Usage();
        return WithOutputWritten(host::ToInt(host::ExitCode::Ok));
    }
    // A reader that stops early (`tallyman --export r.xlsx | head`) must not end the run
    // before its saves and its clean-up: the writes fail instead, and the end says so. The
    // programs the host starts get the signal's default back (Spawn.cpp).
    std::signal(SIGPIPE, SIG_IGN);
    // Made before any other thread, so that every way the run ends goes through it.
    host::RunEnd oEnd(std::cout, std::cerr);
    // Runs after the wait for the prints below (the steps run newest first): a print that
    // failed, also one that failed after it was sent, ends the run with its code.
    const auto oPrintsFailed = oEnd.AtEnd([&oEnd] {
        if (platform::printing::AnyBackgroundPrintFailed())
            oEnd.Note(host::ExitCode::NotKept);
    });
    // A report printed just before the end is still on its way to the queue.
    const auto oPrints = oEnd.AtEnd([] { host::WaitForPrints(std::cout); });
    const int nExit = oOptions.bGui
                          ? host::RunGuiHost(oOptions, TV_ADDIN_PATH, std::cout, std::cerr)
                          : host::RunHost(oOptions, TV_ADDIN_PATH, std::cin, std::cout, std::cerr);
    return WithOutputWritten(host::RunEnd::MorePressing(nExit, oEnd.Finish()));
}
