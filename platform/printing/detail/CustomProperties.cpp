#include "platform/printing/detail/CustomProperties.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::printing::detail {

namespace {

constexpr auto npos = std::string::npos;

// Which elements a value is computed for: the root's own, or those in the body (all that a
// page shows), which also see the body's declarations.
enum class Scope
{
    Root,
    Body
};

struct Declared
{
    std::string value;
    bool important = false;
};

struct Resolution
{
    enum class Kind
    {
        Value,
        Missing, // declared nowhere, or in a cycle: a fallback stands in
        Unknown  // depends on the element: the value must stay as written
    };
    Kind kind = Kind::Value;
    std::string text;
};

struct Replacement
{
    std::size_t begin;
    std::size_t end;
    std::string text;
};

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

std::string Lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Past the comment, string or escape that starts at pos; pos itself when none does.
std::size_t PastCommentOrString(std::string_view s, std::size_t pos, std::size_t end)
{
    if (s[pos] == '/' && pos + 1 < end && s[pos + 1] == '*') {
        const std::size_t close = s.find("*/", pos + 2);
        return close == npos || close + 2 > end ? end : close + 2;
    }
    if (s[pos] == '\\')
        return std::min(pos + 2, end);
    if (s[pos] == '"' || s[pos] == '\'') {
        for (std::size_t i = pos + 1; i < end; ++i) {
            if (s[i] == '\\')
                ++i;
            else if (s[i] == s[pos])
                return i + 1;
            else if (s[i] == '\n') // an unclosed string ends with its line
                return i;
        }
        return end;
    }
    return pos;
}

// The first of stops in [pos, end) outside brackets, comments and strings; end when none.
std::size_t FindTopLevel(std::string_view s, std::size_t pos, std::size_t end,
                         std::string_view stops)
{
    int depth = 0;
    while (pos < end) {
        const std::size_t past = PastCommentOrString(s, pos, end);
        if (past != pos) {
            pos = past;
            continue;
        }
        const char c = s[pos];
        if (depth == 0 && stops.find(c) != npos)
            return pos;
        if (c == '(' || c == '[' || c == '{')
            ++depth;
        else if ((c == ')' || c == ']' || c == '}') && depth > 0)
            --depth;
        ++pos;
    }
    return end;
}

// Where the next var( starts from pos, outside comments and strings; npos when none.
std::size_t FindVar(std::string_view s, std::size_t pos)
{
    while (pos < s.size()) {
        const std::size_t past = PastCommentOrString(s, pos, s.size());
        if (past != pos) {
            pos = past;
            continue;
        }
        if (Lower(s.substr(pos, 4)) == "var(" && (pos == 0 || !IsNameChar(s[pos - 1])))
            return pos;
        ++pos;
    }
    return npos;
}

// The value without a trailing "!important", and whether it had one.
Declared SplitImportant(std::string_view value)
{
    value = Trim(value);
    constexpr std::string_view kImportant = "important";
    if (value.size() > kImportant.size() &&
        Lower(value.substr(value.size() - kImportant.size())) == kImportant) {
        const std::string_view rest = Trim(value.substr(0, value.size() - kImportant.size()));
        if (!rest.empty() && rest.back() == '!')
            return {std::string(Trim(rest.substr(0, rest.size() - 1))), true};
    }
    return {std::string(value), false};
}

// The scopes a rule's selectors declare for when they are all document-wide ones; none else.
std::optional<std::vector<Scope>> DocumentWideScopes(std::string_view prelude)
{
    std::vector<Scope> scopes;
    std::size_t pos = 0;
    while (pos <= prelude.size()) {
        const std::size_t comma = FindTopLevel(prelude, pos, prelude.size(), ",");
        const std::string selector = Lower(Trim(prelude.substr(pos, comma - pos)));
        if (selector == ":root" || selector == "html")
            scopes.push_back(Scope::Root);
        else if (selector == "body")
            scopes.push_back(Scope::Body);
        else
            return std::nullopt;
        pos = comma + 1;
    }
    return scopes;
}

class Sheets
{
public:
    explicit Sheets(const std::string& text) : text_(text) {}

    void Read(std::size_t begin, std::size_t end) { ReadRules(begin, end, false); }

    // The replacements of the values that change, in the order of the text.
    std::vector<Replacement> Replacements()
    {
        std::vector<Replacement> out;
        for (const Use& use : uses_) {
            const std::string_view value(text_.data() + use.begin, use.end - use.begin);
            std::vector<Key> visiting;
            const Resolution r = Substitute(value, use.scope, visiting);
            if (r.kind == Resolution::Kind::Value && r.text != value)
                out.push_back({use.begin, use.end, r.text});
        }
        return out;
    }

private:
    struct Use
    {
        std::size_t begin;
        std::size_t end;
        Scope scope;
    };
    using Key = std::pair<std::string, Scope>;

