#pragma once

#include <string>

namespace platform::runtime {

/// The base of every object a Variant can hold (the runtime's object references). Objects are
/// shared through std::shared_ptr: each reference keeps its object alive until the last goes.
class Object
{
public:
    virtual ~Object() = default;

    /// The class name the runtime's TypeName reports for this object.
    virtual std::string TypeName() const { return "Object"; }

protected:
    Object() = default;
    Object(const Object&) = default;
    Object& operator=(const Object&) = default;
};

} // namespace platform::runtime
