#pragma once

#include "platform/runtime/Object.h"

#include <map>

namespace platform::outlook {

/// The client's language settings: a language id per kind (1 install, 2 user interface,
/// 3 help, 4 preferred for editing). Every kind is 1031 (German) until the host sets it.
class LanguageSettings : public runtime::Object
{
public:
    std::string TypeName() const override { return "LanguageSettings"; }

    /// The language id of a kind; throws error 5 for a kind outside 1..4.
    long LanguageID(long kind) const;
    /// Sets the language id of a kind (the host's setting).
    void SetLanguageID(long kind, long languageId);

private:
    std::map<long, long> m_ids;
};

} // namespace platform::outlook
