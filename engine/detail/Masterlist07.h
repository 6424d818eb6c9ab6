#pragma once

#include "engine/detail/IMasterlist.h"

#include <memory>

namespace platform::mapi {
class CategoryList;
class MasterCategoryList;
} // namespace platform::mapi

namespace engine::detail {

/// The master list of client version 12 and later, reached through the client's category-list
/// component. Its failures reach the caller.
class Masterlist07 final : public IMasterlist
{
public:
    Masterlist07();
    ~Masterlist07() override;

    /// Creates the category-list component and takes the list object it gives for the
    /// current root's client. Raises 91 without a current root or client.
    void Init();

    std::string ReadCategories() override;
    void WriteCategories(std::string& sList) override;
    std::string Convert(std::string& List) override { return List; }
    std::string Format() override;
    std::string SECTION() const override { return {}; }
    std::string Setting() const override { return {}; }

private:
    // The list object; raises 91 before Init.
    platform::mapi::MasterCategoryList& List() const;

    std::shared_ptr<platform::mapi::CategoryList> m_oCategoryList;
    std::shared_ptr<platform::mapi::MasterCategoryList> m_oList;
};

} // namespace engine::detail
