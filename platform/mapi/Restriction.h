#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace platform::mapi {

/// One node of a table filter's restriction tree, of one of the kinds RES_AND, RES_OR,
/// RES_NOT, RES_CONTENT, RES_PROPERTY and RES_EXIST (Constants.h). Compound nodes take
/// children through Add (AND, OR) or SetKind (the one child of NOT); leaves carry a tag,
/// an operator or fuzzy level and a value. Setting a member that the kind lacks raises
/// error 438.
///
/// Evaluation on an item's properties (detail/CompiledRestriction.h): a tag of 0, or one the item
/// lacks, does not exist; a property or content leaf on a missing property is false. On a
/// multi-valued property a leaf is true when any one value is. Content leaves compare text
/// (FL_FULLSTRING, FL_SUBSTRING, FL_PREFIX, FL_IGNORECASE through ICU full case folding). Property
/// leaves compare numbers, Booleans, dates (UTC) and texts (binary order); a value of another kind
/// than the property never matches RELOP_EQ and always matches RELOP_NE. An empty AND is true,
/// an empty OR false, a NOT without a child true.
class Restriction : public runtime::Object
{
public:
    /// A node of `kind`; throws error 5 for any other number.
    explicit Restriction(long kind);
    std::string TypeName() const override { return "Restriction"; }

    long Kind() const { return m_kind; }

    /// AND/OR: appends a new child of `kind` and returns it.
    std::shared_ptr<Restriction> Add(long kind);
    /// AND/OR: number of children; NOT: 0 or 1.
    long Count() const;
    /// AND/OR: the child at a 1-based position.
    std::shared_ptr<Restriction> Item(long index) const;
    /// NOT: makes its one child of `kind` (replacing any earlier one) and returns it.
    std::shared_ptr<Restriction> SetKind(long kind);
    /// NOT: its child, or no object.
    std::shared_ptr<Restriction> Child() const;

    /// EXIST, PROPERTY and CONTENT: the tested property's tag.
    std::int32_t ulPropTag() const { return m_tag; }
    void SetUlPropTag(std::int32_t tag);
    /// PROPERTY: the relational operator RELOP_LT .. RELOP_NE.
    long relop() const { return m_relop; }
    void SetRelop(long relop);
    /// CONTENT: the fuzzy level (FL_... combined).
    long ulFuzzyLevel() const { return m_fuzzy; }
    void SetUlFuzzyLevel(long level);
    /// PROPERTY and CONTENT: the value compared with (Long, Boolean, Date, Double, String).
    const runtime::Variant& lpProp() const { return m_value; }
    void SetLpProp(const runtime::Variant& value);

private:
    void Require(bool ok, const char* member) const;
    long m_kind;
    std::vector<std::shared_ptr<Restriction>> m_children;
    std::int32_t m_tag = 0;
    long m_relop = 0;
    long m_fuzzy = 0;
    runtime::Variant m_value;
};

} // namespace platform::mapi
