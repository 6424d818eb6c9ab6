#include "platform/mapi/CategoryList.h"

#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/MasterCategoryList.h"
#include "platform/mapi/detail/Context.h"
#include "platform/runtime/Error.h"
#include "platform/store/KnownProperties.h"

namespace platform::mapi {

namespace {

constexpr const char* kSource = "CategoryList";

// The default store of the profile, opened through the process's shared stores so that the
// client's views see a change at once.
template <typename F> auto WithDefaultStore(const std::string& profilePath, F&& body)
{
    if (profilePath.empty())
        runtime::Raise(detail::MAPI_E_LOGON_FAILED, kSource, "No profile is set.");
    detail::Context context(profilePath);
    return detail::Guard(kSource, [&] { return body(context.GetStore(context.DefaultStoreId())); });
}

} // namespace

std::shared_ptr<MasterCategoryList>
CategoryList::GetMasterlist(const std::shared_ptr<runtime::Object>& application) const
{
    if (!application)
        runtime::Raise(runtime::errors::ObjectNotSet, kSource);
    const std::string profile = CurrentProfile();
    if (profile.empty())
        runtime::Raise(detail::MAPI_E_LOGON_FAILED, kSource, "No profile is set.");
    return std::make_shared<MasterCategoryList>(profile);
}

MasterCategoryList::MasterCategoryList(std::string profilePath)
    : m_profilePath(std::move(profilePath))
{
}

std::string MasterCategoryList::ReadCategories() const
{
    return WithDefaultStore(m_profilePath, [](store::Store& st) {
        const auto value = st.GetProperty(store::props::PR_MASTER_CATEGORY_LIST);
        const auto* text = value ? std::get_if<std::string>(&*value) : nullptr;
        return text ? *text : std::string();
    });
}

void MasterCategoryList::WriteCategories(const std::string& list)
{
    WithDefaultStore(m_profilePath, [&](store::Store& st) {
        if (list.empty())
            st.DeleteProperty(store::props::PR_MASTER_CATEGORY_LIST);
        else
            st.SetProperty(store::props::PR_MASTER_CATEGORY_LIST, store::PropValue{list});
        return 0;
    });
}

} // namespace platform::mapi
