#include "platform/win/detail/RegistryTree.h"

#include "platform/win/detail/TextCodec.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace platform::win::detail {
namespace {

constexpr std::string_view kHeader = "Tallyman registry store 1";

struct HiveName
{
    Hive hive;
    std::string_view name;
};
constexpr HiveName kHiveNames[] = {{Hive::CurrentUser, "HKEY_CURRENT_USER"},
                                   {Hive::LocalMachine, "HKEY_LOCAL_MACHINE"}};

std::string_view nameOf(Hive hive)
{
    for (const auto& entry : kHiveNames) {
        if (entry.hive == hive) {
            return entry.name;
        }
    }
    return {};
}

std::string quote(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Reads a quoted text at the start of `in` and moves `in` past it.
std::optional<std::string> unquote(std::string_view& in)
{
    if (in.empty() || in.front() != '"') {
        return std::nullopt;
    }
    std::string out;
    std::size_t i = 1;
    for (; i < in.size() && in[i] != '"'; ++i) {
        if (in[i] != '\\') {
            out += in[i];
            continue;
        }
        if (i + 1 >= in.size()) {
            return std::nullopt;
        }
        const char next = in[++i];
        if (next == '"' || next == '\\') {
            out += next;
            continue;
        }
        unsigned value = 0;
        if (next != 'x' || i + 2 >= in.size() ||
            std::from_chars(in.data() + i + 1, in.data() + i + 3, value, 16).ptr !=
                in.data() + i + 3) {
            return std::nullopt;
        }
        out += static_cast<char>(value);
        i += 2;
    }
    if (i >= in.size()) {
        return std::nullopt;
    }
    in.remove_prefix(i + 1);
    return out;
}

std::string hexBytes(const std::vector<std::uint8_t>& bytes)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "hex:";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        out += kHex[bytes[i] >> 4];
        out += kHex[bytes[i] & 0xF];
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> parseHex(std::string_view in)
{
    std::vector<std::uint8_t> bytes;
    while (!in.empty()) {
        unsigned value = 0;
        if (in.size() < 2 ||
            std::from_chars(in.data(), in.data() + 2, value, 16).ptr != in.data() + 2) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(value));
        in.remove_prefix(2);
        if (!in.empty()) {
            if (in.front() != ',' || in.size() == 1) {
                return std::nullopt;
            }
            in.remove_prefix(1);
        }
    }
    return bytes;
}

std::optional<RegistryValue> parseValue(std::string_view in)
{
    if (in == "empty:") {
        return RegistryValue();
    }
    if (in.starts_with("hex:")) {
        auto bytes = parseHex(in.substr(4));
        return bytes ? std::optional(RegistryValue::binary(std::move(*bytes))) : std::nullopt;
    }
    auto text = unquote(in);
    return text && in.empty() ? std::optional(RegistryValue::text(std::move(*text))) : std::nullopt;
}

std::string valueText(const RegistryValue& value)
{
    switch (value.kind()) {
    case RegistryValue::Kind::Text:
        return quote(value.asText());
    case RegistryValue::Kind::Binary:
        return hexBytes(value.asBytes());
    case RegistryValue::Kind::Empty:
        break;
    }
    return "empty:";
}

void writeKey(std::string& out, const std::string& path, const RegistryKey& key)
{
    // Keys that only lead to others are implied by their subkeys' paths.
    if (!key.values.empty() || key.subkeys.empty()) {
        out += "\n[" + path + "]\n";
        for (const auto& [folded, entry] : key.values) {
            out += quote(entry.first) + "=" + valueText(entry.second) + "\n";
        }
    }
    for (const auto& [folded, subkey] : key.subkeys) {
        writeKey(out, path + "\\" + subkey.name, subkey);
    }
}

} // namespace

std::vector<std::string> RegistryTree::splitPath(std::string_view keyPath)
{
    std::vector<std::string> parts;
    while (!keyPath.empty()) {
        const auto end = keyPath.find('\\');
        if (end != 0) {
            parts.emplace_back(keyPath.substr(0, end));
        }
        if (end == std::string_view::npos) {
            break;
        }
        keyPath.remove_prefix(end + 1);
    }
    return parts;
}

const RegistryKey* RegistryTree::find(Hive hive, const std::vector<std::string>& path) const
{
    const auto root = hives_.find(hive);
    if (root == hives_.end()) {
        return nullptr;
    }
    const RegistryKey* key = &root->second;
    for (const auto& part : path) {
        const auto next = key->subkeys.find(foldCase(part));
        if (next == key->subkeys.end()) {
            return nullptr;
        }
        key = &next->second;
    }
    return key;
}

RegistryKey* RegistryTree::find(Hive hive, const std::vector<std::string>& path)
{
    return const_cast<RegistryKey*>(std::as_const(*this).find(hive, path));
}

RegistryKey& RegistryTree::create(Hive hive, const std::vector<std::string>& path)
{
    RegistryKey* key = &hives_[hive];
    key->name = nameOf(hive);
    for (const auto& part : path) {
        auto [it, added] = key->subkeys.try_emplace(foldCase(part));
        if (added) {
            it->second.name = part;
        }
        key = &it->second;
    }
    return *key;
}

bool RegistryTree::remove(Hive hive, const std::vector<std::string>& path)
{
    if (path.empty()) {
        return false;
    }
    auto* parent = find(hive, {path.begin(), path.end() - 1});
    return parent != nullptr && parent->subkeys.erase(foldCase(path.back())) > 0;
}

std::string RegistryTree::text() const
{
    std::string out(kHeader);
    out += '\n';
    for (const auto& [hive, root] : hives_) {
        writeKey(out, std::string(nameOf(hive)), root);
    }
    return out;
}

std::optional<RegistryTree> RegistryTree::parse(std::string_view text, std::size_t& errorLine)
{
    RegistryTree tree;
    RegistryKey* current = nullptr;
    std::size_t lineNumber = 0;
    bool sawHeader = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        auto line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        errorLine = lineNumber;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!sawHeader) {
            if (line != kHeader) {
                return std::nullopt;
            }
            sawHeader = true;
            continue;
        }
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            auto parts = splitPath(line.substr(1, line.size() - 2));
            if (parts.empty()) {
                return std::nullopt;
            }
            const auto hive = std::find_if(std::begin(kHiveNames), std::end(kHiveNames),
                                           [&](const HiveName& h) { return h.name == parts[0]; });
            if (hive == std::end(kHiveNames)) {
                return std::nullopt;
            }
            current = &tree.create(hive->hive, {parts.begin() + 1, parts.end()});
            continue;
        }
        auto name = unquote(line);
        if (current == nullptr || !name || !line.starts_with('=')) {
            return std::nullopt;
        }
        auto value = parseValue(line.substr(1));
        if (!value) {
            return std::nullopt;
        }
        // The folded key first: the right side of an assignment runs before the left.
        auto folded = foldCase(*name);
        current->values[std::move(folded)] = {std::move(*name), std::move(*value)};
    }
    errorLine = 0;
    return tree;
}

} // namespace platform::win::detail
