#pragma once

#include "platform/mapi/MsgFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform::mapi::detail {

using platform::mapi::MsgFileContent;

/// Reads a message file. Throws runtime error 53 when the file is missing and 5 when it is
/// no message file.
MsgFileContent ReadMsgFile(const std::string& path);

/// The RTF text of a compressed RTF property ("LZFu" compressed or "MELA" stored). Throws
/// runtime error 5 for a malformed one.
std::string DecompressRtf(const std::vector<std::uint8_t>& compressed);

} // namespace platform::mapi::detail
