#pragma once

#include <string>

namespace views {

/// Settings of an object as one string and back. The implementing classes define the layout.
class ISerializeString
{
public:
    virtual ~ISerializeString() = default;
    /// Sets the object's settings from a string made by its own `ToString`.
    virtual void ToObject(std::string& sData) = 0;
    /// The object's settings as one string.
    virtual std::string ToString() const = 0;
};

} // namespace views
