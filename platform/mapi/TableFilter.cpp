#include "platform/mapi/TableFilter.h"

#include "platform/mapi/Restriction.h"
#include "platform/mapi/Table.h"
#include "platform/mapi/detail/CompiledRestriction.h"
#include "platform/runtime/Error.h"

namespace platform::mapi {

TableFilter::TableFilter(Table& table) : m_table(&table) {}

void TableFilter::Clear()
{
    m_root.reset();
    if (m_table)
        m_table->ApplyRestriction(nullptr);
}

std::shared_ptr<Restriction> TableFilter::SetKind(long kind)
{
    m_root = std::make_shared<Restriction>(kind);
    return m_root;
}

void TableFilter::Apply()
{
    if (!m_table)
        runtime::Raise(runtime::errors::ObjectNotSet, "TableFilter.Apply",
                       "The filter's table is gone.");
    if (!m_root) {
        m_table->ApplyRestriction(nullptr);
        return;
    }
    m_table->ApplyRestriction(std::make_shared<detail::CompiledRestriction>(*m_root));
}

} // namespace platform::mapi
