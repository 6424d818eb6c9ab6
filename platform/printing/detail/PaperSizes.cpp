#include "platform/printing/detail/PaperSizes.h"

#include <cups/cups.h>

#include <array>
#include <cstdlib>
#include <string>

namespace platform::printing::detail {

namespace {

struct PaperSize
{
    std::int16_t code;
    const char* media; // the name both PPD and IPP print queues understand
    int width;         // hundredths of a millimetre, as the print server measures
    int length;
};

// The host's paper codes for the sizes that print queues commonly offer. A2 to A5 are the ones
// the system lets the user choose; the others make a queue's default paper (often Letter)
// come back under its own code rather than as an unknown size.
constexpr std::array kPaperSizes{
    PaperSize{1, "Letter", 21590, 27940}, PaperSize{3, "Tabloid", 27940, 43180},
    PaperSize{5, "Legal", 21590, 35560},  PaperSize{7, "Executive", 18415, 26670},
    PaperSize{8, "A3", 29700, 42000},     PaperSize{9, "A4", 21000, 29700},
    PaperSize{11, "A5", 14800, 21000},    PaperSize{13, "B5", 18200, 25700},
    PaperSize{20, "Env10", 10477, 24130}, PaperSize{27, "EnvDL", 11000, 22000},
    PaperSize{28, "EnvC5", 16200, 22900}, PaperSize{66, "A2", 42000, 59400},
    PaperSize{70, "A6", 10500, 14800},
};

// PPD page sizes are whole points, so A4 arrives as 209.9 x 297.0 mm; a millimetre of
// tolerance tells the sizes above apart all the same.
constexpr int kTolerance = 100;

const pwg_media_t* LookUpName(const std::string& name)
{
    if (const pwg_media_t* m = pwgMediaForPWG(name.c_str()))
        return m;
    if (const pwg_media_t* m = pwgMediaForLegacy(name.c_str()))
        return m;
    return pwgMediaForPPD(name.c_str());
}

// Variants of a size share its code: "na_letter_8.5x11in_borderless" is Letter, and so is the
// PPD's "Letter.Fullbleed".
const pwg_media_t* LookUp(std::string name)
{
    if (name.find('_') == std::string::npos) {
        if (const pwg_media_t* m = LookUpName(name))
            return m;
        auto dot = name.find('.');
        return dot == std::string::npos ? nullptr : LookUpName(name.substr(0, dot));
    }
    while (true) {
        if (const pwg_media_t* m = LookUpName(name))
            return m;
        auto last = name.rfind('_');
        if (last == std::string::npos || name.find('_') == last)
            return nullptr;
        name.erase(last);
    }
}

} // namespace

std::optional<std::int16_t> PaperCodeForMedia(std::string_view media)
{
    // A media value may name more than the size ("A4,Upper" in older option sets).
    const pwg_media_t* m = LookUp(std::string(media.substr(0, media.find(','))));
    if (m == nullptr)
        return std::nullopt;
    for (const PaperSize& p : kPaperSizes)
        if (std::abs(p.width - m->width) <= kTolerance &&
            std::abs(p.length - m->length) <= kTolerance)
            return p.code;
    return std::nullopt;
}

std::optional<std::string> MediaForPaperCode(std::int16_t code)
{
    for (const PaperSize& p : kPaperSizes)
        if (p.code == code)
            return std::string(p.media);
    return std::nullopt;
}

std::optional<std::pair<int, int>> PaperDimensionsForCode(std::int16_t code)
{
    for (const PaperSize& p : kPaperSizes)
        if (p.code == code)
            return std::pair{p.width, p.length};
    return std::nullopt;
}

} // namespace platform::printing::detail
