#pragma once

#include "platform/store/PropValue.h"
#include "platform/store/StoreRecords.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace platform::mapi::detail {

/// What a saved message file (the client's ".msg" and ".oft" compound files) holds that a
/// new message takes over: its class, its tagged properties in the store's forms (texts as
/// UTF-8, compressed RTF as the RTF text under PR_RTF_BODY), recipients and file attachments.
/// Named properties are left out: their ids belong to the file, not to a store.
struct MsgFileContent
{
    std::string messageClass = "IPM.Note";
    std::vector<std::pair<store::PropTag, store::PropValue>> properties;
    std::vector<store::Recipient> recipients;
    std::vector<store::Attachment> attachments;
};

/// Reads a message file. Throws runtime error 53 when the file is missing and 5 when it is
/// no message file.
MsgFileContent ReadMsgFile(const std::string& path);

/// The RTF text of a compressed RTF property ("LZFu" compressed or "MELA" stored). Throws
/// runtime error 5 for a malformed one.
std::string DecompressRtf(const std::vector<std::uint8_t>& compressed);

} // namespace platform::mapi::detail
