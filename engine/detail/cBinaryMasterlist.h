#pragma once

#include "engine/detail/cRegistryMasterlist.h"

namespace engine::detail {

/// The list as a binary value (client versions 10 and 11): UTF-16LE text followed by a
/// terminator of two zero bytes.
class cBinaryMasterlist : public cRegistryMasterlist
{
public:
    /// A value that ends with the terminator loses it (a value of the terminator alone reads
    /// as an empty list); a value without one is read whole.
    std::string ReadCategories() override;
    /// An empty text stores an empty value in place of the list.
    void WriteCategories(std::string& sList) override;
    /// The stored bytes, terminator included, as lower-case hex pairs joined by ","; empty
    /// for an empty text.
    std::string Convert(std::string& List) override;
    std::string Format() override { return "hex"; }

protected:
    /// sModule: the class name for error sources.
    cBinaryMasterlist(std::string sVersion, std::string sModule);

private:
    std::string m_sModule;
};

} // namespace engine::detail
