#pragma once

#include "platform/printing/DeviceMode.h"
#include "platform/runtime/Object.h"
#include "printer/PrinterEnums.h"

#include <cstdint>
#include <optional>
#include <string>

namespace printer {

namespace detail {
class PrinterSettingsAccess;
}

/// The page, device and print-range settings of one named printer. The library fills one from
/// a printer's stored settings (PrinterObject::GetPrinterSettings) and writes one back
/// (PrinterObject::SetPrinterSettings); the add-in's print action keeps one per view.
///
/// Every setter normalises its value, so that an object always holds a value the library can
/// hand to the printer: a value outside a property's enumeration becomes the property's
/// default (see each setter). The 16-bit values are stored as given.
///
/// Settings read from a printer also remember what the printer had stored, so that writing
/// them back unchanged puts back exactly the printer's own values (letter paper, a resolution
/// in dots per inch, a printer-specific bin) rather than their normalised forms.
class PrinterSettings : public platform::runtime::Object
{
public:
    /// Paper A4, portrait, scale 100, one copy, upper bin, colour, medium quality, all pages;
    /// not collated, no page range or custom paper dimensions, no printer name.
    PrinterSettings();

    std::string TypeName() const override { return "PrinterSettings"; }

    /// Whether copies are collated.
    bool Collate() const { return m_bCollate; }
    /// Stored unchanged.
    void SetCollate(bool bValue);

    /// Colour or monochrome.
    DMColor Color() const { return m_lColor; }
    /// A value other than 1 or 2 is stored as 2 (colour).
    void SetColor(DMColor lValue);

    /// The number of copies.
    std::int16_t Copies() const { return m_iCopies; }
    /// Stored unchanged, 0 and negative values included.
    void SetCopies(std::int16_t iValue);

    /// The first page of a page range (print dialog only; not stored with the printer).
    std::int16_t FromPage() const { return m_iFromPage; }
    /// Stored unchanged.
    void SetFromPage(std::int16_t iValue);

    /// Portrait or landscape.
    DMOrientation Orientation() const { return m_lOrientation; }
    /// A value other than 1 or 2 is stored as 1 (portrait).
    void SetOrientation(DMOrientation lValue);

    /// The paper bin.
    DMPaperBin PaperBin() const { return m_lPaperBin; }
    /// A value outside 1 to 11, 14 and 256 is stored as 1 (upper bin).
    void SetPaperBin(DMPaperBin lValue);

    /// Paper length in tenths of a millimetre; 0 when the paper size decides.
    std::int16_t PaperLength() const { return m_iPaperLength; }
    /// Stored unchanged.
    void SetPaperLength(std::int16_t iValue);

    /// The paper size: A2, A3, A4 or A5.
    DMPaperSize PaperSize() const { return m_lPaperSize; }
    /// A value other than 8, 9, 11 or 66 is stored as 9 (A4).
    void SetPaperSize(DMPaperSize lValue);

    /// Paper width in tenths of a millimetre; 0 when the paper size decides.
    std::int16_t PaperWidth() const { return m_iPaperWidth; }
    /// Stored unchanged.
    void SetPaperWidth(std::int16_t iValue);

    /// The printer these settings belong to; empty until the library sets it.
    const std::string& PrinterName() const { return m_sPrinterName; }

    /// What the print dialog's range choice prints (print dialog only).
    DMPages PrintWhat() const { return m_lPrintWhat; }
    /// A value outside 0 to 2 is stored as 0 (all pages).
    void SetPrintWhat(DMPages lValue);

    /// The print quality.
    DMQuality Quality() const { return m_lQuality; }
    /// A value outside -4 to -1 (a resolution in dots per inch, for one) is stored as -3.
    void SetQuality(DMQuality lValue);

    /// The scale in percent.
    std::int16_t ScaleOutput() const { return m_iScaleOutput; }
    /// Stored unchanged.
    void SetScaleOutput(std::int16_t iValue);

    /// The last page of a page range (print dialog only).
    std::int16_t ToPage() const { return m_iToPage; }
    /// Stored unchanged.
    void SetToPage(std::int16_t iValue);

private:
    friend class detail::PrinterSettingsAccess;

    void MarkChanged(std::uint32_t lField) { m_lChanged |= lField; }

    bool m_bCollate = false;
    DMColor m_lColor = DMCOLOR_COLOR;
    std::int16_t m_iCopies = 0;
    std::int16_t m_iFromPage = 0;
    DMOrientation m_lOrientation = DMORIENT_PORTRAIT;
    DMPaperBin m_lPaperBin = DMBIN_UPPER;
    std::int16_t m_iPaperLength = 0;
    DMPaperSize m_lPaperSize = DMPAPER_A4;
    std::int16_t m_iPaperWidth = 0;
    std::string m_sPrinterName;
    DMPages m_lPrintWhat = DMPAGES_ALL;
    DMQuality m_lQuality = DMRES_MEDIUM;
    std::int16_t m_iScaleOutput = 0;
    std::int16_t m_iToPage = 0;

    // The printer's stored settings these were read from, and which device-mode fields
    // (platform::printing::fields bits) a setter has changed since.
    std::optional<platform::printing::DeviceMode> m_oStoredDevMode;
    std::uint32_t m_lChanged = 0;
};

} // namespace printer
