#include "printer/PrinterSettings.h"

namespace printer {

namespace fields = platform::printing::fields;

PrinterSettings::PrinterSettings()
{
    // The defaults of new settings, set through the setters, which normalise each value and
    // mark its field as set.
    SetPaperSize(DMPAPER_A4);
    SetOrientation(DMORIENT_PORTRAIT);
    SetScaleOutput(100);
    SetCopies(1);
    SetPaperBin(DMBIN_UPPER);
    SetColor(DMCOLOR_COLOR);
    SetQuality(DMRES_MEDIUM);
    SetPrintWhat(DMPAGES_ALL);
}

void PrinterSettings::SetCollate(bool bValue)
{
    m_bCollate = bValue;
    MarkChanged(fields::Collate);
}

void PrinterSettings::SetColor(DMColor lValue)
{
    m_lColor = (lValue == DMCOLOR_MONOCHROME || lValue == DMCOLOR_COLOR) ? lValue : DMCOLOR_COLOR;
    MarkChanged(fields::Color);
}

void PrinterSettings::SetCopies(std::int16_t iValue)
{
    m_iCopies = iValue;
    MarkChanged(fields::Copies);
}

void PrinterSettings::SetFromPage(std::int16_t iValue)
{
    m_iFromPage = iValue;
}

void PrinterSettings::SetOrientation(DMOrientation lValue)
{
    m_lOrientation =
        (lValue == DMORIENT_PORTRAIT || lValue == DMORIENT_LANDSCAPE) ? lValue : DMORIENT_PORTRAIT;
    MarkChanged(fields::Orientation);
}

void PrinterSettings::SetPaperBin(DMPaperBin lValue)
{
    const bool bKnown = (lValue >= DMBIN_UPPER && lValue <= DMBIN_LARGECAPACITY) ||
                        lValue == DMBIN_CASSETTE || lValue == DMBIN_USER;
    m_lPaperBin = bKnown ? lValue : DMBIN_UPPER;
    MarkChanged(fields::DefaultSource);
}

void PrinterSettings::SetPaperLength(std::int16_t iValue)
{
    m_iPaperLength = iValue;
    MarkChanged(fields::PaperLength);
}

void PrinterSettings::SetPaperSize(DMPaperSize lValue)
{
    const bool bKnown = lValue == DMPAPER_A3 || lValue == DMPAPER_A4 || lValue == DMPAPER_A5 ||
                        lValue == DMPAPER_A2;
    m_lPaperSize = bKnown ? lValue : DMPAPER_A4;
    MarkChanged(fields::PaperSize);
}

void PrinterSettings::SetPaperWidth(std::int16_t iValue)
{
    m_iPaperWidth = iValue;
    MarkChanged(fields::PaperWidth);
}

void PrinterSettings::SetPrintWhat(DMPages lValue)
{
    m_lPrintWhat = (lValue >= DMPAGES_ALL && lValue <= DMPAGES_PAGENUM) ? lValue : DMPAGES_ALL;
}

void PrinterSettings::SetQuality(DMQuality lValue)
{
    m_lQuality = (lValue >= DMRES_HIGH && lValue <= DMRES_DRAFT) ? lValue : DMRES_MEDIUM;
    MarkChanged(fields::PrintQuality);
}

void PrinterSettings::SetScaleOutput(std::int16_t iValue)
{
    m_iScaleOutput = iValue;
    MarkChanged(fields::Scale);
}

void PrinterSettings::SetToPage(std::int16_t iValue)
{
    m_iToPage = iValue;
}

} // namespace printer
