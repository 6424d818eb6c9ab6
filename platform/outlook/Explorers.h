#pragma once

#include "platform/runtime/Object.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform::outlook {

class CommandBars;
class Explorers;
class MAPIFolder;

/// A main window of the client with its folder view. It owns its command bars and raises
/// Activate and Close.
class Explorer : public runtime::Object, public std::enable_shared_from_this<Explorer>
{
public:
    Explorer();
    ~Explorer() override;
    std::string TypeName() const override { return "Explorer"; }

    std::shared_ptr<outlook::CommandBars> CommandBars();
    std::string Caption;
    /// The folder shown, or null.
    std::shared_ptr<MAPIFolder> CurrentFolder;

    int OnActivate(std::function<void()> handler);
    int OnClose(std::function<void()> handler);
    void Disconnect(int id);

    /// The window becomes active (the host raises it).
    void Activate();
    /// The window closes: raises Close, then leaves the client's Explorers.
    void Close();
    /// Whether Close ran.
    bool Closed() const { return m_closed; }

private:
    friend class Explorers;
    std::shared_ptr<outlook::CommandBars> m_commandBars;
    std::map<int, std::function<void()>> m_activateHandlers;
    std::map<int, std::function<void()>> m_closeHandlers;
    int m_nextHandler = 1;
    bool m_closed = false;
    outlook::Explorers* m_explorers = nullptr; // non-owning: the collection outlives its windows
};

/// The client's open explorer windows (1-based), raising NewExplorer for each new one.
class Explorers : public runtime::Object
{
public:
    std::string TypeName() const override { return "Explorers"; }
    int Count() const { return static_cast<int>(m_items.size()); }
    /// Error 9 outside 1..Count.
    std::shared_ptr<Explorer> Item(int index) const;
    const std::vector<std::shared_ptr<Explorer>>& All() const { return m_items; }

    /// Opens a new explorer window and raises NewExplorer with it.
    std::shared_ptr<Explorer> Add();
    int OnNewExplorer(std::function<void(const std::shared_ptr<Explorer>&)> handler);
    void DisconnectNewExplorer(int id);

private:
    friend class Explorer;
    void Closed(Explorer& explorer);
    std::vector<std::shared_ptr<Explorer>> m_items;
    std::map<int, std::function<void(const std::shared_ptr<Explorer>&)>> m_newHandlers;
    int m_nextHandler = 1;
};

} // namespace platform::outlook
