#include "shell/IExplorerToolbar.h"

namespace shell {

namespace {
ExplorerToolbarFactory& Factory()
{
    static ExplorerToolbarFactory oFactory;
    return oFactory;
}
} // namespace

void SetExplorerToolbarFactory(ExplorerToolbarFactory oFactory)
{
    Factory() = std::move(oFactory);
}

std::shared_ptr<IExplorerToolbar> MakeExplorerToolbar()
{
    return Factory() ? Factory()() : nullptr;
}

} // namespace shell
