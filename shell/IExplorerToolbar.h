#pragma once

#include <functional>
#include <memory>

namespace platform::outlook {
class CommandBar;
class CommandBars;
} // namespace platform::outlook
namespace common {
class IChild;
}

namespace shell {

/// What an explorer wrapper needs of the add-in's toolbar object (for client versions before
/// 14): make or adopt the bar, hand it out, and close it with its placement saved.
class IExplorerToolbar
{
public:
    virtual ~IExplorerToolbar() = default;
    /// Makes or adopts the bar in the collection; null when none could be had.
    virtual std::shared_ptr<platform::outlook::CommandBar>
    CreateBar(const std::shared_ptr<platform::outlook::CommandBars>& oBars) = 0;
    /// The bar made by CreateBar, or null.
    virtual std::shared_ptr<platform::outlook::CommandBar> Bar() const = 0;
    /// Saves the bar's placement and deletes it (found by name in oBars, or the bar held
    /// when oBars is null).
    virtual void Close(const std::shared_ptr<platform::outlook::CommandBars>& oBars) = 0;
    virtual common::IChild& AsIChild() = 0;
};

/// Makes the toolbar object of one explorer; null when the add-in has none to give. The
/// add-in's own toolbar (cCommandBar) is the default.
using ExplorerToolbarFactory = std::function<std::shared_ptr<IExplorerToolbar>()>;

/// Sets how explorer wrappers make their toolbar (empty: the add-in's own toolbar again).
void SetExplorerToolbarFactory(ExplorerToolbarFactory oFactory);
/// A new toolbar object, or null when the factory gives none.
std::shared_ptr<IExplorerToolbar> MakeExplorerToolbar();

} // namespace shell
