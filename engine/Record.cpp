#include "engine/Record.h"
#include "engine/Records.h"

#include "common/ErrorHandling.h"
#include "platform/runtime/Error.h"

#include <optional>

namespace engine {

namespace {

/// The number a key text stands for when it is written as the record set writes its counter
/// (digits, no sign, no leading zero but in "0"); nullopt for any other text.
std::optional<std::int64_t> CounterKey(const std::string& sKey)
{
    if (sKey.empty() || sKey.size() > 18 || (sKey.size() > 1 && sKey[0] == '0'))
        return std::nullopt;
    std::int64_t n = 0;
    for (const char c : sKey) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

} // namespace

void Record::Init(platform::runtime::Object* lParentPtr, const std::string& sKey)
{
    m_pParent = dynamic_cast<Records*>(lParentPtr);
    if (const auto n = CounterKey(sKey)) {
        m_nKey = *n;
        m_pOtherKey.reset();
    } else {
        m_pOtherKey = std::make_unique<std::string>(sKey);
    }
}

std::string Record::Key() const
{
    if (m_pOtherKey)
        return *m_pOtherKey;
    return std::to_string(m_nKey);
}

std::vector<std::shared_ptr<Field>>& Record::OwnFields()
{
    if (!m_fields)
        m_fields = std::make_unique<std::vector<std::shared_ptr<Field>>>();
    return *m_fields;
}

const std::string& Record::StoreID() const
{
    static const std::string kNone;
    return m_pStoreID ? *m_pStoreID : kNone;
}

void Record::SetStoreID(std::string sStoreID)
{
    m_pStoreID = std::make_shared<const std::string>(std::move(sStoreID));
}

std::shared_ptr<Field> Record::Fields(long lIndex) const
{
    if (lIndex < 1 || lIndex > FieldsCount())
        return nullptr;
    const auto i = static_cast<std::size_t>(lIndex - 1);
    if (i >= m_nInPlace)
        return (*m_fields)[i - m_nInPlace];
    // The field shares the ownership of the memory it was made in.
    auto owner = m_inPlaceOwner.lock();
    if (!owner)
        return nullptr;
    return std::shared_ptr<Field>(std::move(owner), m_pInPlace + i);
}

const Field* Record::FieldPointer(long lIndex) const
{
    if (lIndex < 1 || lIndex > FieldsCount())
        return nullptr;
    const auto i = static_cast<std::size_t>(lIndex - 1);
    if (i >= m_nInPlace)
        return (*m_fields)[i - m_nInPlace].get();
    // As Fields(): a field made in place is gone with the memory it was made in.
    return m_inPlaceOwner.expired() ? nullptr : m_pInPlace + i;
}

std::shared_ptr<Field> Record::Fields(const platform::runtime::Variant& vIndex) const
{
    if (const auto* s = vIndex.Get<std::string>()) {
        if (!m_layout)
            return nullptr;
        const auto it = m_layout->positionOf.find(detail::FoldKey(*s));
        if (it == m_layout->positionOf.end() ||
            it->second >= static_cast<std::size_t>(FieldsCount()))
            return nullptr;
        return Fields(static_cast<long>(it->second) + 1);
    }
    long lPos = 0;
    if (!detail::KeyedList<std::shared_ptr<Field>>::PositionOf(vIndex, lPos))
        return nullptr;
    return Fields(lPos);
}

void Record::OwnLayout(std::size_t n)
{
    auto own = std::make_shared<Layout>();
    if (m_layout) {
        own->keys.assign(m_layout->keys.begin(),
                         m_layout->keys.begin() + static_cast<std::ptrdiff_t>(n));
        for (std::size_t i = 0; i < n; ++i)
            if (!own->keys[i].empty())
                own->positionOf.emplace(detail::FoldKey(own->keys[i]), i);
    }
    m_layout = std::move(own);
}

void Record::AddKey(const std::string& sKey, std::size_t pos)
{
    if (!sKey.empty() && !m_layout->positionOf.emplace(detail::FoldKey(sKey), pos).second)
        throw platform::runtime::Error(platform::runtime::errors::DuplicateKey);
    m_layout->keys.push_back(sKey);
}

void Record::AppendField(std::shared_ptr<Field> oField)
{
    common::Rethrowing("Record", "AppendField", [&] {
        const std::string& sKey = oField->Key();
        const auto pos = static_cast<std::size_t>(FieldsCount());
        // The usual case: the same key at the same place as in the shared layout.
        if (m_layout && pos < m_layout->keys.size() && m_layout->keys[pos] == sKey) {
            OwnFields().push_back(std::move(oField));
            return;
        }
        // Otherwise this record gets a layout of its own (the shared one stays as it is).
        if (!m_layout || m_layout.use_count() > 1 || m_layout->keys.size() != pos)
            OwnLayout(pos);
        AddKey(sKey, pos);
        OwnFields().push_back(std::move(oField));
    });
}

void Record::TakeFieldsInPlace(Field* pFields, std::size_t nFields, std::weak_ptr<void> owner,
                               const Record* pKeysOf)
{
    common::Rethrowing("Record", "TakeFieldsInPlace", [&] {
        // Copies of the same columns share their key texts, so comparing addresses is enough.
        bool bSameKeys = pKeysOf && pKeysOf->m_layout &&
                         static_cast<std::size_t>(pKeysOf->FieldsCount()) == nFields &&
                         pKeysOf->m_layout->keys.size() == nFields;
        for (std::size_t i = 0; bSameKeys && i < nFields; ++i)
            bSameKeys = &pKeysOf->FieldAt(i).Key() == &pFields[i].Key();
        if (bSameKeys) {
            m_layout = pKeysOf->m_layout;
        } else {
            m_layout.reset();
            OwnLayout(0);
            for (std::size_t i = 0; i < nFields; ++i)
                AddKey(pFields[i].Key(), i);
        }
        m_fields.reset();
        m_pInPlace = pFields;
        m_nInPlace = static_cast<std::uint32_t>(nFields);
        m_inPlaceOwner = std::move(owner);
    });
}

} // namespace engine
