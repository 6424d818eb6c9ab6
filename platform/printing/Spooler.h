#pragma once

#include "platform/printing/DeviceMode.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::printing {

/// Numbers of the errors the spooler raises (platform::runtime::Error).
namespace errors {
/// No installed printer has that name (0x80040000 + the host's "invalid printer name").
inline constexpr std::int32_t PrinterNotFound = -2147221504 + 1801;
/// The print server did not take a job (0x80040000 + the host's "no document started").
inline constexpr std::int32_t JobNotAccepted = -2147221504 + 3003;
/// The user's printer settings could not be stored: "Path/File access error".
inline constexpr std::int32_t SettingsNotStored = 75;
} // namespace errors

/// The host's print spooler, played by the CUPS print server: the installed printers are the
/// server's print queues, a printer's stored settings are the user's saved options for that
/// queue, the default printer is the user's default queue, and printing submits a job.
///
/// Everything the spooler stores belongs to the user (the options file in the user's home
/// folder, "~/.cups/lpoptions"), so neither reading nor writing needs administrative rights.
/// The home folder is the one that $HOME named at the first print-server call of the thread.
/// Printer names are compared without regard to case, as the host does. A spooler connects to
/// the server on first use and keeps the connection for its life.
class Spooler
{
public:
    Spooler();
    ~Spooler();
    Spooler(const Spooler&) = delete;
    Spooler& operator=(const Spooler&) = delete;

    /// The names of the installed printers in the server's order. Empty when the server has
    /// none or does not answer.
    std::vector<std::string> PrinterNames();

    /// The user's default printer, or the empty string when there is none. The environment
    /// variables LPDEST and PRINTER override the stored default, as for every print command.
    std::string DefaultPrinterName();

    /// Makes the named printer the user's default printer. False when no printer has that name,
    /// the choice cannot be stored, or the environment overrides it (see DefaultPrinterName).
    bool SetDefaultPrinter(std::string_view name);

    /// The printer's stored settings, every field flagged and filled: the user's saved option
    /// where there is one, else the printer's default. Empty when no printer has that name or
    /// the server does not answer.
    std::optional<DeviceMode> ReadDeviceMode(std::string_view name);

    /// Stores the flagged fields of `deviceMode` as the printer's settings; all other stored
    /// settings stay. A field left as ReadDeviceMode gave it gets back exactly what was stored.
    /// Values the server has no option for are kept in options of the stand-in's own, so that
    /// they read back unchanged. The user's default printer is not changed. Throws
    /// platform::runtime::Error: errors::PrinterNotFound when no printer has that name,
    /// errors::SettingsNotStored when the settings cannot be written.
    void WriteDeviceMode(std::string_view name, const DeviceMode& deviceMode);

    /// Prints the file on the named printer with the printer's stored settings and returns the
    /// job's id. Throws platform::runtime::Error: errors::PrinterNotFound when no printer has
    /// that name, errors::JobNotAccepted when the server refuses the job.
    int PrintFile(std::string_view printer, const std::string& path, std::string_view title);
    /// Prints the file on the named printer with the flagged fields of `jobSettings` laid
    /// over the printer's stored settings, for this job only: neither the stored settings nor
    /// the default printer change. Returns the job's id; throws as the other PrintFile.
    int PrintFile(std::string_view printer, const std::string& path, std::string_view title,
                  const DeviceMode& jobSettings);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform::printing
