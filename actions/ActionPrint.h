#pragma once

#include "common/IChild.h"
#include "platform/runtime/Object.h"
#include "printer/PrinterSettings.h"
#include "views/ISerializeString.h"

#include <cstdint>
#include <memory>
#include <string>

namespace actions {

class Action;

/// The print action of a view: prints the saved report file, optionally on a chosen printer
/// with stored settings.
class ActionPrint : public platform::runtime::Object,
                    public common::ChildLink<Action>,
                    public views::ISerializeString
{
public:
    std::string TypeName() const override { return "ActionPrint"; }

    /// Stored, copied and serialised with the view.
    bool Active() const { return m_bActive; }
    void SetActive(bool bValue) { m_bActive = bValue; }
    /// Run after a read.
    bool AutoExecute() const { return m_bAutoExecute; }
    void SetAutoExecute(bool bValue) { m_bAutoExecute = bValue; }
    /// 1 prints at once, 0 shows the print dialog (stored only).
    std::int32_t PrintAction() const { return m_lPrintAction; }
    void SetPrintAction(std::int32_t lValue) { m_lPrintAction = lValue; }
    /// The held printer settings (the object itself, shared); null for the default printer.
    const std::shared_ptr<printer::PrinterSettings>& PrinterSettings() const
    {
        return m_oPrinterSettings;
    }
    /// Holds the given object itself (no copy); null drops the settings.
    void SetPrinterSettings(std::shared_ptr<printer::PrinterSettings> oValue)
    {
        m_oPrinterSettings = std::move(oValue);
    }

    /// Prints the file the save action wrote last (nothing when none) as a person sees it, in
    /// one job: on the held settings' printer with those settings for this job only, or
    /// without settings on the default printer with its stored settings. The default printer
    /// and every printer's stored settings stay as they are. Returns once the job is on its way,
    /// as a file association prints on its own: a printer that is gone (or no default printer)
    /// and a saved file that is missing raise an error to the caller; a file that cannot be
    /// made ready and a job the print server refuses come later and never reach the caller
    /// (the host that runs the add-in tells the person).
    void Execute();
    /// Shows the print dialog preset with the held settings and holds the chosen ones; on
    /// cancel the old ones (none included) stay. Errors are raised to the caller.
    void PickPrinterSettings();

    /// The action as its parent link.
    common::IChild& AsIChild() { return *this; }
    /// Seventeen fields: Active, AutoExecute, PrintAction and the fourteen printer settings
    /// (empty without settings).
    std::string ToString() const override;
    /// Reads the seventeen fields; the printer settings come from the named printer's current
    /// ones, overwritten by the stored values, and are dropped when the printer cannot be read
    /// or no name is stored. Raises 9 for fewer fields.
    void ToObject(std::string& sData) override;

private:
    bool m_bActive = false;
    bool m_bAutoExecute = false;
    std::int32_t m_lPrintAction = 0;
    std::shared_ptr<printer::PrinterSettings> m_oPrinterSettings;
};

} // namespace actions
