#pragma once

#include "platform/store/PropValue.h"
#include "platform/store/StoreRecords.h"

#include <string>
#include <utility>
#include <vector>

namespace platform::mapi {

/// What a saved message file (the client's ".msg" and ".oft" compound files) holds that a
/// new message takes over: its class, its tagged properties in the store's forms (texts as
/// UTF-8, the rich-text body as RTF text under PR_RTF_BODY), recipients and file attachments.
/// Named properties are left out: their ids belong to the file, not to a store.
struct MsgFileContent
{
    std::string messageClass = "IPM.Note";
    std::vector<std::pair<store::PropTag, store::PropValue>> properties;
    std::vector<store::Recipient> recipients;
    std::vector<store::Attachment> attachments;
};

/// Writes a message file as the client saves a message or a template: a compound file with
/// the message's property stream, texts in UTF-16, the RTF body stored uncompressed in the
/// compressed-RTF property, one storage per recipient and per file attachment and an empty
/// named-property map. Properties whose type a message file cannot carry (currency, lists)
/// and named ones (id 0x8000 and up) are left out. The file is replaced only once the whole
/// content is written: a failed write leaves an existing file as it was. Throws
/// std::system_error when the file cannot be written.
void WriteMsgFile(const std::string& path, const MsgFileContent& content);

} // namespace platform::mapi
