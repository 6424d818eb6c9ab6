#include "platform/runtime/TextBuffer.h"

#include "platform/runtime/HugeBlocks.h"

#include <algorithm>

namespace platform::runtime {
namespace {

// Every block is one huge page.
constexpr std::size_t kBlockSize = kHugeBlockSize;

char* NewBlock()
{
    return static_cast<char*>(NewHugeBlock(kBlockSize));
}

} // namespace

void TextBuffer::FreeBlock::operator()(char* block) const noexcept
{
    FreeHugeBlock(block, kBlockSize);
}

void TextBuffer::AppendToNewBlocks(std::string_view text)
{
    while (!text.empty()) {
        if (room_ == 0) {
            blocks_.emplace_back(NewBlock());
            end_ = blocks_.back().get();
            room_ = kBlockSize;
        }
        const std::size_t taken = std::min(room_, text.size());
        std::memcpy(end_, text.data(), taken);
        end_ += taken;
        room_ -= taken;
        text.remove_prefix(taken);
    }
}

void TextBuffer::Clear()
{
    blocks_.clear();
    end_ = nullptr;
    room_ = 0;
}

std::vector<std::string_view> TextBuffer::Pieces() const
{
    std::vector<std::string_view> pieces;
    pieces.reserve(blocks_.size());
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        const bool last = i + 1 == blocks_.size();
        pieces.emplace_back(blocks_[i].get(), last ? kBlockSize - room_ : kBlockSize);
    }
    return pieces;
}

} // namespace platform::runtime
