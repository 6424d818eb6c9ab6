#pragma once

#include "engine/detail/cRegistryMasterlist.h"

namespace engine::detail {

/// The list as a text value (client versions 8 and 9).
class cTextMasterlist : public cRegistryMasterlist
{
public:
    std::string ReadCategories() override;
    void WriteCategories(std::string& sList) override;
    std::string Convert(std::string& List) override { return List; }
    std::string Format() override { return {}; }

protected:
    using cRegistryMasterlist::cRegistryMasterlist;
};

} // namespace engine::detail
