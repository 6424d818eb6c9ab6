#include "folderpicker/Result.h"

#include "common/Deliverable.h"
#include "common/ErrorObject.h"
#include "platform/runtime/ResumeNext.h"

#include <string>

namespace folderpicker {

namespace rt = platform::runtime;

Result::~Result()
{
    for (const auto& oItem : m_colItems)
        if (oItem)
            oItem->ResetParentPtr();
}

long Result::Count() const
{
    return m_colItems.Count();
}

std::shared_ptr<folderpicker::Item> Result::Item(const rt::Variant& Index) const
{
    std::shared_ptr<folderpicker::Item> oItem;
    rt::ResumeNext()([&] { oItem = m_colItems.Item(rt::CollectionIndex(Index)); });
    return oItem;
}

void Result::Add(const std::shared_ptr<folderpicker::Item>& oItem)
{
    int nLine = 0;
    try {
        nLine = 1;
        const std::string sKey = std::to_string(m_lCounter);
        nLine = 2;
        oItem->ToIChild().Init(this, sKey);
        nLine = 3;
        m_colItems.Add(oItem, sKey);
        nLine = 4;
        ++m_lCounter;
    } catch (...) {
        // This class writes its line number straight after the procedure: "Result.Add(3)".
        common::ErrorObject oError;
        bool bFlag = false;
        oError.CaptureError(std::string(common::ThisDeliverable().sName) + ".Result.Add(" +
                                std::to_string(nLine) + ")",
                            bFlag);
        oError.ReRaise();
    }
}

} // namespace folderpicker
