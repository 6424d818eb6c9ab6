#include "folderpicker/Dialog.h"

#include "common/ErrorHandling.h"
#include "common/modMain.h"
#include "folderpicker/DefaultFolders.h"
#include "folderpicker/Result.h"
#include "folderpicker/Stores.h"
#include "folderpicker/detail/modRedemption.h"
#include "folderpicker/frmDialog.h"
#include "platform/outlook/Application.h"
#include "platform/runtime/ResumeNext.h"

#include <algorithm>

namespace folderpicker {

namespace rt = platform::runtime;

namespace {
constexpr long kDefaultChunkSize = 100;
}

Dialog::~Dialog()
{
    Dispose();
}

void Dialog::Init(std::shared_ptr<platform::outlook::Application> OutlookApplication)
{
    common::Rethrowing("Dialog", "Init", [&](int& nLine) {
        nLine = 1;
        auto& oGlobals = common::modMain::G();
        oGlobals.g_oOutlookApp.reset();
        oGlobals.g_oNameSpace.reset();
        nLine = 2;
        detail::modRedemption::ReleaseSession(true);
        nLine = 3;
        if (OutlookApplication) {
            oGlobals.g_oOutlookApp = OutlookApplication;
            oGlobals.g_oNameSpace = OutlookApplication->GetNamespace("MAPI");
        }
        nLine = 4;
        m_oDefaultFolders = std::make_shared<folderpicker::DefaultFolders>();
        m_lChunkSize = kDefaultChunkSize;
        m_oLimitStores = std::make_shared<Stores>();
        m_bDefaultStoreOnly = false;
        m_bGetExchangeStores = false;
        m_lShowStoreKind = fskAll;
    });
}

void Dialog::Dispose()
{
    rt::ResumeNext ignore;
    ignore([&] {
        common::modMain::G().g_oOutlookApp.reset();
        common::modMain::G().g_oNameSpace.reset();
    });
    ignore([&] { detail::modRedemption::ReleaseSession(true); });
    m_oDefaultFolders.reset();
    m_oLimitStores.reset();
}

void Dialog::SetChunkSize(long lValue)
{
    m_lChunkSize = std::max(lValue, 0L);
}

std::shared_ptr<Result> Dialog::PickFolder()
{
    auto oWindow = std::make_shared<frmDialog>();
    try {
        return common::Rethrowing("Dialog", "PickFolder",
                                  [&] { return oWindow->PickFolder(*this, m_lChunkSize); });
    } catch (...) {
        rt::ResumeNext()([&] { oWindow->Unload(); });
        throw;
    }
}

} // namespace folderpicker
