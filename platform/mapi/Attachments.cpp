#include "platform/mapi/Attachments.h"

#include "platform/mapi/detail/Arguments.h"
#include "platform/mapi/detail/MessageData.h"
#include "platform/runtime/Error.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace platform::mapi {

namespace {

long WholeNumber(const runtime::Variant& v, const char* source)
{
    if (auto n = detail::WholeNumberOf(v))
        return *n;
    runtime::Raise(runtime::errors::TypeMismatch, source);
}

} // namespace

Attachments::Attachments(std::shared_ptr<detail::MessageData> message)
    : m_message(std::move(message))
{
}

long Attachments::Count() const
{
    return static_cast<long>(m_message->Attachments().size());
}

void Attachments::Add(const std::string& path, const runtime::Variant& type,
                      const runtime::Variant& position, const runtime::Variant& displayName)
{
    if (!type.IsEmpty() && WholeNumber(type, "Attachments.Add") != 1)
        runtime::Raise(runtime::errors::NotSupported, "Attachments.Add",
                       "Only attachments by value (type 1) are supported.");
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path))
        runtime::Raise(runtime::errors::FileNotFound, "Attachments.Add", "File not found: " + path);
    std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
    const auto fileName = std::filesystem::path(path).filename().string();
    std::string shown = fileName;
    if (const auto* text = displayName.Get<std::string>())
        shown = *text;
    const auto at = position.IsEmpty() ? -1 : WholeNumber(position, "Attachments.Add");
    m_message->AddAttachment(fileName, std::move(data), static_cast<std::int32_t>(at), shown);
}

namespace {
store::Attachment At(const detail::MessageData& message, long index)
{
    const auto all = message.Attachments();
    if (index < 1 || index > static_cast<long>(all.size()))
        runtime::Raise(runtime::errors::SubscriptOutOfRange, "Attachments.Item");
    return all[static_cast<std::size_t>(index - 1)];
}
} // namespace

std::string Attachments::FileName(long index) const
{
    return At(*m_message, index).fileName;
}

std::string Attachments::DisplayName(long index) const
{
    return At(*m_message, index).displayName;
}

long Attachments::Position(long index) const
{
    return At(*m_message, index).position;
}

long Attachments::Size(long index) const
{
    return static_cast<long>(At(*m_message, index).data.size());
}

} // namespace platform::mapi
