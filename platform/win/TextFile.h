#pragma once

#include <string>

namespace platform::win {

/// The text formats of a file object, with the host component's codes. The system reads with
/// Ansi (it sets 1 whenever the format is not 2) and writes with Unicode. Both read every text
/// file this platform meets: a byte-order mark decides between UTF-8, UTF-16LE and UTF-16BE;
/// without one, valid UTF-8 is UTF-8 and anything else legacy Windows-1252 text. Both write
/// UTF-8 without a mark, except that an append continues a file that starts with a mark in
/// that file's own encoding, so a file never mixes two encodings.
enum class TextFormat : int
{
    Unset = 0,   ///< a new file object's format; reads and writes like Ansi
    Ansi = 1,    ///< the system's format for reading
    Unicode = 2, ///< the system's format for writing
};

/// A file object of the file component: a path, a text format and a text to be written or
/// just read. Reading and writing go through FileComponent.
class TextFile
{
public:
    /// A file object without a path (the component's "new file object").
    TextFile() = default;
    /// A file object for a path.
    explicit TextFile(std::string path) : path_(std::move(path)) {}

    /// The file's path.
    const std::string& path() const noexcept { return path_; }
    /// Sets the file's path.
    void setPath(std::string path) { path_ = std::move(path); }

    /// The text format; Unset until set.
    TextFormat format() const noexcept { return format_; }
    /// Sets the text format.
    void setFormat(TextFormat format) noexcept { format_ = format; }

    /// The text: what was set to be written, or what readText read last.
    const std::string& text() const noexcept { return text_; }
    /// Sets the text to be written.
    void setText(std::string text) { text_ = std::move(text); }

    /// Whether a file (not a folder) exists at the path.
    bool exists() const;

    /// Reads the whole file as UTF-8 text (see TextFormat), keeps it as text() and returns it.
    /// Raises the runtime's error 53 when the file is missing, 70 or 75 when it cannot be read.
    const std::string& readText();

private:
    std::string path_;
    std::string text_;
    TextFormat format_ = TextFormat::Unset;
};

} // namespace platform::win
