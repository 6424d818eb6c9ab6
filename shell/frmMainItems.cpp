// The report window's way back from grid rows to the items they were read from.
#include "shell/frmMain.h"

#include "common/Deliverable.h"
#include "common/ErrorHandling.h"
#include "common/modLabelControls.h"
#include "common/modRedemption.h"
#include "engine/Record.h"
#include "engine/Records.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Session.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Variant.h"

namespace shell {

namespace rt = platform::runtime;
namespace pf = platform::forms;

namespace {
constexpr int kExclamation = 48;
// "Ein Element kann nicht angezeigt werden." / "One item cannot be displayed."
constexpr long kItemNotShown = 60;
constexpr std::int32_t kItemNotShownNumber = -718605772;
} // namespace

void frmMain::OpenOutlookItem()
{
    common::Logging(
        "frmMain", "OpenOutlookItem",
        [&](int& nLine) {
            nLine = 1;
            if (m_fg->Row() < m_fg->FixedRows())
                return;
            nLine = 2;
            long lCount = 0;
            const auto vRecords = GetSelectedRecords(lCount);
            if (lCount == 0)
                return;
            nLine = 3;
            for (const auto& oRecord : vRecords) {
                // Group and total rows stand for no item.
                if (!oRecord)
                    continue;
                auto oItem = GetOutlookItem(*oRecord);
                if (!oItem)
                    throw rt::Error(kItemNotShownNumber, "frmMain",
                                    common::modLabelControls::GetResText(kItemNotShown));
                oItem->Display();
            }
        },
        [](common::ErrorObject& oError) {
            oError.SetDescription(common::modLabelControls::GetResText(kItemNotShown));
            pf::MsgBox(oError.Description(), kExclamation, common::ThisDeliverable().sAppTitle);
        });
}

std::shared_ptr<platform::mapi::Message> frmMain::GetOutlookItem(const engine::Record& oRecord)
{
    rt::ResumeNext ignore;
    std::string sEntryID;
    std::string sStoreID;
    std::shared_ptr<platform::mapi::Message> oItem;
    ignore([&] { sEntryID = oRecord.EntryID(); });
    ignore([&] { sStoreID = oRecord.StoreID(); });
    ignore([&] {
        oItem =
            common::modRedemption::g_Session()->GetMessageFromID(sEntryID, rt::Variant(sStoreID));
    });
    return oItem;
}

std::vector<std::shared_ptr<engine::Record>> frmMain::GetSelectedRecords(long& lCount)
{
    rt::ResumeNext ignore;
    lCount = 0;
    ignore([&] { lCount = m_fg->SelectedRows(); });
    std::vector<std::shared_ptr<engine::Record>> vRecords(static_cast<std::size_t>(lCount));
    for (long i = 0; i < lCount; ++i) {
        // A row without a record (a group or total row) leaves its entry empty.
        ignore([&] {
            const int lRow = m_fg->SelectedRow(static_cast<int>(i));
            vRecords[static_cast<std::size_t>(i)] = m_oRecords->Item(m_fg->RowData(lRow));
        });
    }
    return vRecords;
}

} // namespace shell
