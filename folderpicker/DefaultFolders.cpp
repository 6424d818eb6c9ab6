#include "folderpicker/DefaultFolders.h"

#include <algorithm>

namespace folderpicker {

void DefaultFolders::Add(const std::string& EntryID, const std::string& StoreID)
{
    m_aFolders.emplace_back(EntryID, StoreID);
}

void DefaultFolders::Clear()
{
    m_aFolders.clear();
}

long DefaultFolders::Count() const
{
    return static_cast<long>(m_aFolders.size());
}

bool DefaultFolders::Contains(const std::string& EntryID, const std::string& StoreID) const
{
    return std::find(m_aFolders.begin(), m_aFolders.end(), std::pair(EntryID, StoreID)) !=
           m_aFolders.end();
}

} // namespace folderpicker
