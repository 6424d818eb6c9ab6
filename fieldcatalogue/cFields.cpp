#include "fieldcatalogue/cFields.h"

#include "fieldcatalogue/detail/GenericSort.h"
#include "fieldcatalogue/detail/cBuiltInItemFields.h"
#include "fieldcatalogue/detail/cUserFields.h"
#include "platform/mapi/Folder.h"
#include "platform/runtime/ResumeNext.h"

#include <vector>

namespace fieldcatalogue {
namespace {

namespace rt = platform::runtime;

// The source of an answer: the folder's user fields, or the built-in table of its item type
// (none for mail, contacts, notes and every other type).
std::unique_ptr<detail::IFolderFieldSource>
PickSource(const std::shared_ptr<platform::mapi::Folder>& Folder, bool bStandard)
{
    if (!bStandard)
        return std::make_unique<detail::cUserFields>();
    if (!Folder)
        rt::Raise(rt::errors::ObjectNotSet);
    switch (Folder->DefaultItemType()) {
    case 1:
        return std::make_unique<detail::cAppointmentItemFields>();
    case 3:
        return std::make_unique<detail::cTaskItemFields>();
    case 4:
        return std::make_unique<detail::cJournalItemFields>();
    default:
        return nullptr;
    }
}

} // namespace

std::shared_ptr<cField> cFields::Item(const rt::Variant& Index) const
{
    std::shared_ptr<cField> oField;
    rt::ResumeNext ignore;
    ignore([&] { oField = m_colFields.Item(rt::CollectionIndex(Index)); });
    return oField;
}

void cFields::LoadFields(const std::shared_ptr<platform::mapi::Folder>& Folder, bool bStandard)
{
    // Whatever fails leaves fewer fields or none, never an error.
    rt::ResumeNext ignore;
    std::unique_ptr<detail::IFolderFieldSource> oSource;
    ignore([&] { oSource = PickSource(Folder, bStandard); });
    if (!oSource)
        return;
    oSource->SetParentPtr(this);
    ignore([&] { m_colFields = oSource->GetFields(Folder); });
    ignore([&] { SortByCaption(); });
}

void cFields::SortByCaption()
{
    std::vector<std::shared_ptr<cField>> vFields(m_colFields.begin(), m_colFields.end());
    std::vector<std::string> vCaptions;
    vCaptions.reserve(vFields.size());
    for (const auto& oField : vFields)
        vCaptions.push_back(oField->Caption());
    const std::vector<std::size_t> vOrder = detail::GenericAscendingOrder(vCaptions);

    // The sorted collection replaces the old one only when it is whole, so that a failure
    // leaves the answer complete, if unsorted.
    FieldCollection colSorted;
    for (std::size_t i : vOrder)
        colSorted.Add(vFields[i], vFields[i]->Key());
    m_colFields = std::move(colSorted);
}

} // namespace fieldcatalogue
