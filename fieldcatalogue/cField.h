#pragma once

#include "common/IChild.h"
#include "fieldcatalogue/PT_PROPERTY_TYPE.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <memory>
#include <string>

namespace fieldcatalogue {

class cFields;
namespace detail {
class FieldSource;
}

/// One field a report column can show: how the record engine reads it (property set, LID or
/// name, tag, types, mapping code) and how it is offered (caption, hidden, enumeration). All
/// values are set once, when a field source creates it, and never change: the caption stays in
/// the language that was current then.
class cField : public platform::runtime::Object
{
public:
    cField() = default;
    // The parent link refers to its own field.
    cField(const cField&) = delete;
    cField& operator=(const cField&) = delete;

    std::string TypeName() const override { return "cField"; }

    /// The display name: the caption resource in the language current at creation, or `Name`
    /// for a field without a caption resource (every user-defined field).
    const std::string& Caption() const { return m_sCaption; }
    /// True when the value is a client enumeration code that the add-in shows as text.
    bool EnumValue() const { return m_bEnumValue; }
    /// The property set in braces; "{00020328-0000-0000-C000-000000000046}" for a property
    /// addressed by tag; empty for a computed field.
    const std::string& GUID() const { return m_sGUID; }
    /// True when the field is not offered in field lists (the two identifier fields).
    bool HiddenProperty() const { return m_bHiddenProperty; }
    /// The identity inside the property set: the LID as a signed 16-bit Integer (0x8506 is
    /// -31482), a String for a property named by string, the Integer 0 otherwise.
    const platform::runtime::Variant& ID() const { return m_vID; }
    /// The 1-based position in the source's table (creation order), kept after sorting.
    std::int32_t Index() const { return m_lIndex; }
    /// True for a user-defined field of a folder.
    bool IsUserDefined() const { return m_bIsUserDefined; }
    /// `GUID` + "/" + `Name`, or `Name` alone when `GUID` is empty: the field's key in its
    /// collection and the identity under which columns are stored.
    std::string Key() const;
    /// The MAPI type of the value.
    PT_PROPERTY_TYPE MapiPropertyType() const { return m_eMapiPropertyType; }
    /// The number of a computed field (0 for a plain property).
    std::int32_t MappingValue() const { return m_lMappingValue; }
    /// The MAPI name of a tagged property ("PR_SUBJECT"), the name of a named property, or the
    /// name of a computed field.
    const std::string& Name() const { return m_sName; }
    /// The collection that created the field; null when it has none or it is gone.
    std::shared_ptr<cFields> Parent() const { return m_pParent.lock(); }
    /// The client's user-property type code (1 text, 3 number, 5 date, 6 yes/no, ...).
    std::int32_t PropertyType() const { return m_lPropertyType; }
    /// The MAPI property tag of a property addressed by tag; 0 otherwise.
    std::int32_t PropTag() const { return m_lPropTag; }

    /// The field's parent link: `Init` takes the parent (the key is ignored), `Key` is empty,
    /// `ResetParentPtr` forgets the parent.
    common::IChild& AsIChild() { return m_oChild; }

private:
    friend class detail::FieldSource;

    /// What a field source gives a new field, in the order it is set.
    struct FieldInit
    {
        platform::runtime::Variant ID;
        std::string GUID;
        std::string Name;
        std::int32_t PropTag = 0;
        std::int32_t PropertyType = 0;
        PT_PROPERTY_TYPE MapiPropertyType = PT_PROPERTY_TYPE::PT_STRING8;
        bool IsUserDefined = false;
        std::int32_t lCaptionID = 0;
        bool HiddenProperty = false;
        std::int32_t MappingValue = 0;
        bool EnumValue = false;
        std::int32_t Index = 0;
    };

    // Links the parent and sets every member, the caption last; a caption id without a
    // resource string raises the resource error.
    void InitField(platform::runtime::Object* lParentPtr, FieldInit oInit);

    class ChildLink : public common::IChild
    {
    public:
        explicit ChildLink(cField& oField) : m_oField(oField) {}
        void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
        std::string Key() const override { return {}; }
        void ResetParentPtr() override { m_oField.m_pParent.reset(); }

    private:
        cField& m_oField;
    };

    ChildLink m_oChild{*this};
    // Weak, so that a field that outlives its collection answers no parent instead of a
    // dangling one.
    std::weak_ptr<cFields> m_pParent;
    platform::runtime::Variant m_vID;
    std::string m_sGUID;
    std::string m_sName;
    std::int32_t m_lPropTag = 0;
    std::int32_t m_lPropertyType = 0;
    PT_PROPERTY_TYPE m_eMapiPropertyType = PT_PROPERTY_TYPE::PT_STRING8;
    bool m_bIsUserDefined = false;
    bool m_bHiddenProperty = false;
    std::int32_t m_lMappingValue = 0;
    bool m_bEnumValue = false;
    std::int32_t m_lIndex = 0;
    std::string m_sCaption;
};

} // namespace fieldcatalogue
