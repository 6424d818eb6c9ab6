#include "dialogs/ActionPickers.h"

#include "actions/ActionPrint.h"
#include "actions/ActionSave.h"
#include "actions/ActionSend.h"
#include "platform/runtime/Error.h"

namespace dialogs {

namespace rt = platform::runtime;

namespace {

// The pickers live with the actions they fill; an action that does not offer one yet makes
// its button say so instead of doing nothing.
template <class T>
concept HasPickPath = requires(T& o)
{
    o.PickPath();
};
template <class T>
concept HasPickTemplate = requires(T& o)
{
    o.PickTemplate();
};
template <class T>
concept HasPickMailTemplate = requires(T& o)
{
    o.PickMailTemplateFromFile();
};
template <class T>
concept HasPickPrinter = requires(T& o)
{
    o.PickPrinterSettings();
};

[[noreturn]] void NotSupported(const char* pWhat)
{
    rt::Raise(rt::errors::ActionNotSupported, "ActionPickers",
              std::string(pWhat) + " is not supported by this build.");
}

template <class T> void CallPickPath(T& o)
{
    if constexpr (HasPickPath<T>)
        o.PickPath();
    else
        NotSupported("Choosing the folder");
}

template <class T> void CallPickTemplate(T& o)
{
    if constexpr (HasPickTemplate<T>)
        o.PickTemplate();
    else
        NotSupported("Choosing the report template");
}

template <class T> void CallPickMailTemplate(T& o)
{
    if constexpr (HasPickMailTemplate<T>)
        o.PickMailTemplateFromFile();
    else
        NotSupported("Choosing the mail template");
}

template <class T> void CallPickPrinter(T& o)
{
    if constexpr (HasPickPrinter<T>)
        o.PickPrinterSettings();
    else
        NotSupported("Choosing the printer");
}

} // namespace

ActionPickers ActionPickers::OfActions()
{
    return {
        [](actions::ActionSave& o) { CallPickPath(o); },
        [](actions::ActionSave& o) { CallPickTemplate(o); },
        [](actions::ActionSend& o) { CallPickMailTemplate(o); },
        [](actions::ActionPrint& o) { CallPickPrinter(o); },
    };
}

} // namespace dialogs
