#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <string>

namespace platform::outlook {

class CommandBars;
class ItemBase;

/// An item window of the client: it shows one item and owns its own command bars, whose
/// Parent it is, so that code given a bar's owner can tell an item window from an explorer.
/// The host opens one per displayed item; a test makes one directly.
class Inspector : public runtime::Object
{
public:
    /// A window over `item` (may be null); `wordMail` says whether it edits mail with the
    /// word processor.
    explicit Inspector(std::shared_ptr<ItemBase> item = nullptr, bool wordMail = false);
    ~Inspector() override;
    std::string TypeName() const override { return "Inspector"; }

    /// The window's command bars (made on first use), with this window as their Parent.
    std::shared_ptr<outlook::CommandBars> CommandBars();
    /// The item the window shows, or null.
    const std::shared_ptr<ItemBase>& CurrentItem() const { return m_item; }
    /// Whether the window edits a mail with the word processor.
    bool IsWordMail() const { return m_wordMail; }
    std::string Caption;

private:
    std::shared_ptr<ItemBase> m_item;
    bool m_wordMail;
    std::shared_ptr<outlook::CommandBars> m_commandBars;
};

} // namespace platform::outlook
