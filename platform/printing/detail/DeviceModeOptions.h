#pragma once

#include "platform/printing/DeviceMode.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace platform::printing::detail {

/// Orders option names without regard to ASCII case, as the print server compares them.
struct OptionNameLess
{
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

/// A printer's options by name: the print server's defaults with the user's saved options
/// laid over them.
using Options = std::map<std::string, std::string, OptionNameLess>;

/// The number of device-mode fields the stand-in maps onto options.
inline constexpr std::size_t kFieldCount = 10;

/// The printer's own values for settings that have no option: its default paper.
struct PrinterDefaults
{
    std::int16_t paperSize = 9;
};

/// What a device mode's fields were read from (DeviceMode::asRead).
struct StoredFields
{
    /// The field values as read, in the order of the stand-in's field table.
    std::array<std::int16_t, kFieldCount> values{};
    /// The options that the fields were read from, private ones included, exactly as stored.
    Options options;
};

/// The device mode that a printer's options describe, every field flagged, with asRead set.
/// A private option holds a value that the print server has no option for; it counts only as
/// long as the server options of its field are still those it was stored beside, so a setting
/// changed later by other means wins.
DeviceMode DecodeDeviceMode(std::string deviceName, const Options& options,
                            const PrinterDefaults& defaults);

/// Writes the flagged fields of a device mode into a printer's options. A field whose value is
/// still the one it was read with gets back exactly the options it was read from; any other
/// field gets the print server's option for its value and, where that option cannot say the
/// value exactly (or there is none), a private option that keeps it.
void EncodeDeviceMode(const DeviceMode& deviceMode, Options& options,
                      const PrinterDefaults& defaults);

/// Whether two device modes agree in the fields flagged in `fieldMask`.
bool SameFields(const DeviceMode& a, const DeviceMode& b, std::uint32_t fieldMask);

/// True for the option names in which the stand-in keeps values of its own; they are never
/// handed to the print server with a job.
bool IsPrivateOption(std::string_view name);

} // namespace platform::printing::detail
