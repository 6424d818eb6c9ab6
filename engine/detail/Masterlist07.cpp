#include "engine/detail/Masterlist07.h"

#include "engine/Application.h"
#include "engine/detail/EngineState.h"

#include "common/ErrorHandling.h"
#include "platform/mapi/CategoryList.h"
#include "platform/mapi/MasterCategoryList.h"
#include "platform/outlook/Application.h"
#include "platform/runtime/Error.h"

namespace engine::detail {

namespace rt = platform::runtime;

Masterlist07::Masterlist07() = default;

Masterlist07::~Masterlist07() = default;

void Masterlist07::Init()
{
    common::Rethrowing("Masterlist07", "Init", [&](int& nLine) {
        nLine = 1;
        m_oCategoryList = std::make_shared<platform::mapi::CategoryList>();
        nLine = 2;
        m_oList = m_oCategoryList->GetMasterlist(CurrentRoot().OutlookApp());
    });
}

platform::mapi::MasterCategoryList& Masterlist07::List() const
{
    if (!m_oList)
        throw rt::Error(rt::errors::ObjectNotSet);
    return *m_oList;
}

std::string Masterlist07::ReadCategories()
{
    return List().ReadCategories();
}

void Masterlist07::WriteCategories(std::string& sList)
{
    List().WriteCategories(sList);
}

std::string Masterlist07::Format()
{
    return List().Format();
}

} // namespace engine::detail
