#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <string>

namespace platform::outlook {
class IRibbonControl;
class IRibbonUI;
} // namespace platform::outlook

namespace shell {

/// Everything about the add-in's ribbon: its XML, the click on its button and its own label
/// texts (German under the id, English under the id + 10000).
class RibbonHandler : public platform::runtime::Object
{
public:
    std::string TypeName() const override { return "RibbonHandler"; }

    /// The ribbon as the host handed it over at onLoad.
    std::shared_ptr<platform::outlook::IRibbonUI> RibbonUI;

    /// The ribbon XML for the explorer window (id compared without letter case); the empty
    /// text for every other ribbon.
    std::string GetCustomUI(const std::string& RibbonID);
    /// Opens the report window when the control is the "ShowReport" button; any other
    /// control does nothing. Errors name the clicked control.
    void RibbonButtonClick(const std::shared_ptr<platform::outlook::IRibbonControl>& Control);
    /// No picture: the button takes the host's built-in image.
    std::shared_ptr<platform::runtime::Object>
    GetImages(const std::shared_ptr<platform::outlook::IRibbonControl>& Control);
    /// The ribbon's own text of nID in the current language; empty for unknown ids.
    static std::string GetRibbonText(long nID);
};

} // namespace shell
