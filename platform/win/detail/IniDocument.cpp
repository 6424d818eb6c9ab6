#include "platform/win/detail/IniDocument.h"

#include "platform/win/detail/TextCodec.h"

namespace platform::win::detail {

IniDocument::Line IniDocument::classify(std::string raw)
{
    Line line;
    line.raw = std::move(raw);
    const auto content = trimBlanks(line.raw);
    if (content.empty() || content.front() == ';' || content.front() == '#') {
        return line;
    }
    if (content.front() == '[') {
        if (const auto close = content.rfind(']'); close != std::string_view::npos) {
            line.kind = Kind::Section;
            line.name = std::string(trimBlanks(content.substr(1, close - 1)));
            return line;
        }
    }
    line.kind = Kind::Key;
    const auto equals = content.find('=');
    line.hasValue = equals != std::string_view::npos;
    line.name = std::string(trimBlanks(content.substr(0, equals)));
    return line;
}

IniDocument IniDocument::parse(std::string_view text)
{
    IniDocument document;
    if (text.find("\r\n") != std::string_view::npos) {
        document.newline_ = "\r\n";
    }
    while (!text.empty()) {
        const auto end = text.find('\n');
        auto raw = text.substr(0, end);
        if (raw.ends_with('\r')) {
            raw.remove_suffix(1);
        }
        document.lines_.push_back(classify(std::string(raw)));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return document;
}

std::optional<IniDocument::Range> IniDocument::findSection(std::string_view section) const
{
    const auto wanted = foldCase(trimBlanks(section));
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Kind::Section || foldCase(lines_[i].name) != wanted) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < lines_.size() && lines_[end].kind != Kind::Section) {
            ++end;
        }
        return Range{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::findKey(const Range& range, std::string_view key) const
{
    const auto wanted = foldCase(trimBlanks(key));
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        if (lines_[i].kind == Kind::Key && foldCase(lines_[i].name) == wanted) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::find(std::string_view section, std::string_view key) const
{
    const auto range = findSection(section);
    if (!range) {
        return std::nullopt;
    }
    const auto index = findKey(*range, key);
    if (!index || !lines_[*index].hasValue) {
        return std::nullopt;
    }
    const std::string_view raw = lines_[*index].raw;
    return std::string(trimBlanks(raw.substr(raw.find('=') + 1)));
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value)
{
    const auto range = findSection(section);
    if (!range) {
        if (!lines_.empty() && !trimBlanks(lines_.back().raw).empty()) {
            lines_.push_back(classify(""));
        }
        lines_.push_back(classify("[" + std::string(trimBlanks(section)) + "]"));
        lines_.push_back(classify(std::string(trimBlanks(key)) + "=" + std::string(value)));
        return;
    }
    if (const auto index = findKey(*range, key)) {
        // The key keeps the spelling the file gave it.
        lines_[*index] = classify(lines_[*index].name + "=" + std::string(value));
        return;
    }
    std::size_t insertAt = range->header + 1;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        if (lines_[i].kind == Kind::Key) {
            insertAt = i + 1;
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  classify(std::string(trimBlanks(key)) + "=" + std::string(value)));
}

bool IniDocument::removeKey(std::string_view section, std::string_view key)
{
    const auto range = findSection(section);
    if (!range) {
        return false;
    }
    const auto index = findKey(*range, key);
    if (!index) {
        return false;
    }
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*index));
    return true;
}

bool IniDocument::removeSection(std::string_view section)
{
    const auto range = findSection(section);
    if (!range) {
        return false;
    }
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
    return true;
}

std::string IniDocument::text() const
{
    std::string out;
    for (const auto& line : lines_) {
        out += line.raw;
        out += newline_;
    }
    return out;
}

} // namespace platform::win::detail
