#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <memory>
#include <string>

namespace platform::mapi {

namespace detail {
class MessageData;
}

/// A message's attachments (1-based).
class Attachments : public runtime::Object
{
public:
    /// Internal: made by Message.
    explicit Attachments(std::shared_ptr<detail::MessageData> message);
    std::string TypeName() const override { return "Attachments"; }

    long Count() const;
    /// Attaches a copy of a file. `type` must be omitted or 1 (by value); `position` is the
    /// character position in the body where the attachment sits (omitted: none); the display
    /// name defaults to the file's name. Throws error 53 when the file cannot be read and 438
    /// for other attachment types.
    void Add(const std::string& path, const runtime::Variant& type = {},
             const runtime::Variant& position = {}, const runtime::Variant& displayName = {});
    /// The file name of the attachment at a 1-based position.
    std::string FileName(long index) const;
    /// The display name of the attachment at a 1-based position.
    std::string DisplayName(long index) const;
    /// The character position of the attachment at a 1-based position, -1 for none.
    long Position(long index) const;
    /// The size in bytes of the attachment at a 1-based position.
    long Size(long index) const;

private:
    std::shared_ptr<detail::MessageData> m_message;
};

} // namespace platform::mapi
