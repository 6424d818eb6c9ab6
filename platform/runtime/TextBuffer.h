#pragma once

#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace platform::runtime {

/// A large text (a report file of many megabytes) built by appending, kept in blocks of
/// 2 MiB: appending never moves what the buffer holds, and each block asks the system for
/// huge pages where it offers them, so that filling it costs a few page faults rather than
/// one per 4 KiB. The text is read back (and written to a file) as the list of its blocks.
class TextBuffer
{
public:
    /// Appends a text. Throws std::bad_alloc when memory runs out.
    void Append(std::string_view text)
    {
        if (text.empty()) {
            return;
        }
        if (text.size() <= room_) {
            // The common case, kept inline: a cell or a tag into the current block.
            std::memcpy(end_, text.data(), text.size());
            end_ += text.size();
            room_ -= text.size();
            return;
        }
        AppendToNewBlocks(text);
    }
    /// Forgets the text and gives its memory back.
    void Clear();
    /// The text as its blocks, in order; valid until the next Append or Clear.
    std::vector<std::string_view> Pieces() const;

private:
    void AppendToNewBlocks(std::string_view text);

    struct FreeBlock
    {
        void operator()(char* block) const noexcept;
    };
    std::vector<std::unique_ptr<char[], FreeBlock>> blocks_;
    char* end_ = nullptr;  // the next free byte of the last block
    std::size_t room_ = 0; // free bytes in the last block
};

} // namespace platform::runtime
