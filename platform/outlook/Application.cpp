#include "platform/outlook/Application.h"
#include "platform/outlook/Explorers.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/MasterCategoryList.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Session.h"
#include "platform/outlook/COMAddIn.h"
#include "platform/outlook/COMAddIns.h"
#include "platform/outlook/ItemBase.h"
#include "platform/outlook/LanguageSettings.h"
#include "platform/outlook/NameSpace.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"

#include <vector>

namespace platform::outlook {

Application::Application(std::string version) : m_version(std::move(version))
{
    // A client before version 12 keeps its category list in the registry: without one the
    // category dialog would offer nothing. A registry that cannot be written is no reason
    // for the client not to start.
    runtime::ResumeNext ignore;
    ignore([&] { mapi::KeepMasterListForClient(m_version); });
}

Application::~Application() = default;

std::shared_ptr<NameSpace> Application::GetNamespace(const std::string& type)
{
    if (!runtime::TextEquals(type, "MAPI"))
        runtime::Raise(runtime::errors::InvalidProcedureCall, "Application.GetNamespace",
                       "The only namespace is \"MAPI\".");
    if (!m_namespace)
        m_namespace = std::make_shared<NameSpace>();
    return m_namespace;
}

std::shared_ptr<ItemBase> Application::CreateItem(long itemType)
{
    long folderType = 0;
    switch (itemType) {
    case mapi::olMailItem:
        folderType = mapi::olFolderDrafts;
        break;
    case mapi::olAppointmentItem:
        folderType = mapi::olFolderCalendar;
        break;
    case mapi::olTaskItem:
        folderType = mapi::olFolderTasks;
        break;
    case mapi::olJournalItem:
        folderType = mapi::olFolderJournal;
        break;
    default:
        runtime::Raise(runtime::errors::InvalidProcedureCall, "Application.CreateItem",
                       "Items of type " + std::to_string(itemType) + " cannot be created.");
    }
    auto folder = Session()->Session()->GetDefaultFolder(folderType);
    auto message = folder->GetItems()->Add(static_cast<std::int32_t>(itemType));
    if (itemType == mapi::olMailItem)
        message->SetBodyFormat(m_newMailBodyFormat);
    return WrapItem(std::move(message));
}

std::shared_ptr<outlook::LanguageSettings> Application::LanguageSettings()
{
    if (!m_languageSettings)
        m_languageSettings = std::make_shared<outlook::LanguageSettings>();
    return m_languageSettings;
}

std::shared_ptr<outlook::COMAddIns> Application::COMAddIns()
{
    if (!m_addIns)
        m_addIns = std::make_shared<outlook::COMAddIns>();
    return m_addIns;
}

int Application::OnQuit(std::function<void()> handler)
{
    const int id = m_nextHandler++;
    m_quitHandlers.emplace(id, std::move(handler));
    return id;
}

void Application::DisconnectQuit(int id)
{
    m_quitHandlers.erase(id);
}

void Application::Quit()
{
    // Handlers may disconnect themselves or others while the event runs: walk the ids
    // taken now and skip those gone since.
    std::vector<int> ids;
    for (const auto& [id, handler] : m_quitHandlers)
        ids.push_back(id);
    for (int id : ids) {
        auto it = m_quitHandlers.find(id);
        if (it == m_quitHandlers.end())
            continue;
        auto handler = it->second;
        handler();
    }
}

long LanguageSettings::LanguageID(long kind) const
{
    if (kind < 1 || kind > 4)
        runtime::Raise(runtime::errors::InvalidProcedureCall, "LanguageSettings.LanguageID");
    auto it = m_ids.find(kind);
    return it == m_ids.end() ? 1031 : it->second;
}

void LanguageSettings::SetLanguageID(long kind, long languageId)
{
    if (kind < 1 || kind > 4)
        runtime::Raise(runtime::errors::InvalidProcedureCall, "LanguageSettings.LanguageID");
    m_ids[kind] = languageId;
}

std::shared_ptr<COMAddIn> COMAddIns::Item(long index) const
{
    if (index < 1 || index > Count())
        runtime::Raise(runtime::errors::SubscriptOutOfRange, "COMAddIns.Item");
    return m_items[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<COMAddIn> COMAddIns::Add(const std::string& progId, const std::string& description,
                                         bool connected)
{
    auto addIn = std::make_shared<COMAddIn>(progId, description, connected);
    m_items.push_back(addIn);
    return addIn;
}

std::shared_ptr<outlook::Explorers> Application::Explorers()
{
    if (!m_explorers)
        m_explorers = std::make_shared<outlook::Explorers>();
    return m_explorers;
}

} // namespace platform::outlook
