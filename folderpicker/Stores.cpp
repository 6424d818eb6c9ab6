#include "folderpicker/Stores.h"

#include "platform/runtime/ResumeNext.h"

namespace folderpicker {

namespace rt = platform::runtime;

void Stores::Add(const std::string& StoreID)
{
    rt::ResumeNext()([&] {
        if (!m_colStores.Contains(StoreID))
            m_colStores.Add(StoreID, StoreID);
    });
}

void Stores::Clear()
{
    m_colStores = {};
}

long Stores::Count() const
{
    return m_colStores.Count();
}

std::string Stores::Item(const rt::Variant& Index) const
{
    std::string sStoreID;
    rt::ResumeNext()([&] { sStoreID = m_colStores.Item(rt::CollectionIndex(Index)); });
    return sStoreID;
}

} // namespace folderpicker
