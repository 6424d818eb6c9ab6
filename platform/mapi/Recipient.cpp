#include "platform/mapi/Recipient.h"

#include "platform/mapi/detail/MessageData.h"
#include "platform/runtime/Error.h"

namespace platform::mapi {

namespace {

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\"");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\"");
    return text.substr(first, last - first + 1);
}

/// A plain check of local@domain.tld: what a resolver without an address book can tell.
bool LooksLikeAddress(const std::string& address)
{
    const auto at = address.find('@');
    if (at == 0 || at == std::string::npos || address.find('@', at + 1) != std::string::npos)
        return false;
    const auto dot = address.find('.', at);
    return dot != std::string::npos && dot > at + 1 && dot + 1 < address.size() &&
           address.find_first_of(" \t<>") == std::string::npos;
}

} // namespace

Recipient::Recipient(std::shared_ptr<detail::MessageData> message, int index)
    : m_message(std::move(message)), m_index(index)
{
}

namespace {
store::Recipient Row(const detail::MessageData& message, int index)
{
    const auto all = message.Recipients();
    if (index < 0 || static_cast<std::size_t>(index) >= all.size())
        runtime::Raise(runtime::errors::SubscriptOutOfRange, "Recipient");
    return all[static_cast<std::size_t>(index)];
}
} // namespace

std::string Recipient::Name() const
{
    return Row(*m_message, m_index).name;
}

std::string Recipient::Address() const
{
    return Row(*m_message, m_index).address;
}

long Recipient::Type() const
{
    return static_cast<long>(Row(*m_message, m_index).type);
}

bool Recipient::Resolved() const
{
    return Row(*m_message, m_index).resolved;
}

bool Recipient::Resolve()
{
    auto row = Row(*m_message, m_index);
    std::string text = Trim(row.address);
    std::string name;
    if (const auto open = text.find('<'); open != std::string::npos) {
        const auto close = text.find('>', open);
        if (close == std::string::npos)
            return false;
        name = Trim(text.substr(0, open));
        text = Trim(text.substr(open + 1, close - open - 1));
    }
    if (!LooksLikeAddress(text))
        return false;
    row.address = text;
    row.name = name.empty() ? text : name;
    row.resolved = true;
    m_message->SetRecipient(static_cast<std::size_t>(m_index), row);
    return true;
}

} // namespace platform::mapi