    void ReadRules(std::size_t pos, std::size_t end, bool conditional)
    {
        while (pos < end) {
            if (IsSpace(text_[pos])) {
                ++pos;
                continue;
            }
            if (text_.compare(pos, 2, "/*") == 0) {
                pos = PastCommentOrString(text_, pos, end);
                continue;
            }
            // Old pages wrap their sheets in the markers of an HTML comment.
            if (text_.compare(pos, 4, "<!--") == 0 || text_.compare(pos, 3, "-->") == 0) {
                pos += text_[pos] == '<' ? 4 : 3;
                continue;
            }
            const std::size_t stop = FindTopLevel(text_, pos, end, "{;}");
            if (stop >= end)
                return;
            if (text_[stop] != '{') { // a statement such as @import, or a stray brace
                pos = stop + 1;
                continue;
            }
            const std::size_t close = FindTopLevel(text_, stop + 1, end, "}");
            const std::string_view prelude = Trim(std::string_view(text_).substr(pos, stop - pos));
            if (!prelude.empty() && prelude.front() == '@')
                ReadAtRule(prelude, stop + 1, close);
            else
                ReadDeclarations(prelude, stop + 1, close, conditional);
            pos = close + 1;
        }
    }

    // Rules that apply only sometimes are read as conditional; other at-rules (@page,
    // @font-face, @keyframes) neither declare nor use document-wide properties here.
    void ReadAtRule(std::string_view prelude, std::size_t begin, std::size_t end)
    {
        std::size_t length = 1;
        while (length < prelude.size() && IsNameChar(prelude[length]))
            ++length;
        const std::string keyword = Lower(prelude.substr(0, length));
        for (const char* conditional : {"@media", "@supports", "@layer", "@container", "@scope",
                                        "@document", "@-moz-document"})
            if (keyword == conditional) {
                ReadRules(begin, end, true);
                return;
            }
    }

    void ReadDeclarations(std::string_view prelude, std::size_t pos, std::size_t end,
                          bool conditional)
    {
        const auto scopes = DocumentWideScopes(prelude);
        while (pos < end) {
            const std::size_t stop = FindTopLevel(text_, pos, end, ";");
            ReadDeclaration(scopes, conditional, pos, stop);
            pos = stop + 1;
        }
    }

    void ReadDeclaration(const std::optional<std::vector<Scope>>& scopes, bool conditional,
                         std::size_t begin, std::size_t end)
    {
        while (begin < end &&
               (IsSpace(text_[begin]) || text_.compare(begin, 2, "/*") == 0))
            begin = IsSpace(text_[begin]) ? begin + 1 : PastCommentOrString(text_, begin, end);
        const std::size_t colon = FindTopLevel(text_, begin, end, ":{");
        if (colon >= end || text_[colon] != ':') // empty, or a nested rule
            return;
        const std::string name(Trim(std::string_view(text_).substr(begin, colon - begin)));
        std::size_t valueBegin = colon + 1;
        std::size_t valueEnd = end;
        while (valueBegin < valueEnd && IsSpace(text_[valueBegin]))
            ++valueBegin;
        while (valueEnd > valueBegin && IsSpace(text_[valueEnd - 1]))
            --valueEnd;
        const std::string_view value(text_.data() + valueBegin, valueEnd - valueBegin);
        if (name.starts_with("--")) {
            if (!scopes || conditional) {
                elementDependent_.insert(name);
                return;
            }
            const Declared declared = SplitImportant(value);
            for (const Scope scope : *scopes)
                Declare(scope == Scope::Root ? root_ : body_, name, declared);
            return;
        }
        if (FindVar(value, 0) == npos)
            return;
        const bool rootOnly =
            scopes && std::all_of(scopes->begin(), scopes->end(),
                                  [](Scope scope) { return scope == Scope::Root; });
        uses_.push_back({valueBegin, valueEnd, rootOnly ? Scope::Root : Scope::Body});
    }

    static void Declare(std::map<std::string, Declared>& where, const std::string& name,
                        const Declared& declared)
    {
        const auto it = where.find(name);
        if (it == where.end() || declared.important || !it->second.important)
            where[name] = declared;
    }

