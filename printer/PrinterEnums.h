#pragma once

#include <cstdint>

// The enumerations of the printer library's type library. Their values are the host's
// device-mode and print-dialog constants of the same names.
namespace printer {

/// Paper sizes a view can print on.
enum DMPaperSize : std::int32_t
{
    DMPAPER_A3 = 8,
    DMPAPER_A4 = 9,
    DMPAPER_A5 = 11,
    DMPAPER_A2 = 66,
};

/// Page orientation.
enum DMOrientation : std::int32_t
{
    DMORIENT_PORTRAIT = 1,
    DMORIENT_LANDSCAPE = 2,
};

/// Colour or monochrome printing.
enum DMColor : std::int32_t
{
    DMCOLOR_MONOCHROME = 1,
    DMCOLOR_COLOR = 2,
};

/// Paper bins; 256 and above are the printer's own.
enum DMPaperBin : std::int32_t
{
    DMBIN_UPPER = 1,
    DMBIN_ONLYONE = 1,
    DMBIN_LOWER = 2,
    DMBIN_MIDDLE = 3,
    DMBIN_MANUAL = 4,
    DMBIN_ENVELOPE = 5,
    DMBIN_ENVMANUAL = 6,
    DMBIN_AUTO = 7,
    DMBIN_TRACTOR = 8,
    DMBIN_SMALLFMT = 9,
    DMBIN_LARGEFMT = 10,
    DMBIN_LARGECAPACITY = 11,
    DMBIN_CASSETTE = 14,
    DMBIN_USER = 256,
};

/// Print quality.
enum DMQuality : std::int32_t
{
    DMRES_DRAFT = -1,
    DMRES_LOW = -2,
    DMRES_MEDIUM = -3,
    DMRES_HIGH = -4,
};

/// What the print dialog's range choice prints.
enum DMPages : std::int32_t
{
    DMPAGES_ALL = 0,
    DMPAGES_SELECTION = 1,
    DMPAGES_PAGENUM = 2,
};

} // namespace printer
