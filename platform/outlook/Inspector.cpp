#include "platform/outlook/Inspector.h"

#include "platform/outlook/CommandBars.h"
#include "platform/outlook/ItemBase.h"

namespace platform::outlook {

Inspector::Inspector(std::shared_ptr<ItemBase> item, bool wordMail)
    : m_item(std::move(item)), m_wordMail(wordMail)
{
    if (m_item)
        Caption = m_item->Subject();
}

Inspector::~Inspector() = default;

std::shared_ptr<outlook::CommandBars> Inspector::CommandBars()
{
    if (!m_commandBars)
        m_commandBars = std::make_shared<outlook::CommandBars>(this);
    return m_commandBars;
}

} // namespace platform::outlook
