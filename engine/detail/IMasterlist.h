#pragma once

#include <string>

namespace engine::detail {

/// The client's master category list, one implementation per client version.
class IMasterlist
{
public:
    virtual ~IMasterlist() = default;

    /// The master list as text (category names joined by ";").
    virtual std::string ReadCategories() = 0;
    /// Stores a master list.
    virtual void WriteCategories(std::string& sList) = 0;
    /// The text in the notation of the stored value.
    virtual std::string Convert(std::string& List) = 0;
    /// The name of that notation: empty for plain text, "hex" for a binary value.
    virtual std::string Format() = 0;
    /// The registry key path of the list (under the current user); empty when none.
    virtual std::string SECTION() const = 0;
    /// The registry value name of the list; empty when none.
    virtual std::string Setting() const = 0;
};

} // namespace engine::detail
