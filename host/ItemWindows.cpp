#include "host/ItemWindows.h"

#include "host/ItemWindow.h"

namespace host {

void ItemWindows::Open(std::shared_ptr<platform::mapi::Message> oMessage)
{
    m_vOpened.push_back(std::move(oMessage));
}

std::string ItemWindows::TakeText(int nWidth)
{
    std::string sText;
    for (const auto& oMessage : m_vOpened)
        sText += "\n" + ItemWindowText(*oMessage, nWidth);
    m_vOpened.clear();
    return sText;
}

} // namespace host
