#include "fieldcatalogue/detail/cBuiltInItemFields.h"

#include "platform/runtime/ResumeNext.h"

namespace fieldcatalogue::detail {
namespace {

namespace rt = platform::runtime;

// The LID travels as a signed 16-bit Integer (0x8506 is -31482), a string name as String,
// tagged and computed fields carry the Integer 0.
rt::Variant IdOf(const BuiltInField& oRow)
{
    if (oRow.sIDName)
        return rt::Variant(oRow.sIDName);
    return rt::Variant(static_cast<std::int16_t>(oRow.nLID));
}

} // namespace

cFields::FieldCollection
cBuiltInItemFields::GetFields(const std::shared_ptr<platform::mapi::Folder>&)
{
    // A row that cannot be added is left out; the rest of the table still arrives.
    rt::ResumeNext ignore;
    for (const BuiltInField* pRow : TableRows(m_eTable)) {
        ignore([&] {
            AddField(IdOf(*pRow), pRow->sGUID, pRow->sName,
                     static_cast<std::int32_t>(pRow->lPropTag), pRow->lPropertyType,
                     pRow->eMapiPropertyType, false, pRow->lCaptionID, pRow->bHidden,
                     pRow->lMappingValue, pRow->bEnumValue);
        });
    }
    return TakeFields();
}

} // namespace fieldcatalogue::detail
