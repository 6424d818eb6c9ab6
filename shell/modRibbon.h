#pragma once

#include <memory>

namespace shell {
class RibbonHandler;
}

/// The one ribbon handler of the add-in.
namespace shell::modRibbon {

/// The handler, made first when there is none, so that a ribbon callback before start-up or
/// after shutdown still finds one.
std::shared_ptr<RibbonHandler> GetRibbonHandler();
/// Stores the handler (null: none).
void SetRibbonHandler(std::shared_ptr<RibbonHandler> oHandler);
/// The handler held now, without making one.
const std::shared_ptr<RibbonHandler>& CurrentRibbonHandler();

} // namespace shell::modRibbon