    Resolution Resolve(const std::string& name, Scope scope, std::vector<Key>& visiting)
    {
        if (elementDependent_.contains(name))
            return {Resolution::Kind::Unknown, {}};
        // The body inherits the root's properties as computed for the root.
        const Declared* declared = nullptr;
        Scope at = Scope::Root;
        if (const auto it = body_.find(name); scope == Scope::Body && it != body_.end()) {
            declared = &it->second;
            at = Scope::Body;
        } else if (const auto root = root_.find(name); root != root_.end()) {
            declared = &root->second;
        }
        if (declared == nullptr)
            return {Resolution::Kind::Missing, {}};
        const Key key{name, at};
        if (cyclic_.contains(key))
            return {Resolution::Kind::Missing, {}};
        if (const auto seen = std::find(visiting.begin(), visiting.end(), key);
            seen != visiting.end()) {
            // Every property of a cycle is invalid, whatever fallbacks its members name.
            cyclic_.insert(seen, visiting.end());
            return {Resolution::Kind::Missing, {}};
        }
        visiting.push_back(key);
        Resolution r = Substitute(declared->value, at, visiting);
        visiting.pop_back();
        if (cyclic_.contains(key))
            return {Resolution::Kind::Missing, {}};
        return r;
    }

    Resolution Substitute(std::string_view value, Scope scope, std::vector<Key>& visiting)
    {
        std::string out;
        std::size_t pos = 0;
        for (std::size_t at = FindVar(value, pos); at != npos; at = FindVar(value, pos)) {
            out.append(value.substr(pos, at - pos));
            const std::size_t open = at + 3;
            const std::size_t close = FindTopLevel(value, open + 1, value.size(), ")");
            if (close >= value.size())
                return {Resolution::Kind::Unknown, {}};
            const std::size_t comma = FindTopLevel(value, open + 1, close, ",");
            const std::string name(Trim(value.substr(open + 1, comma - open - 1)));
            if (!name.starts_with("--"))
                return {Resolution::Kind::Unknown, {}};
            Resolution r = Resolve(name, scope, visiting);
            if (r.kind == Resolution::Kind::Missing && comma < close)
                r = Substitute(Trim(value.substr(comma + 1, close - comma - 1)), scope, visiting);
            if (r.kind != Resolution::Kind::Value)
                return r;
            out += r.text;
            pos = close + 1;
        }
        out.append(value.substr(pos));
        return {Resolution::Kind::Value, std::move(out)};
    }

    const std::string& text_;
    std::map<std::string, Declared> root_;
    std::map<std::string, Declared> body_;
    std::set<std::string> elementDependent_;
    std::set<Key> cyclic_;
    std::vector<Use> uses_;
};

std::string Applied(const std::string& text, const std::vector<Replacement>& replacements)
{
    std::string out;
    std::size_t pos = 0;
    for (const Replacement& r : replacements) {
        out.append(text, pos, r.begin - pos);
        out += r.text;
        pos = r.end;
    }
    out.append(text, pos);
    return out;
}

// Where the element's end tag ("</name") starts from from on, or the text's end.
std::size_t ContentEnd(const std::string& lower, std::size_t from, const char* closeTag)
{
    const std::size_t close = lower.find(closeTag, from);
    return close == npos ? lower.size() : close;
}

bool StartsTag(const std::string& lower, std::size_t pos, std::string_view tag)
{
    if (lower.compare(pos, tag.size(), tag) != 0 || pos + tag.size() >= lower.size())
        return false;
    const char next = lower[pos + tag.size()];
    return IsSpace(next) || next == '>' || next == '/';
}

} // namespace

std::string ResolveCustomProperties(const std::string& sheet)
{
    Sheets sheets(sheet);
    sheets.Read(0, sheet.size());
    return Applied(sheet, sheets.Replacements());
}

std::string ResolveCustomPropertiesInPage(const std::string& html)
{
    const std::string lower = Lower(html);
    Sheets sheets(html);
    std::size_t pos = 0;
    while ((pos = lower.find('<', pos)) != npos) {
        if (lower.compare(pos, 4, "<!--") == 0) {
            const std::size_t close = lower.find("-->", pos + 4);
            pos = close == npos ? lower.size() : close + 3;
        } else if (StartsTag(lower, pos, "<style") || StartsTag(lower, pos, "<script")) {
            const bool style = lower[pos + 2] == 't';
            const std::size_t open = lower.find('>', pos);
            if (open == npos)
                break;
            const std::size_t end = ContentEnd(lower, open + 1, style ? "</style" : "</script");
            if (style)
                sheets.Read(open + 1, end);
            pos = end;
        } else {
            ++pos;
        }
    }
    return Applied(html, sheets.Replacements());
}

} // namespace platform::printing::detail
