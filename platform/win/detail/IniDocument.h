#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::win::detail {

/// An INI file's text as lines, with the profile API's reading rules and edits that keep every
/// other line (comments, blank lines, order, spelling) as it was.
class IniDocument
{
public:
    /// Splits UTF-8 text into lines; CR LF or LF both end a line.
    static IniDocument parse(std::string_view text);

    /// The stored value of a key (blanks around it removed, quotes kept), or nothing when the
    /// section or key is missing or the key's line has no "=". Sections and keys match without
    /// regard to case and to blanks around them; the first match counts.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;

    /// Sets a key's value: replaces the first matching key's line, or adds the key after the
    /// section's last key, or adds the section at the end.
    void set(std::string_view section, std::string_view key, std::string_view value);

    /// Removes every line of the first matching key; false when there was none.
    bool removeKey(std::string_view section, std::string_view key);

    /// Removes the first matching section with all its lines; false when there was none.
    bool removeSection(std::string_view section);

    /// The text again, every line ended the way the parsed text ended its lines (LF for a new
    /// text).
    std::string text() const;

private:
    enum class Kind
    {
        Other,
        Section,
        Key
    };
    struct Line
    {
        std::string raw;
        Kind kind = Kind::Other;
        std::string name; // the section's or key's name, blanks removed (original case)
        bool hasValue = false;
    };
    struct Range
    {
        std::size_t header;
        std::size_t end; // one past the section's last line
    };

    static Line classify(std::string raw);
    std::optional<Range> findSection(std::string_view section) const;
    std::optional<std::size_t> findKey(const Range& range, std::string_view key) const;

    std::vector<Line> lines_;
    std::string newline_ = "\n";
};

} // namespace platform::win::detail
