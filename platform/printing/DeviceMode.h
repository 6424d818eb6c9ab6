#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform::printing {

namespace detail {
struct StoredFields;
}

/// Bits of DeviceMode::fields: which fields of a device mode hold values (the values of the
/// Windows dmFields flags, so that callers can keep the host's constants).
namespace fields {
inline constexpr std::uint32_t Orientation = 0x1;
inline constexpr std::uint32_t PaperSize = 0x2;
inline constexpr std::uint32_t PaperLength = 0x4;
inline constexpr std::uint32_t PaperWidth = 0x8;
inline constexpr std::uint32_t Scale = 0x10;
inline constexpr std::uint32_t Copies = 0x100;
inline constexpr std::uint32_t DefaultSource = 0x200;
inline constexpr std::uint32_t PrintQuality = 0x400;
inline constexpr std::uint32_t Color = 0x800;
inline constexpr std::uint32_t Collate = 0x8000;
/// Every field this stand-in reads and writes.
inline constexpr std::uint32_t All = Orientation | PaperSize | PaperLength | PaperWidth | Scale |
                                     Copies | DefaultSource | PrintQuality | Color | Collate;
} // namespace fields

/// The stored settings of one printer in the host's device-mode terms: the public fields of a
/// Windows device mode that the system reads and writes, with the host's numeric codes
/// (paper sizes such as 9 for A4, orientation 1 portrait and 2 landscape, colour 1 monochrome
/// and 2 colour, print quality -1 draft to -4 high or a positive resolution in dots per inch,
/// paper bins such as 7 automatic, 256 and above for printer-specific trays).
struct DeviceMode
{
    /// The printer's name as the print server spells it.
    std::string deviceName;
    /// Which fields hold values (bits of platform::printing::fields). A write changes only the
    /// flagged fields; a read flags every field.
    std::uint32_t fields = 0;
    std::int16_t orientation = 1;   ///< 1 portrait, 2 landscape
    std::int16_t paperSize = 9;     ///< host paper-size code
    std::int16_t paperLength = 0;   ///< tenths of a millimetre; 0 = as the paper size says
    std::int16_t paperWidth = 0;    ///< tenths of a millimetre; 0 = as the paper size says
    std::int16_t scale = 100;       ///< percent
    std::int16_t copies = 1;        ///< number of copies
    std::int16_t defaultSource = 7; ///< paper bin code
    std::int16_t printQuality = -3; ///< -1 draft .. -4 high, or dots per inch when positive
    std::int16_t color = 2;         ///< 1 monochrome, 2 colour
    std::int16_t collate = 0;       ///< 0 no, 1 collate copies

    /// What the printer's stored settings held when this device mode was read (opaque, like the
    /// driver's private part behind a Windows device mode). Writing the device mode back with a
    /// field left as it was read restores exactly the stored value of that field, also where
    /// the print server's setting has no host code. Empty for a device mode made by hand.
    std::shared_ptr<const detail::StoredFields> asRead;
};

/// The page fields (orientation, paper size, length and width, scale) that a job prints with:
/// those flagged in `job`, the others as `stored` holds them. The other fields stay as stored.
DeviceMode LaidOver(DeviceMode stored, const DeviceMode& job);

} // namespace platform::printing
