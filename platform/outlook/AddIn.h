#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <memory>
#include <string>

namespace platform::outlook {

class Application;

/// The ribbon as the add-in sees it after onLoad.
class IRibbonUI : public runtime::Object
{
public:
    std::string TypeName() const override { return "IRibbonUI"; }
    /// Asks the host to query every callback again.
    virtual void Invalidate() {}
};

/// The ribbon control a callback is for.
class IRibbonControl : public runtime::Object
{
public:
    explicit IRibbonControl(std::string id) : m_id(std::move(id)) {}
    std::string TypeName() const override { return "IRibbonControl"; }
    const std::string& Id() const { return m_id; }

private:
    std::string m_id;
};

/// The connection interface every add-in offers its host. Disconnect modes: 0 the host shuts
/// down, 1 the user switched the add-in off.
class IDTExtensibility2
{
public:
    virtual ~IDTExtensibility2() = default;
    virtual void OnConnection(const std::shared_ptr<Application>& Application, int ConnectMode,
                              const runtime::Variant& AddInInst, runtime::Variant& custom) = 0;
    virtual void OnDisconnection(int RemoveMode, runtime::Variant& custom) = 0;
    virtual void OnAddInsUpdate(runtime::Variant& custom) = 0;
    virtual void OnStartupComplete(runtime::Variant& custom) = 0;
    virtual void OnBeginShutdown(runtime::Variant& custom) = 0;
};

/// The ribbon interface of an add-in: its custom UI XML for a ribbon id, and the callbacks the
/// XML names, which the host calls by name.
class IRibbonExtensibility
{
public:
    virtual ~IRibbonExtensibility() = default;
    virtual std::string GetCustomUI(const std::string& RibbonID) = 0;
    /// The host calls the callback named in the XML (onLoad, onAction, getImage, ...). Error
    /// 438 for a callback the add-in does not have.
    virtual runtime::Variant InvokeCallback(const std::string& sName,
                                            const std::shared_ptr<runtime::Object>& oArgument) = 0;
};

/// What an add-in library exports: one object offering both interfaces.
class IAddIn : public IDTExtensibility2, public IRibbonExtensibility
{
};

/// The name of the function an add-in library exports to make its connection object:
/// `extern "C" platform::outlook::IAddIn* TallymanCreateAddIn();` (the caller owns the result).
inline constexpr const char* kAddInFactory = "TallymanCreateAddIn";

/// The XML namespace of the custom UI schema (2006/01) that this host reads ribbon XML in.
inline constexpr const char* kCustomUINamespace = "urn:schemas-tallyman-host:customui:2006:01";

} // namespace platform::outlook
