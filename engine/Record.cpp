#include "engine/Record.h"
#include "engine/Records.h"

#include "common/ErrorHandling.h"
#include "platform/runtime/Error.h"

namespace engine {

Records* Record::Parent() const
{
    return common::ChildLink<Records>::Parent();
}

std::shared_ptr<Field> Record::Fields(const platform::runtime::Variant& vIndex) const
{
    if (const auto* s = vIndex.Get<std::string>()) {
        if (!m_layout)
            return nullptr;
        const auto it = m_layout->positionOf.find(detail::FoldKey(*s));
        if (it == m_layout->positionOf.end() || it->second >= m_fields.size())
            return nullptr;
        return m_fields[it->second];
    }
    long lPos = 0;
    if (!detail::KeyedList<std::shared_ptr<Field>>::PositionOf(vIndex, lPos))
        return nullptr;
    return Fields(lPos);
}

void Record::AppendField(std::shared_ptr<Field> oField)
{
    common::Rethrowing("Record", "AppendField", [&] {
        const std::string& sKey = oField->Key();
        const std::size_t pos = m_fields.size();
        // The usual case: the same key at the same place as in the shared layout.
        if (m_layout && pos < m_layout->keys.size() && m_layout->keys[pos] == sKey) {
            m_fields.push_back(std::move(oField));
            return;
        }
        // Otherwise this record gets a layout of its own (the shared one stays as it is).
        if (!m_layout || m_layout.use_count() > 1 || m_layout->keys.size() != pos) {
            auto own = std::make_shared<Layout>();
            if (m_layout) {
                own->keys.assign(m_layout->keys.begin(),
                                 m_layout->keys.begin() + static_cast<std::ptrdiff_t>(pos));
                for (std::size_t i = 0; i < pos; ++i)
                    if (!own->keys[i].empty())
                        own->positionOf.emplace(detail::FoldKey(own->keys[i]), i);
            }
            m_layout = std::move(own);
        }
        if (!sKey.empty() && !m_layout->positionOf.emplace(detail::FoldKey(sKey), pos).second)
            throw platform::runtime::Error(platform::runtime::errors::DuplicateKey);
        m_layout->keys.push_back(sKey);
        m_fields.push_back(std::move(oField));
    });
}

} // namespace engine
