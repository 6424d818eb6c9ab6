#include "platform/excel/detail/HeaderFooter.h"

#include "platform/excel/detail/Xstring.h"

namespace platform::excel::detail {

std::string ComposeHeaderFooter(const HeaderFooterParts& parts)
{
    std::string text;
    if (!parts.left.empty()) {
        text += "&L" + parts.left;
    }
    if (!parts.center.empty()) {
        text += "&C" + parts.center;
    }
    if (!parts.right.empty()) {
        text += "&R" + parts.right;
    }
    return text;
}

HeaderFooterParts SplitHeaderFooter(std::string_view text)
{
    HeaderFooterParts parts;
    std::string* current = &parts.center;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            const char code = text[i + 1];
            if (code == 'L' || code == 'C' || code == 'R') {
                current = code == 'L' ? &parts.left : code == 'C' ? &parts.center : &parts.right;
                ++i;
                continue;
            }
            // Any other code, "&&" included, belongs to the text as it is.
            *current += text[i];
            *current += code;
            ++i;
            continue;
        }
        *current += text[i];
    }
    return parts;
}

std::string StoredHeaderFooter(std::string_view text)
{
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            lines += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            lines += text[i];
        }
    }
    return EscapeXstring(lines);
}

} // namespace platform::excel::detail
