#include "platform/win/ProfileStrings.h"

#include "platform/win/FileIo.h"
#include "platform/win/detail/IniDocument.h"
#include "platform/win/detail/TextCodec.h"

#include <cerrno>
#include <functional>
#include <system_error>

namespace platform::win {
namespace {

using detail::IniDocument;
using detail::TextEncoding;

std::string cutToBuffer(std::string_view text, std::size_t bufferSize)
{
    return bufferSize == 0 ? std::string()
                           : std::string(detail::leadingCharacters(text, bufferSize - 1));
}

// The value as the profile read hands it out: one enclosing pair of quotes goes, but only
// when the closing quote fits into the buffer.
std::string unquoteAndCut(std::string_view value, std::size_t bufferSize)
{
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        const auto inner = value.substr(1);
        if (bufferSize > 0 && detail::characterCount(inner) <= bufferSize - 1) {
            return std::string(inner.substr(0, inner.size() - 1));
        }
        return cutToBuffer(inner, bufferSize);
    }
    return cutToBuffer(value, bufferSize);
}

bool breaksStructure(std::string_view text)
{
    return text.find_first_of("\r\n") != text.npos;
}

bool validSection(std::string_view section)
{
    return !breaksStructure(section) && section.find(']') == section.npos;
}

bool validKey(std::string_view key)
{
    const auto trimmed = detail::trimBlanks(key);
    return !trimmed.empty() && !breaksStructure(key) && trimmed.find('=') == trimmed.npos &&
           trimmed.find_first_of("[;#") != 0;
}

bool fail(int error)
{
    errno = error;
    return false;
}

// Loads the file (or an empty document when it is missing), lets `edit` change it, and writes
// the result back in the file's own encoding when `edit` reports a change.
bool editFile(const std::filesystem::path& file, const std::function<bool(IniDocument&)>& edit,
              bool createWhenMissing)
{
    try {
        const auto bytes = readFileBytes(file);
        if (!bytes && !createWhenMissing) {
            return true;
        }
        auto decoded = detail::decodeText(bytes.value_or(std::string()));
        auto document = IniDocument::parse(decoded.text);
        if (!edit(document)) {
            return true;
        }
        auto encoding =
            decoded.encoding == TextEncoding::Windows1252 ? TextEncoding::Utf8 : decoded.encoding;
        replaceFileContents(
            file, detail::encodeText(document.text(), encoding, detail::ByteOrderMark::Write));
        return true;
    } catch (const std::system_error& error) {
        return fail(error.code().value());
    }
}

} // namespace

std::string readProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::size_t bufferSize)
{
    auto fallback = defaultValue;
    while (!fallback.empty() && fallback.back() == ' ') {
        fallback.remove_suffix(1);
    }
    std::optional<std::string> bytes;
    try {
        bytes = readFileBytes(file);
    } catch (const std::system_error&) {
        bytes.reset();
    }
    if (!bytes) {
        return cutToBuffer(fallback, bufferSize);
    }
    const auto document = IniDocument::parse(detail::decodeText(*bytes).text);
    const auto value = document.find(section, key);
    return value ? unquoteAndCut(*value, bufferSize) : cutToBuffer(fallback, bufferSize);
}

bool writeProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value)
{
    if (!validSection(section) || !validKey(key) || breaksStructure(value)) {
        return fail(EINVAL);
    }
    return editFile(
        file,
        [&](IniDocument& document) {
            document.set(section, key, value);
            return true;
        },
        true);
}

bool deleteProfileKey(const std::filesystem::path& file, std::string_view section,
                      std::string_view key)
{
    return editFile(
        file, [&](IniDocument& document) { return document.removeKey(section, key); }, false);
}

bool deleteProfileSection(const std::filesystem::path& file, std::string_view section)
{
    return editFile(
        file, [&](IniDocument& document) { return document.removeSection(section); }, false);
}

} // namespace platform::win
