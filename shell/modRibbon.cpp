#include "shell/modRibbon.h"

#include "common/ErrorHandling.h"
#include "shell/RibbonHandler.h"

namespace shell::modRibbon {

namespace {
std::shared_ptr<RibbonHandler>& Handler()
{
    static std::shared_ptr<RibbonHandler> g_Rh;
    return g_Rh;
}
} // namespace

std::shared_ptr<RibbonHandler> GetRibbonHandler()
{
    return common::Rethrowing("modRibbon", "g_Rh", [] {
        if (!Handler())
            Handler() = std::make_shared<RibbonHandler>();
        return Handler();
    });
}

void SetRibbonHandler(std::shared_ptr<RibbonHandler> oHandler)
{
    Handler() = std::move(oHandler);
}

const std::shared_ptr<RibbonHandler>& CurrentRibbonHandler()
{
    return Handler();
}

} // namespace shell::modRibbon
