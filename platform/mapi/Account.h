#pragma once

#include "platform/runtime/Object.h"

namespace platform::mapi {

/// The account a store belongs to. The stand-in's stores are local files of a profile and
/// belong to no account (Store::StoreAccount answers no object), so no account is ever made;
/// the class exists so that callers can ask.
class Account : public runtime::Object
{
public:
    explicit Account(long accountType) : m_accountType(accountType) {}
    std::string TypeName() const override { return "Account"; }

    /// The account's type code.
    long AccountType() const { return m_accountType; }

private:
    long m_accountType;
};

} // namespace platform::mapi
