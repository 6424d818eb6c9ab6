#include "shell/IExplorerToolbar.h"

#include "shell/cCommandBar.h"

namespace shell {

namespace {
ExplorerToolbarFactory DefaultFactory()
{
    return [] { return std::make_shared<cCommandBar>(); };
}

ExplorerToolbarFactory& Factory()
{
    static ExplorerToolbarFactory oFactory = DefaultFactory();
    return oFactory;
}
} // namespace

void SetExplorerToolbarFactory(ExplorerToolbarFactory oFactory)
{
    Factory() = oFactory ? std::move(oFactory) : DefaultFactory();
}

std::shared_ptr<IExplorerToolbar> MakeExplorerToolbar()
{
    return Factory() ? Factory()() : nullptr;
}

} // namespace shell
