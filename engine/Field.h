#pragma once

#include "engine/Enumerations.h"

#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace engine {

/// One column of a read: which property to read (or which computed value, `MappingValue`),
/// and, in a record's copy, the value read. The caller makes column definitions with `Init`;
/// the readers give each record its own copy (`CloneField`).
class Field : public platform::runtime::Object
{
public:
    std::string TypeName() const override { return "Field"; }

    /// Sets every member at once; only the first call on a field takes effect.
    void Init(const std::string& sKey, std::int32_t lPropTag, PT_PROPERTY_TYPE lMapiPropType,
              const platform::runtime::Variant& lID, const std::string& sGUID,
              const std::string& sName, long lMappingValue = 0);

    /// The column's unique name (its key in column and field lists).
    const std::string& Key() const { return Def().key; }
    /// The property tag; for a named property the tag resolved for the store last read.
    std::int32_t PR() const { return m_lPR; }
    /// The property type.
    PT_PROPERTY_TYPE MapiPropertyType() const { return Def().type; }
    /// A named property's identifier in its set (number or name); Empty for a plain property.
    const platform::runtime::Variant& ID() const { return Def().id; }
    /// A named property's property set; empty for a plain property.
    const std::string& GUID() const { return Def().guid; }
    /// The display name.
    const std::string& Name() const { return Def().name; }
    /// 0: the item's property; other codes: a computed value (folder name, start, ...).
    long MappingValue() const { return Def().mapping; }
    /// The value read (Empty in a column definition).
    const platform::runtime::Variant& Value() const { return m_vValue; }

    // Inside the engine.
    /// A new field with this field's definition and no value. Never throws.
    std::shared_ptr<Field> CloneField() const;
    /// Makes `target` what CloneField would answer, in place (for fields allocated together).
    void CloneInto(Field& target) const;
    /// Replaces the property tag (the readers resolve named properties per store).
    void SetPropTag(std::int32_t lPropTag) { m_lPR = lPropTag; }
    /// Stores the value read.
    void SetFieldValue(platform::runtime::Variant vValue) { m_vValue = std::move(vValue); }

private:
    /// What Init sets once and never changes: shared by a column and all its copies, so that
    /// a record's fields hold only their tags and values.
    struct Definition
    {
        std::string key;
        PT_PROPERTY_TYPE type = PT_PROPERTY_TYPE{};
        platform::runtime::Variant id;
        std::string guid;
        std::string name;
        long mapping = 0;
        /// The fields sharing it.
        mutable std::atomic<long> users{0};
    };
    /// A shared, counted link to a Definition, one pointer wide (a shared pointer takes two,
    /// in every field of every record).
    class SharedDefinition
    {
    public:
        SharedDefinition() = default;
        explicit SharedDefinition(std::unique_ptr<const Definition> def) noexcept;
        SharedDefinition(const SharedDefinition& other) noexcept;
        SharedDefinition(SharedDefinition&& other) noexcept;
        SharedDefinition& operator=(SharedDefinition other) noexcept;
        ~SharedDefinition();
        const Definition* get() const noexcept { return m_pDef; }

    private:
        const Definition* m_pDef = nullptr;
    };
    const Definition& Def() const;

    bool m_bInitialise = true;
    std::int32_t m_lPR = 0;
    SharedDefinition m_def;
    platform::runtime::Variant m_vValue;
};

} // namespace engine
